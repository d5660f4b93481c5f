#pragma once

#include "messagelistmodel.h"

#include <QIdentityProxyModel>
#include <QSortFilterProxyModel>

// The message list as the window shows it: each row's mark as the picture beside its
// subject, and the size right-aligned.
class TMarkPictureModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
};

// What a mark means, for the list's tooltip: people who cannot tell the pictures apart, or
// have not learnt them yet, read it in words.
QString MarkInWords(int mark);

// The order the list shows: a click on a heading sorts by that column, the date by its
// time and the size by its number; with no column chosen, the server's order.
class TMessageSortModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    TMessageSortModel(const TMessageListModel &messages, QObject *parent);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    const TMessageListModel &m_messages;
};
