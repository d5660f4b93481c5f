#include "evaluator.h"

#include "address.h"
#include "ruleforms.h"
#include "ruletext.h"
#include "rulewords.h"
#include "textutil.h"
#include "wording.h"

#include <limits>

using namespace RuleWords;

namespace {

bool is(const QString &cell, const QString &word)
{
    return AsciiEqualsIgnoreCase(cell, word);
}

// Plain substring test ignoring ASCII case, where an empty part is contained in anything.
bool containsPart(const QString &text, const QString &part)
{
    return part.isEmpty() || containsText(text, part, false);
}

// Reads the header lines of a row only when a rule needs them.
class LazyHeaders
{
public:
    LazyHeaders(const TMessageRows &rows, int row) : m_rows(rows), m_row(row) {}
    const TmsHeaders &get()
    {
        if (!m_loaded) {
            m_headers = m_rows.Headers(m_row);
            m_loaded = true;
        }
        return m_headers;
    }
    // The same lines with ASCII case folded, for rules that ignore case.
    const QStringList &folded()
    {
        if (!m_foldedLoaded) {
            const TmsHeaders &lines = get();
            m_folded.reserve(lines.size());
            for (const QString &line : lines)
                m_folded.append(foldAsciiCase(line));
            m_foldedLoaded = true;
        }
        return m_folded;
    }

private:
    const TMessageRows &m_rows;
    int m_row;
    bool m_loaded = false;
    bool m_foldedLoaded = false;
    TmsHeaders m_headers;
    QStringList m_folded;
};

// A text test of a rule: against the text as it is when case counts, else against folded
// text with the value folded once when the rule was read.
inline bool matchRuleText(TextOp op, const QString &text, const QString &folded,
                          const QString &value, const QString &foldedValue, bool caseSensitive)
{
    return caseSensitive ? matchTextOp(op, text, value, true)
                         : matchTextOp(op, folded, foldedValue, true);
}

QString BlacklistText(const QString &entry)
{
    return Said("Rules", "\"%1\" is on the KNOWN SPAMMER BLACKLIST (you may edit if this is in error)").arg(entry);
}

enum class ExceptKind { Domain, Email, Subject, AnyHeader, Field };
enum class PredicateOp { Text, IsBlank, IsUppercase, AllNumeric, HalfNumeric, FirstCharNumeric };
enum class HeaderKind { ToDoesNotContain, SenderReplyTo, SenderTo, Text };

struct ExceptRule
{
    int row;
    int picture;
    ExceptKind kind;
    TextOp textOp;
    QString what, op, value, foldedValue;
    bool caseSensitive;
};

struct SubjectRule
{
    int row;
    PredicateOp kind;
    TextOp textOp;
    QString op, value, foldedValue;
    bool caseSensitive, rowDel;
};

struct SenderRule
{
    int row;
    bool isDomain;
    PredicateOp kind;
    TextOp textOp;
    QString condition, value, foldedValue;
    bool rowDel;
};

struct HeaderRule
{
    int row;
    HeaderKind kind;
    TextOp textOp;
    QString what, value, foldedValue;
    // "To does not contain": the address and mailbox number taken from the value.
    QString address;
    int mailbox;
    bool caseSensitive, rowDel;
};

} // namespace

// Rows that can never match (an operator no family knows, a damaged "To does not contain"
// value) are left out; every other row keeps its place and its row number for the hit count.
struct TPreparedRules
{
    QList<ExceptRule> except;
    QList<SubjectRule> subject;
    QList<SenderRule> sender;
    QList<HeaderRule> header;
};

namespace {

PredicateOp parsePredicate(const QString &op, bool &known)
{
    known = true;
    if (is(op, IsBlank))
        return PredicateOp::IsBlank;
    if (is(op, IsUppercase))
        return PredicateOp::IsUppercase;
    if (is(op, AllNumeric))
        return PredicateOp::AllNumeric;
    if (is(op, HalfNumeric))
        return PredicateOp::HalfNumeric;
    if (is(op, FirstCharNumeric))
        return PredicateOp::FirstCharNumeric;
    known = false;
    return PredicateOp::Text;
}

bool matchPredicate(PredicateOp op, const QString &text)
{
    switch (op) {
    case PredicateOp::IsBlank: return isBlank(text);
    case PredicateOp::IsUppercase: return isUpperCaseText(text);
    case PredicateOp::AllNumeric: return isAllNumeric(text);
    case PredicateOp::HalfNumeric: return isHalfNumeric(text);
    case PredicateOp::FirstCharNumeric: return isFirstCharNumeric(text);
    case PredicateOp::Text: break;
    }
    return false;
}

// Each list is read row by row through the row readers the rule dialogs use, so a row
// means the same to the evaluation as to the editor.
void prepareExceptions(const RuleTable &grid, QList<ExceptRule> &out)
{
    for (int row = 1; row < grid.RowCount(); ++row) {
        const TExceptRuleForm form = ReadExceptRule(grid, row);
        if (form.what.isEmpty())
            continue;
        ExceptRule rule;
        rule.row = row;
        rule.picture = form.picture;
        rule.op = form.op;
        rule.caseSensitive = form.caseMatters;
        rule.textOp = ParseTextOp(rule.op);
        switch (form.choice) {
        case TExceptChoice::Domain:
            rule.kind = ExceptKind::Domain;
            rule.value = form.domain;
            break;
        case TExceptChoice::Address:
            rule.kind = ExceptKind::Email;
            rule.value = form.address;
            break;
        case TExceptChoice::Header:
            rule.what = form.what;
            rule.value = form.text;
            rule.kind = is(form.what, Subject)     ? ExceptKind::Subject
                        : is(form.what, AnyHeader) ? ExceptKind::AnyHeader
                                                   : ExceptKind::Field;
            // Only the five text operators compare a header.
            if (rule.textOp == TextOp::None)
                continue;
            break;
        }
        rule.foldedValue = foldAsciiCase(rule.value);
        out.append(rule);
    }
}

void prepareSubjects(const RuleTable &grid, QList<SubjectRule> &out)
{
    for (int row = 1; row < grid.RowCount(); ++row) {
        const TSubjectRuleForm form = ReadSubjectRule(grid, row);
        if (form.op.isEmpty())
            break;
        SubjectRule rule;
        rule.row = row;
        rule.op = form.op;
        rule.textOp = ParseTextOp(rule.op);
        rule.kind = PredicateOp::Text;
        if (rule.textOp == TextOp::None) {
            if (is(rule.op, IsBlank))
                rule.kind = PredicateOp::IsBlank;
            else if (is(rule.op, IsUppercase))
                rule.kind = PredicateOp::IsUppercase;
            else
                continue;
        }
        rule.value = form.text;
        rule.foldedValue = foldAsciiCase(rule.value);
        rule.caseSensitive = form.caseMatters;
        rule.rowDel = form.del;
        out.append(rule);
    }
}

void prepareSenders(const RuleTable &grid, QList<SenderRule> &out)
{
    for (int row = 1; row < grid.RowCount(); ++row) {
        // The first row without a kind ends the list.
        if (grid.Cells(SenderCol::What, row).isEmpty())
            break;
        const TSenderRuleForm form = ReadSenderRule(grid, row);
        SenderRule rule;
        rule.row = row;
        rule.isDomain = form.domain;
        rule.condition = form.op;
        rule.textOp = ParseTextOp(rule.condition);
        rule.kind = PredicateOp::Text;
        if (rule.textOp == TextOp::None) {
            bool known = false;
            rule.kind = parsePredicate(rule.condition, known);
            if (!known)
                continue;
        }
        rule.value = form.text;
        rule.foldedValue = foldAsciiCase(rule.value);
        rule.rowDel = form.del;
        out.append(rule);
    }
}

void prepareHeaders(const RuleTable &grid, QList<HeaderRule> &out)
{
    for (int row = 1; row < grid.RowCount(); ++row) {
        const THeaderRuleForm form = ReadHeaderRule(grid, row);
        HeaderRule rule;
        rule.row = row;
        rule.caseSensitive = form.caseMatters;
        rule.rowDel = form.del;
        rule.textOp = TextOp::None;
        rule.mailbox = 0;
        switch (form.choice) {
        case THeaderChoice::ToLacks:
            // A row without a mailbox number 1 ... 12 or without an address is damaged:
            // with an empty address it would mark every message of the mailbox.
            if (form.mailbox == 0 || TrimControls(form.address).isEmpty())
                continue;
            rule.address = form.address;
            rule.mailbox = form.mailbox;
            rule.kind = HeaderKind::ToDoesNotContain;
            break;
        case THeaderChoice::ReplyToMismatch:
            rule.kind = HeaderKind::SenderReplyTo;
            break;
        case THeaderChoice::SenderEqualsTo:
            rule.kind = HeaderKind::SenderTo;
            break;
        case THeaderChoice::MessageHeader:
            // The first row without an operator ends the list.
            if (form.op.isEmpty())
                return;
            rule.what = form.op;
            rule.value = form.text;
            rule.textOp = ParseTextOp(rule.what);
            if (rule.textOp == TextOp::None)
                continue;
            rule.kind = HeaderKind::Text;
            rule.foldedValue = foldAsciiCase(rule.value);
            break;
        }
        out.append(rule);
    }
}

} // namespace

TRuleEvaluator::TRuleEvaluator(TSpamSettings &settings, const TKnownList &known, TMessageRows *rows)
    : m_settings(settings), m_known(known), m_rows(rows)
{
}

TRuleEvaluator::~TRuleEvaluator() = default;

const TPreparedRules &TRuleEvaluator::prepared()
{
    if (m_inPass && m_prepared)
        return *m_prepared;
    auto rules = std::make_unique<TPreparedRules>();
    prepareExceptions(m_settings.gridExcept, rules->except);
    prepareSubjects(m_settings.gridSubject, rules->subject);
    prepareSenders(m_settings.gridFrom, rules->sender);
    prepareHeaders(m_settings.gridHeader, rules->header);
    m_prepared = std::move(rules);
    return *m_prepared;
}

int TRuleEvaluator::raise(int mark, bool del)
{
    if (del)
        return CheckMark;
    return mark == CheckMark ? int(CheckMark) : int(QuestionMark);
}

void TRuleEvaluator::MarkForDeletion(int index)
{
    if (!m_rows)
        return;
    if (index >= 0 && index >= m_rows->MessageCount())
        return;
    // The tables are read once for the pass; the flag is cleared however the pass ends.
    prepared();
    struct PassGuard
    {
        bool &flag;
        bool before;
        explicit PassGuard(bool &f) : flag(f), before(f) { flag = true; }
        ~PassGuard() { flag = before; }
    } guard(m_inPass);
    if (index >= 0) {
        markRow(index);
        return;
    }
    for (int row = 0; row < m_rows->MessageCount(); ++row)
        markRow(row);
}

void TRuleEvaluator::markRow(int row)
{
    const QString subject = m_rows->Subject(row);
    const QString sender = m_rows->Sender(row);

    int picture = FirstExceptionPicture;
    if (qIsInException(row, subject, sender, picture)) {
        m_rows->SetMessageMark(row, picture);
        return;
    }

    int mark = m_rows->MessageMark(row);
    bool del = false;
    // A check mark settles the message; only reason mode goes on to collect every reason.
    auto settled = [&] { return !whyMode && mark == CheckMark; };

    if (tooBigSmall(m_rows->SizeText(row), del))
        mark = del ? CheckMark : QuestionMark;
    if (!settled() && qMarkThisSubject(subject, del))
        mark = raise(mark, del);
    if (!settled() && qmarkThisSender(sender, del))
        mark = raise(mark, del);
    if (!settled() && qMarkThisHeader(row, del))
        mark = raise(mark, del);
    if (!settled() && m_settings.knownOn) {
        QString kind, entry;
        if (isInKnownList(sender, kind, entry)) {
            if (mark != CheckMark)
                mark = BlacklistMark;
            whyAdd(true, kind, BlacklistText(entry), QString(), false);
        }
    }
    m_rows->SetMessageMark(row, mark);
}

bool TRuleEvaluator::qIsInException(int index, const QString &subject, const QString &sender,
                                    int &picture)
{
    RuleTable &grid = m_settings.gridExcept;
    const QList<ExceptRule> &rules = prepared().except;
    LazyHeaders headers(*m_rows, index);
    QString foldedSubject, foldedSender;
    bool subjectFolded = false, senderFolded = false;
    auto folded = [](const QString &text, QString &cache, bool &done) -> const QString & {
        if (!done) {
            cache = foldAsciiCase(text);
            done = true;
        }
        return cache;
    };
    for (const ExceptRule &rule : rules) {
        bool matched = false;

        // An address or domain rule without a value accepts every sender. Only a damaged file
        // holds one, and accepting errs on the side of never deleting good mail.
        switch (rule.kind) {
        case ExceptKind::Domain:
            matched = endsWithText(folded(sender, foldedSender, senderFolded), rule.foldedValue,
                                   true);
            if (matched)
                whyExcept(DomainName, EqualsOp, rule.value, false);
            break;
        case ExceptKind::Email:
            matched = startsWithText(folded(sender, foldedSender, senderFolded),
                                     rule.foldedValue, true);
            if (matched)
                whyExcept(EmailAddress, EqualsOp, rule.value, false);
            break;
        case ExceptKind::Subject:
            matched = rule.caseSensitive
                          ? matchTextOp(rule.textOp, subject, rule.value, true)
                          : matchTextOp(rule.textOp, folded(subject, foldedSubject, subjectFolded),
                                        rule.foldedValue, true);
            if (matched)
                whyExcept(Subject, rule.op, rule.value, rule.caseSensitive);
            break;
        case ExceptKind::AnyHeader: {
            // Every stored line, the last one too: it is a header line like the others.
            const TmsHeaders &lines = headers.get();
            const QStringList &foldedLines = rule.caseSensitive ? lines : headers.folded();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (!matchRuleText(rule.textOp, lines.at(i), foldedLines.at(i), rule.value,
                                   rule.foldedValue, rule.caseSensitive))
                    continue;
                matched = true;
                whyExcept(AnyHeader + u' ' + lines.at(i), rule.op, rule.value, rule.caseSensitive);
                if (!whyMode)
                    break;
            }
            break;
        }
        case ExceptKind::Field: {
            const QString field = GetFieldValue(headers.get(), rule.what);
            matched = matchTextOp(rule.textOp, field, rule.value, rule.caseSensitive);
            if (matched)
                whyExcept(rule.what + u' ' + field, rule.op, rule.value, rule.caseSensitive);
            break;
        }
        }

        if (matched) {
            picture = rule.picture;
            BumpUpGrid(grid, rule.row);
            return true;
        }
    }
    return false;
}

bool TRuleEvaluator::tooBigSmall(const QString &sizeText, bool &del)
{
    bool ok = false;
    qlonglong size = sizeText.toLongLong(&ok);
    if (!ok)
        size = -1;
    if (size < 0)
        return false;
    const TSizeRule &smaller = m_settings.smaller;
    const TSizeRule &larger = m_settings.larger;
    if (smaller.on && size < smaller.limit) {
        del = smaller.check;
        whyAdd(del, QStringLiteral("Size"), QStringLiteral("smaller than"),
               QString::number(smaller.limit), false);
        return true;
    }
    if (larger.on && size > larger.limit) {
        del = larger.check;
        whyAdd(del, QStringLiteral("Size"), QStringLiteral("larger than"),
               QString::number(larger.limit), false);
        return true;
    }
    return false;
}

bool TRuleEvaluator::qMarkThisSubject(const QString &subject, bool &del)
{
    RuleTable &grid = m_settings.gridSubject;
    const QList<SubjectRule> &rules = prepared().subject;
    const QString foldedSubject = foldAsciiCase(subject);
    QString yn;
    for (const SubjectRule &rule : rules) {
        const bool matched =
            rule.kind == PredicateOp::Text
                ? matchRuleText(rule.textOp, subject, foldedSubject, rule.value, rule.foldedValue,
                                rule.caseSensitive)
                : matchPredicate(rule.kind, subject);
        if (!matched)
            continue;
        whyAdd(rule.rowDel, Subject, rule.op,
               rule.kind == PredicateOp::Text ? rule.value : QString(), rule.caseSensitive);
        if (countHit(grid, rule.row, rule.rowDel, yn))
            break;
    }
    del = yn.contains(u'Y');
    return !yn.isEmpty();
}

bool TRuleEvaluator::qmarkThisSender(const QString &sender, bool &del)
{
    const qsizetype at = sender.indexOf(u'@');
    const QString localPart = at < 0 ? sender : sender.left(at);
    const QString domain = at < 0 ? sender : CutText(sender.mid(at + 1));
    // Sender rules never distinguish case.
    const QString foldedSender = foldAsciiCase(sender);
    const QString foldedDomain = foldAsciiCase(domain);

    RuleTable &grid = m_settings.gridFrom;
    const QList<SenderRule> &rules = prepared().sender;
    QString yn;
    for (const SenderRule &rule : rules) {
        const bool predicate = rule.kind != PredicateOp::Text;
        bool matched;
        if (!predicate) {
            // The text operators look at the whole address.
            matched = matchTextOp(rule.textOp, rule.isDomain ? foldedDomain : foldedSender,
                                  rule.foldedValue, true);
        } else {
            // The character-class tests look at the name before the "@" only; "Is blank" at
            // the whole address.
            const bool onLocalPart = rule.kind != PredicateOp::IsBlank;
            const QString &text = rule.isDomain ? domain : (onLocalPart ? localPart : sender);
            matched = matchPredicate(rule.kind, text);
        }
        if (!matched)
            continue;
        whyAdd(rule.rowDel, rule.isDomain ? DomainName : EmailAddress, rule.condition,
               predicate ? QString() : rule.value, false);
        if (countHit(grid, rule.row, rule.rowDel, yn))
            break;
    }
    del = yn.contains(u'Y');
    return !yn.isEmpty();
}

bool TRuleEvaluator::qMarkThisHeader(int index, bool &del)
{
    RuleTable &grid = m_settings.gridHeader;
    const QList<HeaderRule> &rules = prepared().header;
    LazyHeaders headers(*m_rows, index);
    const int mailbox = m_rows->MailboxNumber(index);
    QString yn;

    for (const HeaderRule &rule : rules) {
        const bool caseSensitive = rule.caseSensitive;
        const bool rowDel = rule.rowDel;

        if (rule.kind == HeaderKind::ToDoesNotContain) {
            if (rule.mailbox != mailbox)
                continue;
            const QString to = GetFieldValue(headers.get(), QStringLiteral("To:"));
            if (to.isEmpty() || containsText(to, rule.address, false))
                continue;
            whyAdd(rowDel, QStringLiteral("Header \"%1\"").arg(to), ToDoesNotContain,
                   rule.address, caseSensitive);
        } else if (rule.kind == HeaderKind::SenderReplyTo || rule.kind == HeaderKind::SenderTo) {
            const QString from = SenderAddress(headers.get());
            if (rule.kind == HeaderKind::SenderReplyTo) {
                const QString replyTo = GetFieldValue(headers.get(), QStringLiteral("Reply-to:"));
                // No sender cannot match a Reply-To: an empty text is contained in nothing here,
                // as in every other "contains" test.
                if (replyTo.isEmpty()
                    || (!from.isEmpty() && (containsPart(replyTo, from) || containsPart(from, replyTo))))
                    continue;
                whyAdd(rowDel, QStringLiteral("Header"), Sender,
                       replyTo + u' ' + DoesNotMatchReplyTo + u' ' + from, caseSensitive);
            } else {
                const QString to = GetFieldAddress(headers.get(), QStringLiteral("To:")).Address();
                // An empty sender is contained in every address but equals none of them.
                if (to.isEmpty() || from.isEmpty()
                    || !(containsText(to, from, false) || containsText(from, to, false)))
                    continue;
                whyAdd(rowDel, QStringLiteral("Header"), Sender,
                       to + u' ' + EqualsToField + u' ' + from, caseSensitive);
            }
        } else {
            // An operator tried on every stored line, the last one too; each matching line
            // counts on its own.
            bool stop = false;
            const TmsHeaders &lines = headers.get();
            const QStringList &foldedLines = caseSensitive ? lines : headers.folded();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (!matchRuleText(rule.textOp, lines.at(i), foldedLines.at(i), rule.value,
                                   rule.foldedValue, caseSensitive))
                    continue;
                whyAdd(rowDel, QStringLiteral("Header"), rule.what, rule.value, caseSensitive);
                if (countHit(grid, rule.row, rowDel, yn)) {
                    stop = true;
                    break;
                }
            }
            if (stop)
                break;
            continue;
        }

        if (countHit(grid, rule.row, rowDel, yn))
            break;
    }
    if (!yn.isEmpty())
        del = yn.contains(u'Y');
    return !yn.isEmpty();
}

bool TRuleEvaluator::isInKnownList(const QString &sender, QString &kind, QString &entry) const
{
    return m_known.isInKnownList(sender, kind, entry);
}

void TRuleEvaluator::BumpUpGrid(RuleTable &table, int row)
{
    if (whyMode)
        return;
    const int col = table.HitColumn();
    bool ok = false;
    qlonglong hits = table.Cells(col, row).toLongLong(&ok);
    if (!ok)
        hits = 0;
    if (hits < std::numeric_limits<qlonglong>::max())
        ++hits;
    table.SetCells(col, row, QString::number(hits));
}

bool TRuleEvaluator::countHit(RuleTable &grid, int row, bool rowDel, QString &yn)
{
    BumpUpGrid(grid, row);
    yn += boolToYN(rowDel);
    return !whyMode && rowDel;
}

void TRuleEvaluator::whyAdd(bool isDelete, const QString &what, const QString &op,
                            const QString &value, bool caseSensitive)
{
    if (!whyMode)
        return;
    QString prefix = isDelete ? Said("Rules", "Delete   : ") : Said("Rules", "Question : ");
    if (whyExceptMode)
        prefix = Said("Rules", "Exception : ");
    const QString caseText = caseSensitive ? QString(Said("Rules", " (Case Sensitive)")) : QString();
    if (!value.isEmpty())
        memoWhy.append(QStringLiteral("%1 %2 %3 \"%4\" %5").arg(prefix, what, op, value, caseText));
    else
        memoWhy.append(QStringLiteral("%1 %2 %3").arg(prefix, what, op));
}

void TRuleEvaluator::whyExcept(const QString &what, const QString &op, const QString &value,
                               bool caseSensitive)
{
    whyExceptMode = true;
    whyAdd(false, what, op, value, caseSensitive);
    whyExceptMode = false;
}

QStringList TRuleEvaluator::WhyMarked(int index)
{
    memoWhy.clear();
    if (!m_rows || index < 0 || index >= m_rows->MessageCount())
        return memoWhy;
    memoWhy.append(Said("Rules", "Message from %1").arg(m_rows->Sender(index)));
    memoWhy.append(Said("Rules", "Subject of   %1").arg(m_rows->Subject(index)));
    memoWhy.append(QString());

    const int previous = m_rows->MessageMark(index);
    m_rows->SetMessageMark(index, NoMark);
    whyMode = true;
    MarkForDeletion(index);
    whyMode = false;
    const int now = m_rows->MessageMark(index);

    if (memoWhy.size() == 3)
        memoWhy.append(Said("Rules",
            "Message was neither on the exception list nor on the list of matching criteria"));
    if (previous == CheckMark && now != CheckMark)
        memoWhy.append(Said("Rules", "** You marked this message **"));
    if (previous == NoMark && now != NoMark)
        memoWhy.append(Said("Rules", "** You un-marked this message **"));
    m_rows->SetMessageMark(index, previous);
    return memoWhy;
}

int TRuleEvaluator::Remark()
{
    if (!m_rows)
        return 0;
    for (int row = 0; row < m_rows->MessageCount(); ++row)
        m_rows->SetMessageMark(row, NoMark);
    MarkForDeletion(-1);
    int marked = 0;
    for (int row = 0; row < m_rows->MessageCount(); ++row)
        if (IsMarkedForDeletion(m_rows->MessageMark(row)))
            ++marked;
    return marked;
}
