#pragma once

#include "address.h"
#include "headers.h"
#include "msmime.h"

#include <QString>
#include <QStringList>

// Vocabulary shared by the parser and the writer of whole messages.
enum TMsgEncoding { meMIME, meUU };
enum TCharSet { csUSASCII, csISO8859 };
enum TPriority { ptLow, ptNormal, ptHigh };

// A whole mail message: header fields, text body and attachments.
class TmsMessage
{
public:
    const TmsMailAddress &Sender() const { return m_sender; }
    TmsMailAddress &Sender() { return m_sender; }
    const TmsAddressList &Recipients() const { return m_recipients; }
    TmsAddressList &Recipients() { return m_recipients; }
    const TmsAddressList &CC() const { return m_cc; }
    TmsAddressList &CC() { return m_cc; }
    const TmsAddressList &BCC() const { return m_bcc; }
    TmsAddressList &BCC() { return m_bcc; }

    QString Subject() const { return m_subject; }
    void SetSubject(const QString &subject);
    TPriority Priority() const { return m_priority; }
    void SetPriority(TPriority priority) { m_priority = priority; }
    bool ReturnReceipt() const { return m_returnReceipt; }
    void SetReturnReceipt(bool on) { m_returnReceipt = on; }
    const TmsHeaders &Headers() const { return m_headers; }
    void SetHeaders(const TmsHeaders &headers) { m_headers = headers; }

    // The decoded text body, one entry per line.
    const QStringList &Body() const { return m_body; }
    QStringList &Body() { return m_body; }
    const TmsAttList &Attachments() const { return m_attachments; }
    TmsAttList &Attachments() { return m_attachments; }
    // meUU once a uuencoded file was found in a plain message.
    TMsgEncoding Encoding() const { return m_encoding; }
    void SetEncoding(TMsgEncoding encoding) { m_encoding = encoding; }
    // csISO8859 once a quoted-printable body was decoded.
    TCharSet CharSet() const { return m_charSet; }
    void SetCharSet(TCharSet charSet) { m_charSet = charSet; }
    QString ContentType() const { return m_contentType; }
    void SetContentType(const QString &contentType); // stored in lower case, at most 255 characters

    // Back to a fresh message: no addresses, subject, headers, body or attachments, default
    // encoding, character set and content type, normal priority, no return receipt (a message
    // parsed next must not inherit the last one's request for a receipt).
    void Clear();

private:
    TmsMailAddress m_sender;
    TmsAddressList m_recipients;
    TmsAddressList m_cc;
    TmsAddressList m_bcc;
    QString m_subject;
    TPriority m_priority = ptNormal;
    bool m_returnReceipt = false;
    TmsHeaders m_headers;
    QStringList m_body;
    TmsAttList m_attachments;
    TMsgEncoding m_encoding = meMIME;
    TCharSet m_charSet = csUSASCII;
    QString m_contentType;
};

// Fills the message's properties from header lines. Recipients, CC and BCC are appended to
// (the caller clears the message first); a missing Subject or Return-receipt-to leaves the
// old value. Never throws, whatever the lines hold.
void ReadHeaderFields(TmsMessage &message, const TmsHeaders &headers);
