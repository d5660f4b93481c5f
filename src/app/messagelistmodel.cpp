#include "messagelistmodel.h"

#include "address.h"
#include "maildate.h"
#include "mailbox.h"
#include "pop3.h"

#include <QLocale>
#include <QTimeZone>
#include <chrono>
#include <optional>

namespace {

// A time format without its time-zone fields ("t" and its repeats outside quotes), and the
// blanks those leave behind.
QString WithoutZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out.append(c);
    }
    return out.simplified();
}

// How listed dates are shown: in this machine's zone and the user's locale. Converting to local
// time through the C library reads the zone file again for every date, and a view asks for the
// dates it shows at every repaint; so each thread looks the zone and the locale's formats up
// again at most five times a second, and a zone or locale changed while the program runs shows
// at once.
struct TListDateStyle
{
    QTimeZone zone;
    QLocale locale;
    QString dateFormat;
    QString timeFormat;
    std::optional<std::chrono::steady_clock::time_point> taken;
};

constexpr std::chrono::milliseconds kListDateStyleAge(200);

const TListDateStyle &ListDateStyle()
{
    thread_local TListDateStyle style;
    const auto now = std::chrono::steady_clock::now();
    if (!style.taken || now - *style.taken > kListDateStyleAge) {
        style.zone = QTimeZone::systemTimeZone();
        style.locale = QLocale::system();
        style.dateFormat = style.locale.dateFormat(QLocale::ShortFormat);
        style.timeFormat = WithoutZone(style.locale.timeFormat(QLocale::LongFormat));
        style.taken = now;
    }
    return style;
}

} // namespace

TMessageListRow TMessageListRow::FromRemoteInfo(const TmsRemoteInfoItem &item, int slot, int mailbox)
{
    return FromMessage({item.Size, item.Headers, item.Uidl}, slot, mailbox);
}

TMessageListRow TMessageListRow::FromMessage(const TMailboxMessage &message, int slot, int mailbox)
{
    TMessageListRow row;
    row.headers = message.headers;
    row.subject = GetFieldValue(message.headers, QStringLiteral("Subject"));
    row.sender = SenderAddress(message.headers);
    row.sizeText = QString::number(message.size);
    row.dateField = GetFieldValue(message.headers, QStringLiteral("Date"));
    const std::optional<TmsMailDate> date = ParseMailDate(row.dateField);
    row.when = date ? date->dateTime.toUTC() : QDateTime();
    row.slot = slot;
    row.mailbox = mailbox;
    return row;
}

QString TMessageListRow::DateText() const
{
    if (!when.isValid())
        return dateField;
    // Shown in the user's zone; "23:30 -0800" and "08:30 +0100" are the same moment. A zone Qt
    // cannot read (TZ set to a rule rather than a name, say) is left to the C library.
    const QTimeZone &zone = ListDateStyle().zone;
    return TMessageListModel::FormatListDate(zone.isValid() ? when.toTimeZone(zone) : when.toLocalTime());
}

TMessageListModel::TMessageListModel(QObject *parent) : QAbstractTableModel(parent) {}

QString TMessageListModel::FormatListDate(const QDateTime &when)
{
    const TListDateStyle &style = ListDateStyle();
    const QString date = style.locale.toString(when.date(), style.dateFormat);
    if (when.time() == QTime(0, 0))
        return date;
    return date + u' ' + style.locale.toString(when.time(), style.timeFormat);
}

void TMessageListModel::Clear()
{
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int TMessageListModel::Append(const TMessageListRow &row)
{
    const int index = Count();
    beginInsertRows(QModelIndex(), index, index);
    m_rows.append(row);
    endInsertRows();
    return index;
}

int TMessageListModel::MarkedCount() const
{
    int marked = 0;
    for (const TMessageListRow &row : m_rows)
        if (TRuleEvaluator::IsMarkedForDeletion(row.mark))
            ++marked;
    return marked;
}

QList<int> TMessageListModel::MarkedRows() const
{
    QList<int> rows;
    for (int i = 0; i < Count(); ++i)
        if (TRuleEvaluator::IsMarkedForDeletion(m_rows.at(i).mark))
            rows.append(i);
    return rows;
}

int TMessageListModel::ListedSlot() const
{
    return m_rows.isEmpty() ? 0 : m_rows.first().slot;
}

void TMessageListModel::SetMessageMark(int row, int mark)
{
    if (row < 0 || row >= Count() || m_rows.at(row).mark == mark)
        return;
    m_rows[row].mark = mark;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {MarkRole});
}

int TMessageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

int TMessageListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TMessageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count() || index.column() >= ColumnCount)
        return {};
    const TMessageListRow &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case SubjectColumn: return row.subject;
        case SenderColumn: return row.sender;
        case SizeColumn: return row.sizeText;
        case DateColumn: return row.DateText();
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case MarkRole: return row.mark;
    case SlotRole: return row.slot;
    case InstantRole: return row.when;
    default: return {};
    }
}

QVariant TMessageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int((section == SizeColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case SubjectColumn: return QStringLiteral("Subject");
    case SenderColumn: return QStringLiteral("Sender");
    case SizeColumn: return QStringLiteral("Size");
    case DateColumn: return QStringLiteral("Date");
    }
    return {};
}
