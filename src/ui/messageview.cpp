#include "messageview.h"

#include "pictures.h"
#include "rulewords.h"

#include <QPixmap>
#include <limits>

QString MarkInWords(int mark)
{
    switch (mark) {
    case NoMark: return TMarkPictureModel::tr("No rule matched: the message stays");
    case CheckMark: return TMarkPictureModel::tr("Marked as spam: deleted with \"Delete marked messages\"");
    case QuestionMark: return TMarkPictureModel::tr("Suspect: not deleted unless you mark it");
    case BlacklistMark: return TMarkPictureModel::tr("Sender on the blacklist: deleted with \"Delete marked messages\"");
    default: break;
    }
    if (mark >= FirstExceptionPicture && mark <= LastExceptionPicture)
        return TMarkPictureModel::tr("Accepted by an exception: never deleted");
    return QString();
}

QVariant TMarkPictureModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DecorationRole && index.column() == TMessageListModel::SubjectColumn) {
        const QIcon icon = MarkPicture(index.data(TMessageListModel::MarkRole).toInt());
        if (!icon.isNull())
            return icon;
        // A clear picture keeps the subjects lined up whether a row has a mark or not.
        static const QIcon blank = [] {
            QPixmap clear(16, 16);
            clear.fill(Qt::transparent);
            return QIcon(clear);
        }();
        return blank;
    }
    if ((role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
        && index.column() == TMessageListModel::SubjectColumn)
        return MarkInWords(index.data(TMessageListModel::MarkRole).toInt());
    // A screen reader says the picture in words before the subject.
    if (role == Qt::AccessibleTextRole && index.column() == TMessageListModel::SubjectColumn) {
        const QString mark = MarkName(index.data(TMessageListModel::MarkRole).toInt());
        const QString subject = index.data(Qt::DisplayRole).toString();
        return mark.isEmpty() ? subject : tr("%1: %2").arg(mark, subject);
    }
    if (role == Qt::TextAlignmentRole && index.column() == TMessageListModel::SizeColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return QIdentityProxyModel::data(index, role);
}

QVariant TMarkPictureModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal
        && section == TMessageListModel::SizeColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal) {
        // The list's own headings know no language.
        [[maybe_unused]] static const char *const kHeadings[] = {QT_TR_NOOP("Subject"), QT_TR_NOOP("Sender"),
                                                                 QT_TR_NOOP("Size"), QT_TR_NOOP("Date")};
        const QByteArray heading = QIdentityProxyModel::headerData(section, orientation, role).toString().toUtf8();
        return tr(heading.constData());
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

TMessageSortModel::TMessageSortModel(const TMessageListModel &messages, QObject *parent)
    : QSortFilterProxyModel(parent), m_messages(messages)
{
}

bool TMessageSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const TMessageListRow &a = m_messages.Row(left.row());
    const TMessageListRow &b = m_messages.Row(right.row());
    switch (left.column()) {
    case TMessageListModel::SizeColumn:
        return a.sizeText.toLongLong() < b.sizeText.toLongLong();
    case TMessageListModel::DateColumn: {
        // By the moment the mail was written, whatever zone it was written in; a message
        // without a readable date comes first.
        const auto when = [](const TMessageListRow &r) {
            return r.when.isValid() ? r.when.toSecsSinceEpoch() : std::numeric_limits<qint64>::min();
        };
        return when(a) < when(b);
    }
    case TMessageListModel::SenderColumn:
        return a.sender.compare(b.sender, Qt::CaseInsensitive) < 0;
    default:
        return QString::localeAwareCompare(a.subject.toCaseFolded(), b.subject.toCaseFolded()) < 0;
    }
}
