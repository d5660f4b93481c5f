#include "evaluator.h"

#include "address.h"
#include "ruletext.h"
#include "rulewords.h"
#include "textutil.h"

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

private:
    const TMessageRows &m_rows;
    int m_row;
    bool m_loaded = false;
    TmsHeaders m_headers;
};

const QString kBlacklistText =
    QStringLiteral("\"%1\" is on the KNOWN SPAMMER BLACKLIST (you may edit if this is in error)");

} // namespace

TRuleEvaluator::TRuleEvaluator(TSpamSettings &settings, const TKnownList &known, TMessageRows *rows)
    : m_settings(settings), m_known(known), m_rows(rows)
{
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
    if (index >= 0) {
        if (index < m_rows->MessageCount())
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
            whyAdd(true, kind, kBlacklistText.arg(entry), QString(), false);
        }
    }
    m_rows->SetMessageMark(row, mark);
}

bool TRuleEvaluator::qIsInException(int index, const QString &subject, const QString &sender,
                                    int &picture)
{
    RuleTable &grid = m_settings.gridExcept;
    LazyHeaders headers(*m_rows, index);
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QString what = grid.Cells(0, row);
        if (what.isEmpty())
            continue;
        const QString op = grid.Cells(1, row);
        const QString value = grid.Cells(2, row);
        const bool caseSensitive = grid.Cells(3, row) == Yes;
        bool matched = false;

        // An address or domain rule without a value accepts every sender. Only a damaged file
        // holds one, and accepting errs on the side of never deleting good mail.
        if (is(what, DomainName)) {
            matched = endsWithText(sender, value, false);
            if (matched)
                whyExcept(DomainName, EqualsOp, value, false);
        } else if (is(what, EmailAddress)) {
            matched = startsWithText(sender, value, false);
            if (matched)
                whyExcept(EmailAddress, EqualsOp, value, false);
        } else if (is(what, Subject)) {
            matched = matchException(op, subject, value, caseSensitive);
            if (matched)
                whyExcept(Subject, op, value, caseSensitive);
        } else if (is(what, AnyHeader)) {
            // Every stored line, the last one too: it is a header line like the others.
            const TextOp textOp = ParseTextOp(op);
            for (const QString &line : headers.get()) {
                if (!matchTextOp(textOp, line, value, caseSensitive))
                    continue;
                matched = true;
                whyExcept(AnyHeader + u' ' + line, op, value, caseSensitive);
                if (!whyMode)
                    break;
            }
        } else {
            const QString field = GetFieldValue(headers.get(), what);
            matched = matchException(op, field, value, caseSensitive);
            if (matched)
                whyExcept(what + u' ' + field, op, value, caseSensitive);
        }

        if (matched) {
            picture = ExceptionPicture(grid.Cells(6, row));
            BumpUpGrid(grid, row);
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
    QString yn;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QString op = grid.Cells(1, row);
        if (op.isEmpty())
            break;
        const QString value = grid.Cells(2, row);
        const bool caseSensitive = grid.Cells(3, row) == Yes;
        const bool rowDel = grid.Cells(4, row) == Yes;
        if (!matchSubject(op, subject, value, caseSensitive))
            continue;
        whyAdd(rowDel, Subject, op, isPredicateOperator(op) ? QString() : value, caseSensitive);
        if (countHit(grid, row, rowDel, yn))
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

    RuleTable &grid = m_settings.gridFrom;
    QString yn;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QString what = grid.Cells(1, row);
        if (what.isEmpty())
            break;
        const QString condition = grid.Cells(2, row);
        const QString value = grid.Cells(3, row);
        const bool rowDel = grid.Cells(4, row) == Yes;
        const bool isDomain = is(what, DomainName);
        const bool predicate = isPredicateOperator(condition);
        // The character-class tests look at the name before the "@" only; "Is blank" and
        // the text operators at the whole address.
        const bool onLocalPart = predicate && !is(condition, IsBlank);
        const QString &text = isDomain ? domain : (onLocalPart ? localPart : sender);
        if (!matchSender(condition, text, value))
            continue;
        whyAdd(rowDel, isDomain ? DomainName : EmailAddress, condition,
               predicate ? QString() : value, false);
        if (countHit(grid, row, rowDel, yn))
            break;
    }
    del = yn.contains(u'Y');
    return !yn.isEmpty();
}

bool TRuleEvaluator::qMarkThisHeader(int index, bool &del)
{
    RuleTable &grid = m_settings.gridHeader;
    LazyHeaders headers(*m_rows, index);
    const int mailbox = m_rows->MailboxNumber(index);
    QString yn;

    for (int row = 1; row < grid.RowCount(); ++row) {
        const QString what = grid.Cells(1, row);
        if (what.isEmpty())
            break;
        const QString value = grid.Cells(2, row);
        const bool caseSensitive = grid.Cells(3, row) == Yes;
        const bool rowDel = grid.Cells(4, row) == Yes;

        if (is(what, ToDoesNotContain)) {
            // "<address> - MailBox #<n>". A row without a mailbox number 1 ... 12 or without
            // an address is damaged: with an empty address it would mark every message of
            // the mailbox, so such a row is skipped.
            const qsizetype at = value.indexOf(MailBoxMark);
            if (at < 0)
                continue;
            bool ok = false;
            const int number = value.mid(at + MailBoxMark.size()).toInt(&ok);
            if (!ok || number < 1 || number > 12 || number != mailbox)
                continue;
            const QString address = value.left(at);
            if (TrimControls(address).isEmpty())
                continue;
            const QString to = GetFieldValue(headers.get(), QStringLiteral("To:"));
            if (to.isEmpty() || containsText(to, address, false))
                continue;
            whyAdd(rowDel, QStringLiteral("Header \"%1\"").arg(to), ToDoesNotContain, address,
                   caseSensitive);
        } else if (is(what, Sender)) {
            const QString from =
                SplitMailAddress(GetFieldValue(headers.get(), QStringLiteral("From:"))).address;
            if (is(value, DoesNotMatchReplyTo)) {
                const QString replyTo = GetFieldValue(headers.get(), QStringLiteral("Reply-to:"));
                if (replyTo.isEmpty() || containsPart(replyTo, from) || containsPart(from, replyTo))
                    continue;
                whyAdd(rowDel, QStringLiteral("Header"), Sender,
                       replyTo + u' ' + DoesNotMatchReplyTo + u' ' + from, caseSensitive);
            } else {
                const QString to =
                    SplitMailAddress(GetFieldValue(headers.get(), QStringLiteral("To:"))).address;
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
            const TextOp textOp = ParseTextOp(what);
            if (textOp == TextOp::None)
                continue;
            for (const QString &line : headers.get()) {
                if (!matchTextOp(textOp, line, value, caseSensitive))
                    continue;
                whyAdd(rowDel, QStringLiteral("Header"), what, value, caseSensitive);
                if (countHit(grid, row, rowDel, yn)) {
                    stop = true;
                    break;
                }
            }
            if (stop)
                break;
            continue;
        }

        if (countHit(grid, row, rowDel, yn))
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
    QString prefix = isDelete ? QStringLiteral("Delete   : ") : QStringLiteral("Question : ");
    if (whyExceptMode)
        prefix = QStringLiteral("Exception : ");
    const QString caseText = caseSensitive ? QStringLiteral(" (Case Sensitive)") : QString();
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
    memoWhy.append(QStringLiteral("Message from ") + m_rows->Sender(index));
    memoWhy.append(QStringLiteral("Subject of   ") + m_rows->Subject(index));
    memoWhy.append(QString());

    const int previous = m_rows->MessageMark(index);
    m_rows->SetMessageMark(index, NoMark);
    whyMode = true;
    MarkForDeletion(index);
    whyMode = false;
    const int now = m_rows->MessageMark(index);

    if (memoWhy.size() == 3)
        memoWhy.append(QStringLiteral(
            "Message was neither on the exception list nor on the list of matching criteria"));
    if (previous == CheckMark && now != CheckMark)
        memoWhy.append(QStringLiteral("** You marked this message **"));
    if (previous == NoMark && now != NoMark)
        memoWhy.append(QStringLiteral("** You un-marked this message **"));
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
