#pragma once

#include "headers.h"
#include "knownlist.h"
#include "spamsettings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The messages an evaluation marks, seen as rows: the main window's message list, or a
// plain list of messages for the tools. Row i is message i of the mailbox.
class TMessageRows
{
public:
    virtual ~TMessageRows() = default;
    virtual int MessageCount() const = 0;
    virtual QString Subject(int row) const = 0;
    // The bare sender address.
    virtual QString Sender(int row) const = 0;
    // The size in bytes as decimal text, as the server reported it.
    virtual QString SizeText(int row) const = 0;
    // The stored header lines, one per physical line, up to the empty line.
    virtual TmsHeaders Headers(int row) const = 0;
    // The number (1 ... 12) of the mailbox the message came from; 0 for none.
    virtual int MailboxNumber(int row) const = 0;
    virtual int MessageMark(int row) const = 0;
    virtual void SetMessageMark(int row, int mark) = 0;
};

struct TMessageRow
{
    QString subject;
    QString sender;
    QString sizeText;
    TmsHeaders headers;
    int mailbox = 0;
    int mark = -1;
};

// Messages held in a plain list.
class TMessageRowList : public TMessageRows
{
public:
    QList<TMessageRow> rows;

    int MessageCount() const override { return int(rows.size()); }
    QString Subject(int row) const override { return rows.at(row).subject; }
    QString Sender(int row) const override { return rows.at(row).sender; }
    QString SizeText(int row) const override { return rows.at(row).sizeText; }
    TmsHeaders Headers(int row) const override { return rows.at(row).headers; }
    int MailboxNumber(int row) const override { return rows.at(row).mailbox; }
    int MessageMark(int row) const override { return rows.at(row).mark; }
    void SetMessageMark(int row, int mark) override { rows[row].mark = mark; }
};

struct TPreparedRules;

// Marks messages by the live rule set: exceptions, size, subject, sender, header rules and
// the blacklist, in that order. It reads the settings' tables at the moment of evaluation
// (a rule added anywhere counts at once) and adds to their hit counts, except in reason
// mode, which evaluates every family and writes a plain-language line per matching rule.
class TRuleEvaluator
{
public:
    TRuleEvaluator(TSpamSettings &settings, const TKnownList &known, TMessageRows *rows = nullptr);
    ~TRuleEvaluator();

    void SetRows(TMessageRows *rows) { m_rows = rows; }
    TMessageRows *Rows() const { return m_rows; }

    // Reason mode: no early stop, reasons written, hit counts left alone.
    bool whyMode = false;
    // Set only while whyExcept writes its line.
    bool whyExceptMode = false;
    // The reason lines written in reason mode.
    QStringList memoWhy;

    // Evaluates one row (index >= 0) or every row in list order (index -1) and sets marks.
    void MarkForDeletion(int index);

    bool qIsInException(int index, const QString &subject, const QString &sender, int &picture);
    bool tooBigSmall(const QString &sizeText, bool &del);
    bool qMarkThisSubject(const QString &subject, bool &del);
    bool qmarkThisSender(const QString &sender, bool &del);
    bool qMarkThisHeader(int index, bool &del);
    bool isInKnownList(const QString &sender, QString &kind, QString &entry) const;

    // Adds one to the rule's hit count (text that is not a number counts as 0); nothing in
    // reason mode.
    void BumpUpGrid(RuleTable &table, int row);
    // A row of a rule list matched: counts the hit and notes in yn whether the row deletes
    // (one Y or N per hit, so an empty yn means no row matched). True when the scan stops
    // here: a deleting row settles the message, unless every reason is being collected.
    bool countHit(RuleTable &grid, int row, bool rowDel, QString &yn);
    void whyAdd(bool isDelete, const QString &what, const QString &op, const QString &value,
                bool caseSensitive);
    void whyExcept(const QString &what, const QString &op, const QString &value,
                   bool caseSensitive);

    // "Why was this e-mail marked?": the full text shown for one row, with the row's mark
    // left as it was.
    QStringList WhyMarked(int index);
    // "Auto-mark messages": clears every mark, evaluates every row and returns how many rows
    // are marked for deletion (check mark or blacklist mark).
    int Remark();

    static bool IsMarkedForDeletion(int mark) { return mark == 0 || mark == 2; }

private:
    void markRow(int row);
    // Applies a family's result to the mark: a check mark always, a question mark unless
    // the mark already is a check mark.
    static int raise(int mark, bool del);
    // The four tables read into ready rules: operator words resolved, values folded. One
    // evaluation pass reads them once (only hit counts change during a pass); outside a
    // pass every call reads the tables afresh.
    const TPreparedRules &prepared();

    std::unique_ptr<TPreparedRules> m_prepared;
    bool m_inPass = false;

    TSpamSettings &m_settings;
    const TKnownList &m_known;
    TMessageRows *m_rows;
};
