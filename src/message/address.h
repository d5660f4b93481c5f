#pragma once

#include <QList>
#include <QString>
#include <memory>

// One mail address. Both fields hold at most 255 characters; longer texts are cut.
class TmsMailAddress
{
public:
    TmsMailAddress() = default;
    TmsMailAddress(const QString &name, const QString &address);

    QString Name() const { return m_name; }
    QString Address() const { return m_address; }
    void SetName(const QString &name);
    void SetAddress(const QString &address);
    void Clear();

    bool operator==(const TmsMailAddress &) const = default;

private:
    QString m_name;
    QString m_address;
};

// An ordered list of addresses that owns its items.
class TmsAddressList
{
public:
    int Count() const { return int(m_items.size()); }
    TmsMailAddress &Item(int index) { return m_items[index]; }
    const TmsMailAddress &Item(int index) const { return m_items[index]; }
    void Append(const TmsMailAddress &address) { m_items.append(address); }
    void Clear() { m_items.clear(); }
    bool operator==(const TmsAddressList &) const = default;

private:
    QList<TmsMailAddress> m_items;
};

#include "headers.h"

// Fills address from a field value as received, encoded words still encoded: "Name <a@b>",
// "a@b (Name)", "a@b", "Group: a@b, c@d;". The address is the angle address outside quoted
// strings and comments, so no display name can pose as the address; encoded words are
// decoded in the display name only, after the split. A value with several mailboxes gives
// the first one. A "<" without its ">", or a quoted string that never closes, gives an empty
// address and the whole text as the name. Never fails.
void ParseMailAddress(const QString &text, TmsMailAddress &address);

// The first mailbox of a field ("From", "To", ...): the one address reader every sender
// test, list column, log line and count goes through.
TmsMailAddress GetFieldAddress(const TmsHeaders &headers, const QString &fieldName);
// The bare address of the From field.
QString SenderAddress(const TmsHeaders &headers);

struct SplitAddress
{
    QString address;
    QString name;
};
SplitAddress SplitMailAddress(const QString &text);
