#pragma once

#include "evaluator.h"
#include "headers.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>

struct TmsRemoteInfoItem;
struct TMailboxMessage;

// One waiting message as the list shows it.
struct TMessageListRow
{
    QString subject;  // the Subject field
    QString sender;   // the bare address of the From field
    QString sizeText; // octets as the server reported them, decimal
    QString dateField; // the Date field as written
    QDateTime when;    // the instant of the Date field (UTC), invalid when it is no date
    TmsHeaders headers;
    // The slot (1 ... 12) the row was listed from; later commands on the row load this
    // slot into the POP3 client first, whatever the client was given since.
    int slot = 0;
    // The mailbox number the per-mailbox rules compare with: the first slot whose server
    // and user name were those of the listing (normally equal to slot); 0 for none.
    int mailbox = 0;
    int mark = -1; // see Mark in rulewords.h

    // The date as the list shows it: the instant in the user's zone and locale, or the field as
    // written when it is no date. Made when asked for (a view asks for the rows it shows):
    // formatting dates was a sixth of the processor time of a big listing.
    QString DateText() const;

    // Subject, sender, size and date of a listed message.
    static TMessageListRow FromMessage(const TMailboxMessage &message, int slot, int mailbox);
    static TMessageListRow FromRemoteInfo(const TmsRemoteInfoItem &item, int slot, int mailbox);
};

// The message list of the main window: one row per waiting message of the mailbox checked
// last, row i being message i + 1 on the server. It is the row set the rule evaluation marks
// (TMessageRows), so marks set by the rules show at once in every view over it.
//
// Columns: 0 "Subject", 1 "Sender", 2 "Size" (right-aligned), 3 "Date". Display texts come
// with Qt::DisplayRole; the mark (an int, -1 none, 0 check mark, 1 question mark,
// 2 blacklist mark, 3 ... 14 exception pictures) with MarkRole on every column, for the view
// to map to its picture; the listed slot with SlotRole; the Date field's instant (a UTC
// QDateTime, invalid for no date) with InstantRole, the key to sort dates by.
class TMessageListModel : public QAbstractTableModel, public TMessageRows
{
    Q_OBJECT

public:
    enum Column { SubjectColumn, SenderColumn, SizeColumn, DateColumn, ColumnCount };
    enum Role { MarkRole = Qt::UserRole + 1, SlotRole, InstantRole };

    explicit TMessageListModel(QObject *parent = nullptr);

    // --- the list ---
    void Clear();
    // Appends a row and returns its index.
    int Append(const TMessageListRow &row);
    const TMessageListRow &Row(int row) const { return m_rows.at(row); }
    int Count() const { return int(m_rows.size()); }
    bool IsEmpty() const { return m_rows.isEmpty(); }
    // Rows with the check mark or the blacklist mark: the ones a deletion removes.
    int MarkedCount() const;
    QList<int> MarkedRows() const;
    // The slot the rows were listed from; 0 when the list is empty.
    int ListedSlot() const;

    // --- TMessageRows, for the rule evaluation ---
    int MessageCount() const override { return Count(); }
    QString Subject(int row) const override { return m_rows.at(row).subject; }
    QString Sender(int row) const override { return m_rows.at(row).sender; }
    QString SizeText(int row) const override { return m_rows.at(row).sizeText; }
    TmsHeaders Headers(int row) const override { return m_rows.at(row).headers; }
    int MailboxNumber(int row) const override { return m_rows.at(row).mailbox; }
    int MessageMark(int row) const override { return m_rows.at(row).mark; }
    // Ignored for a row that is not in the list.
    void SetMessageMark(int row, int mark) override;

    // --- model ---
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The list's date text: the system's short date and long time (the time left out at
    // exactly midnight), without a time zone name, which would be this machine's and not the
    // sender's.
    static QString FormatListDate(const QDateTime &when);

private:
    QList<TMessageListRow> m_rows;
};
