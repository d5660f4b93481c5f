#include "ruleforms.h"

#include "ruletext.h"
#include "rulewords.h"
#include "textutil.h"
#include "wording.h"

#include <algorithm>
#include <numeric>

using namespace RuleWords;

namespace {

QString yn(bool b)
{
    return b ? Yes : No;
}

// Blank as the rules see it: empty or only space, CR, LF and backspace.
bool blank(const QString &text)
{
    return isBlank(text);
}

// Leading and trailing blanks (space, CR, LF, backspace) removed; a tab is kept, as it is
// not blank to the evaluation either.
QString trimBlanks(const QString &text)
{
    auto isB = [](QChar c) { return c == u' ' || c == u'\r' || c == u'\n' || c == QChar(8); };
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isB(text.at(b)))
        ++b;
    while (e > b && isB(text.at(e - 1)))
        --e;
    return text.mid(b, e - b);
}

void setHitsIfEmpty(RuleTable &table, int row)
{
    if (table.Cells(table.HitColumn(), row).isEmpty())
        table.SetCells(table.HitColumn(), row, QStringLiteral("0"));
}

bool isRule(const RuleTable &table, int row)
{
    return row >= 1 && row < table.RowCount();
}

bool is(const QString &cell, const QString &word)
{
    return AsciiEqualsIgnoreCase(cell, word);
}

// The mailbox number after " - MailBox #": 1 ... 12, else 0.
int mailboxNumber(const QString &text)
{
    bool ok = false;
    const int n = TrimControls(text).toInt(&ok);
    return ok && n >= 1 && n <= 12 ? n : 0;
}

} // namespace

const QList<TOperatorItem> &TextOperators()
{
    static const QList<TOperatorItem> list{
        {Contains, Contains},
        {ContainsWholeWord, ContainsWholeWord},
        {QStringLiteral("Equals (exact match)"), EqualsOp},
        {StartsWith, StartsWith},
        {EndsWith, EndsWith},
    };
    return list;
}

const QList<TOperatorItem> &SubjectOperators()
{
    static const QList<TOperatorItem> list = TextOperators() + QList<TOperatorItem>{
        {QStringLiteral("Is blank or empty"), IsBlank},
        {QStringLiteral("Is all UPPERCASE"), IsUppercase},
    };
    return list;
}

const QList<TOperatorItem> &SenderOperators()
{
    static const QList<TOperatorItem> list = SubjectOperators() + QList<TOperatorItem>{
        {QStringLiteral("Is ALL numeric"), AllNumeric},
        {QStringLiteral("Is at least 1/2 numeric"), HalfNumeric},
        {QStringLiteral("Starts with a number"), FirstCharNumeric},
    };
    return list;
}

QString OperatorWord(const QList<TOperatorItem> &list, const QString &item)
{
    for (const TOperatorItem &o : list)
        if (o.item == item)
            return o.word;
    return item;
}

QString OperatorItem(const QList<TOperatorItem> &list, const QString &word)
{
    for (const TOperatorItem &o : list)
        if (o.word == word)
            return o.item;
    return list.first().item;
}

bool TakesText(const QString &word)
{
    return word == Contains || word == ContainsWholeWord || word == EqualsOp || word == StartsWith
        || word == EndsWith;
}

const QStringList &SubjectSuggestions()
{
    static const QStringList list{
        "!!", "$$", "==", "adult site", "adults only", "advertise", "advertising", "bulk", "buy",
        "call 800", "dollar", "exciting", "extra income", "for only", "free", "guaranteed",
        "help wanted", "huge", "income", "incredible deal", "lottery", "make money", "market",
        "million", "MLM", "mlm", "naked", "nude", "offer", "opportunity", "please read", "profit",
        "read this", "rich", "save $", "secret", "sex", "spam", "specials", "weight", "win $",
        "women", "work at home", "XXX"};
    return list;
}

const QStringList &SenderSuggestions()
{
    static const QStringList list{
        "bigbucks", "bulkemail", "business", "cableguys", "canceranswer", "careers", "cash",
        "casino", "clubmail", "credaid", "credaide", "credit", "directmail", "dontreply", "energy",
        "erotic", "floodgate", "fortune", "freedom", "freesoftware", "friend", "friends", "global",
        "golf", "gorgeousgirls", "health", "help", "helpcrdt", "homebiz", "hotbabe69", "important",
        "info", "internet", "market", "nobody", "opportunity", "platinum", "politics", "profit",
        "promotion", "psychic", "remove", "sales", "scoop", "selective.marketing", "sender", "sexy",
        "stop", "stopnow", "success", "video", "virtual", "wealth", "xxx"};
    return list;
}

const QStringList &HeaderSuggestions()
{
    static const QStringList list{
        "X-1", "X-Advertisement", "X-Authentication-Warning", "X-BulkEmail", "X-Distribution: Bulk",
        "X-Distribution: Mass", "X-Distribution: Moderate", "X-Mailer: Emailer Platinum",
        "X-Mailer: Extractor", "X-Mailer: eMarksman", "X-Mailer: Floodgate", "X-Mailer: Group Mail",
        "X-Mailer: Millennium Mailer", "X-Removal", "X-Sender: News Breaker"};
    return list;
}

const QStringList &ExceptionHeaders()
{
    static const QStringList list{"Subject:", "CC:", "Reply-To:", "To:", "Any Header"};
    return list;
}

// Refuses a blank rule text with the dialog's message, else trims it in place.
static QString requireText(QString &text, const QString &refusal)
{
    if (blank(text))
        return refusal;
    text = trimBlanks(text);
    return QString();
}

// --- subject rules ---

QString CheckSubjectForm(TSubjectRuleForm &form)
{
    if (!TakesText(form.op))
        return QString();
    return requireText(form.text, Said("Rules", "The subject text cannot be blank."));
}

TSubjectRuleForm ReadSubjectRule(const RuleTable &table, int row)
{
    TSubjectRuleForm form;
    form.op = table.Cells(SubjectCol::Operator, row);
    form.text = table.Cells(SubjectCol::Text, row);
    form.caseMatters = table.Cells(SubjectCol::Case, row) == Yes;
    form.del = table.Cells(SubjectCol::Del, row) == Yes;
    return form;
}

void WriteSubjectRule(RuleTable &table, int row, const TSubjectRuleForm &form)
{
    if (!isRule(table, row))
        return;
    const bool text = TakesText(form.op);
    table.SetCells(SubjectCol::Operator, row, form.op);
    table.SetCells(SubjectCol::Text, row, text ? form.text : QString());
    table.SetCells(SubjectCol::Case, row, text ? yn(form.caseMatters) : QString());
    table.SetCells(SubjectCol::Del, row, yn(form.del));
    table.SetPicture(row, form.del ? CheckMark : QuestionMark);
    setHitsIfEmpty(table, row);
}

// --- header rules ---

QString MailboxItemText(int n, const QString &user, const QString &server)
{
    return QStringLiteral("%1) %2 - server %3").arg(n).arg(user, server);
}

int MailboxItemNumber(const QString &item)
{
    const qsizetype end = item.indexOf(u')');
    if (end < 0)
        return 0;
    bool ok = false;
    const int n = item.left(end).toInt(&ok);
    return ok ? n : 0;
}

QString CheckHeaderForm(THeaderRuleForm &form)
{
    form.text = trimBlanks(form.text);
    // The address as typed may already carry a mailbox mark; only the part before it counts.
    const qsizetype mark = form.address.indexOf(MailBoxMark);
    form.address = trimBlanks(mark < 0 ? form.address : form.address.left(mark));
    if (form.choice == THeaderChoice::MessageHeader && form.text.isEmpty())
        return Said("Rules", "The header text cannot be blank");
    if (form.choice == THeaderChoice::ToLacks) {
        if (form.address.isEmpty())
            return Said("Rules", "The TO field cannot be blank");
        if (form.mailbox < 1 || form.mailbox > 12)
            return Said("Rules", "Choose the mailbox this rule is for.");
    }
    return QString();
}

THeaderRuleForm ReadHeaderRule(const RuleTable &table, int row)
{
    THeaderRuleForm form;
    const QString what = table.Cells(HeaderCol::What, row);
    const QString value = table.Cells(HeaderCol::Text, row);
    form.op = what;
    form.text = value;
    form.caseMatters = table.Cells(HeaderCol::Case, row) == Yes;
    form.del = table.Cells(HeaderCol::Del, row) == Yes;
    if (is(what, ToDoesNotContain)) {
        form.choice = THeaderChoice::ToLacks;
        const qsizetype mark = value.indexOf(MailBoxMark);
        form.address = mark < 0 ? value : value.left(mark);
        form.mailbox = mark < 0 ? 0 : mailboxNumber(value.mid(mark + MailBoxMark.size()));
    } else if (is(what, Sender)) {
        form.choice = is(value, DoesNotMatchReplyTo) ? THeaderChoice::ReplyToMismatch
                                                     : THeaderChoice::SenderEqualsTo;
    }
    if (form.choice != THeaderChoice::MessageHeader) {
        form.op = Contains;
        form.text.clear();
    }
    return form;
}

void WriteHeaderRule(RuleTable &table, int row, const THeaderRuleForm &form)
{
    if (!isRule(table, row))
        return;
    QString what = form.op;
    QString value = form.text;
    QString caseText = yn(form.caseMatters);
    switch (form.choice) {
    case THeaderChoice::MessageHeader:
        break;
    case THeaderChoice::ReplyToMismatch:
        what = Sender;
        value = DoesNotMatchReplyTo;
        caseText = No;
        break;
    case THeaderChoice::SenderEqualsTo:
        what = Sender;
        value = EqualsToField;
        caseText = No;
        break;
    case THeaderChoice::ToLacks: {
        const qsizetype mark = form.address.indexOf(MailBoxMark);
        const QString address = trimBlanks(mark < 0 ? form.address : form.address.left(mark));
        what = ToDoesNotContain;
        value = address + MailBoxMark + QString::number(form.mailbox);
        caseText = No;
        break;
    }
    }
    table.SetCells(HeaderCol::What, row, what);
    table.SetCells(HeaderCol::Text, row, value);
    table.SetCells(HeaderCol::Case, row, caseText);
    table.SetCells(HeaderCol::Del, row, yn(form.del));
    table.SetPicture(row, form.del ? CheckMark : QuestionMark);
    setHitsIfEmpty(table, row);
}

// --- sender rules ---

QString CheckSenderForm(TSenderRuleForm &form)
{
    if (!TakesText(form.op)) {
        form.text.clear();
        return QString();
    }
    return requireText(form.text, Said("Rules", "The Sender field cannot be left blank."));
}

TSenderRuleForm ReadSenderRule(const RuleTable &table, int row)
{
    TSenderRuleForm form;
    form.domain = !is(table.Cells(SenderCol::What, row), EmailAddress);
    form.op = table.Cells(SenderCol::Operator, row);
    form.text = table.Cells(SenderCol::Text, row);
    form.del = table.Cells(SenderCol::Del, row) == Yes;
    return form;
}

void WriteSenderRule(RuleTable &table, int row, const TSenderRuleForm &form)
{
    if (!isRule(table, row))
        return;
    table.SetCells(SenderCol::What, row, form.domain ? DomainName : EmailAddress);
    table.SetCells(SenderCol::Operator, row, form.op);
    table.SetCells(SenderCol::Text, row, TakesText(form.op) ? form.text : QString());
    table.SetCells(SenderCol::Del, row, yn(form.del));
    table.SetPicture(row, form.del ? CheckMark : QuestionMark);
    setHitsIfEmpty(table, row);
}

// --- exceptions ---

QString CheckExceptForm(const TExceptRuleForm &form)
{
    // A blank value would accept far more than the user meant: every sender for an address
    // or a domain, every message for "Starts with".
    switch (form.choice) {
    case TExceptChoice::Address:
        return blank(form.address) ? Said("Rules", "The email line cannot be blank") : Said(QString());
    case TExceptChoice::Domain:
        return blank(form.domain) ? Said("Rules", "The domain line cannot be blank") : Said(QString());
    case TExceptChoice::Header:
        return blank(form.text) ? Said("Rules", "The subject line cannot be blank") : Said(QString());
    }
    return QString();
}

TExceptRuleForm ReadExceptRule(const RuleTable &table, int row)
{
    TExceptRuleForm form;
    form.what = table.Cells(ExceptCol::What, row);
    const QString value = table.Cells(ExceptCol::Text, row);
    if (is(form.what, DomainName)) {
        form.choice = TExceptChoice::Domain;
        form.domain = value;
    } else if (is(form.what, EmailAddress)) {
        form.choice = TExceptChoice::Address;
        form.address = value;
    } else {
        form.choice = TExceptChoice::Header;
        form.text = value;
        form.header = is(form.what, Subject) ? QStringLiteral("Subject:") : form.what;
        if (!ExceptionHeaders().contains(form.header))
            form.header = ExceptionHeaders().first();
    }
    form.op = table.Cells(ExceptCol::Operator, row);
    form.caseMatters = table.Cells(ExceptCol::Case, row) == Yes;
    form.picture = ExceptionPicture(table.Cells(ExceptCol::PictureIndex, row));
    return form;
}

void WriteExceptRule(RuleTable &table, int row, const TExceptRuleForm &form)
{
    if (!isRule(table, row))
        return;
    QString what;
    QString value;
    switch (form.choice) {
    case TExceptChoice::Address:
        what = EmailAddress;
        value = form.address;
        break;
    case TExceptChoice::Domain:
        what = DomainName;
        value = form.domain;
        break;
    case TExceptChoice::Header:
        what = form.header;
        value = form.text;
        break;
    }
    const int picture = ExceptionPicture(QString::number(form.picture));
    table.SetCells(ExceptCol::What, row, what);
    table.SetCells(ExceptCol::Operator, row, form.choice == TExceptChoice::Header ? form.op : EqualsOp);
    table.SetCells(ExceptCol::Text, row, value);
    table.SetCells(ExceptCol::Case, row, yn(form.caseMatters));
    setHitsIfEmpty(table, row);
    table.SetCells(ExceptCol::PictureIndex, row, QString::number(picture));
    table.SetPicture(row, picture);
}

// --- list operations ---

int InsertRuleRow(RuleTable &table, int selectedRow)
{
    if (table.IsEmptyList())
        return 1;
    if (!isRule(table, selectedRow))
        return table.AppendRule();
    table.InsertRow(selectedRow);
    return selectedRow;
}

void DeleteRule(RuleTable &table, int row)
{
    if (!isRule(table, row))
        return;
    if (table.RowCount() == 2) {
        table.ClearRules();
        return;
    }
    table.DeleteRow(row);
}

void SwapRules(RuleTable &table, int a, int b)
{
    if (!isRule(table, a) || !isRule(table, b) || a == b)
        return;
    for (int col = 0; col < table.ColCount(); ++col) {
        const QString ta = table.Cells(col, a);
        table.SetCells(col, a, table.Cells(col, b));
        table.SetCells(col, b, ta);
    }
    const int pa = table.Picture(a);
    table.SetPicture(a, table.Picture(b));
    table.SetPicture(b, pa);
}

void SortRules(RuleTable &table, int col, Qt::SortOrder order)
{
    if (col < 0 || col >= table.ColCount())
        return;
    struct Row
    {
        QStringList cells;
        int picture;
    };
    QList<Row> rules;
    QList<Row> blanks;
    for (int row = 1; row < table.RowCount(); ++row) {
        Row r{{}, table.Picture(row)};
        for (int c = 0; c < table.ColCount(); ++c)
            r.cells << table.Cells(c, row);
        (table.IsRowBlank(row) ? blanks : rules).append(r);
    }
    const bool numeric = col == table.HitColumn();
    auto less = [&](const Row &x, const Row &y) {
        if (numeric) {
            // Text that is no number sorts as 0, as the evaluation counts it.
            const qulonglong a = x.cells.at(col).toULongLong();
            const qulonglong b = y.cells.at(col).toULongLong();
            return order == Qt::AscendingOrder ? a < b : b < a;
        }
        const int c = x.cells.at(col).compare(y.cells.at(col), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    };
    std::stable_sort(rules.begin(), rules.end(), less);
    const QList<Row> all = rules + blanks;
    for (int i = 0; i < all.size(); ++i) {
        for (int c = 0; c < table.ColCount(); ++c)
            table.SetCells(c, i + 1, all.at(i).cells.at(c));
        table.SetPicture(i + 1, all.at(i).picture);
    }
}

QList<int> EditableColumns(RuleTable::Kind kind)
{
    switch (kind) {
    case RuleTable::Kind::Subject: return {SubjectCol::Text, SubjectCol::Hits};
    case RuleTable::Kind::Header: return {HeaderCol::Hits};
    case RuleTable::Kind::From: return {SenderCol::Text, SenderCol::Hits};
    case RuleTable::Kind::Except: return {ExceptCol::Text, ExceptCol::Hits};
    }
    return {};
}

QList<int> SortableColumns(RuleTable::Kind kind)
{
    switch (kind) {
    case RuleTable::Kind::Subject: return {SubjectCol::Text, SubjectCol::Hits};
    case RuleTable::Kind::Header: return {HeaderCol::Text, HeaderCol::Hits};
    case RuleTable::Kind::From: return {SenderCol::Text, SenderCol::Hits};
    case RuleTable::Kind::Except: return {ExceptCol::What, ExceptCol::Text, ExceptCol::Hits};
    }
    return {};
}

QString CheckCellEdit(const RuleTable &table, int col, int row, const QString &text)
{
    if (!isRule(table, row) || !EditableColumns(table.kind()).contains(col))
        return Said("Rules", "This cell cannot be changed here.");
    if (col == table.HitColumn()) {
        bool ok = false;
        const bool digits = !text.isEmpty()
            && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        const int n = digits ? text.toInt(&ok) : -1;
        if (!digits || !ok || n < 0)
            return Said("Rules", "The hit count must be a whole number written with digits only, such as 0 or 17.");
        return QString();
    }
    // The operator of the rule whose value this is.
    QString op;
    switch (table.kind()) {
    case RuleTable::Kind::Subject: op = table.Cells(SubjectCol::Operator, row); break;
    case RuleTable::Kind::From: op = table.Cells(SenderCol::Operator, row); break;
    case RuleTable::Kind::Except: op = EqualsOp; break; // address and domain compare too
    case RuleTable::Kind::Header: op = table.Cells(HeaderCol::What, row); break;
    }
    if (TakesText(op) && blank(text))
        return Said("Rules", "The text to match cannot be blank: an empty \"%1\" rule would match "
                              "far more messages than intended.").arg(op);
    return QString();
}
