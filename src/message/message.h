#pragma once

#include "address.h"
#include "headers.h"

#include <QString>

// Vocabulary shared by the parser and the writer of whole messages.
enum TMsgEncoding { meMIME, meUU };
enum TCharSet { csUSASCII, csISO8859 };
enum TPriority { ptLow, ptNormal, ptHigh };

// A mail message as far as its header fields go.
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

    // Back to a fresh message: no addresses, no subject, normal priority, no headers.
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
};

// Fills the message's properties from header lines. Recipients, CC and BCC are appended to
// (the caller clears the message first); a missing Subject or Return-receipt-to leaves the
// old value. Never throws, whatever the lines hold.
void ReadHeaderFields(TmsMessage &message, const TmsHeaders &headers);
