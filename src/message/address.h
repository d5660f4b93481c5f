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

// Fills address from an address text ("Name <a@b>", "a@b (Name)", "a@b", ...). Never fails.
void ParseMailAddress(const QString &text, TmsMailAddress &address);

struct SplitAddress
{
    QString address;
    QString name;
};
SplitAddress SplitMailAddress(const QString &text);
