#include "address.h"

#include "headers.h"
#include "textutil.h"

TmsMailAddress::TmsMailAddress(const QString &name, const QString &address)
    : m_name(CutText(name)), m_address(CutText(address))
{
}

void TmsMailAddress::SetName(const QString &name)
{
    m_name = CutText(name);
}

void TmsMailAddress::SetAddress(const QString &address)
{
    m_address = CutText(address);
}

void TmsMailAddress::Clear()
{
    m_name.clear();
    m_address.clear();
}

void ParseMailAddress(const QString &text, TmsMailAddress &address)
{
    const qsizetype open = text.indexOf(u'<');
    if (open >= 0) {
        const qsizetype close = text.indexOf(u'>');
        if (close > open) {
            address.SetAddress(StripQuotes(text.mid(open + 1, close - open - 1)));
            address.SetName(StripQuotes(text.left(open) + text.mid(close + 1)));
        } else {
            address.SetAddress(QString());
            address.SetName(StripQuotes(text));
        }
        return;
    }
    const qsizetype paren = text.indexOf(u'(');
    if (paren >= 0) {
        address.SetAddress(StripQuotes(text.left(paren)));
        // The closing parenthesis is taken to be the last character.
        address.SetName(StripQuotes(text.mid(paren + 1, qMax<qsizetype>(0, text.size() - paren - 2))));
        return;
    }
    address.SetAddress(text);
    address.SetName(QString());
}

SplitAddress SplitMailAddress(const QString &text)
{
    TmsMailAddress address;
    ParseMailAddress(text, address);
    return {address.Address(), address.Name()};
}
