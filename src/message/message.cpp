#include "message.h"

#include "textutil.h"

void TmsMessage::SetSubject(const QString &subject)
{
    m_subject = CutText(subject);
}

void TmsMessage::SetContentType(const QString &contentType)
{
    m_contentType = CutText(AsciiLower(contentType));
}

void TmsMessage::Clear()
{
    *this = TmsMessage();
}

namespace {

void AppendAddresses(const TmsHeaders &headers, const QString &fieldName, TmsAddressList &list)
{
    QStringList items;
    GetFieldList(headers, fieldName, items);
    for (const QString &item : items) {
        TmsMailAddress address;
        ParseMailAddress(item, address);
        list.Append(address);
    }
}

} // namespace

void ReadHeaderFields(TmsMessage &message, const TmsHeaders &headers)
{
    message.Sender() = GetFieldAddress(headers, QStringLiteral("FROM"));
    AppendAddresses(headers, QStringLiteral("TO"), message.Recipients());
    AppendAddresses(headers, QStringLiteral("CC"), message.CC());
    AppendAddresses(headers, QStringLiteral("BCC"), message.BCC());

    const QString subject = GetFieldValue(headers, QStringLiteral("Subject"));
    if (!subject.isEmpty())
        message.SetSubject(subject);

    // Only the bare numbers count: "1 (Highest)" is left at normal.
    const QString priority = GetFieldValue(headers, QStringLiteral("X-Priority"));
    if (priority == QStringLiteral("1"))
        message.SetPriority(ptHigh);
    else if (priority == QStringLiteral("5"))
        message.SetPriority(ptLow);
    else
        message.SetPriority(ptNormal);

    if (!GetFieldValue(headers, QStringLiteral("Return-receipt-to")).isEmpty())
        message.SetReturnReceipt(true);

    message.SetHeaders(headers);
}
