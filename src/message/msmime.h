#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <exception>

// Errors of the mail library's message classes. Code() is the number of the message table
// entry the text comes from, or 0 when the text has no number.
//
//   EMessageError
//    +- EMessageParserError   the message's structure could not be followed (mspars.h)
//    +- EMimeDecodeError      a codec met bytes it cannot decode ("Invalid Character",
//                             "Paragraph is too large")
//    +- EMessageFileError     a message file could not be opened or read
class EMessageError : public std::exception
{
public:
    explicit EMessageError(const QString &message, int code = 0)
        : m_message(message), m_utf8(message.toUtf8()), m_code(code)
    {
    }
    const QString &Message() const noexcept { return m_message; }
    int Code() const noexcept { return m_code; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
    int m_code;
};

class EMimeDecodeError : public EMessageError
{
public:
    using EMessageError::EMessageError;
};

class EMessageFileError : public EMessageError
{
public:
    using EMessageError::EMessageError;
};

// The message table of the message classes, by the numbers the mail library has always used.
namespace MsgText {
inline constexpr int kMissingContentType = 57108;
inline constexpr int kNoClosingBoundary = 57109;
inline constexpr int kNoBoundary = 57110;
inline constexpr int kAttachmentDecoding = 57111;
} // namespace MsgText

// The text of a message table entry; empty for a number the table does not hold.
QString MessageTableText(int id);

// Texts of the codecs.
inline constexpr char kInvalidCharacterText[] = "Invalid Character";
inline constexpr char kParagraphTooLargeText[] = "Paragraph is too large";

// How an attachment's data travels in a message. The numbers are fixed: they are stored.
enum TmsAttEncoding : int { aeSevenBit = 0, aeBase64 = 1, aeQuotedPrintable = 2 };

// "7 bit", "Base64", "Quoted-Printable".
QString AttEncodingName(TmsAttEncoding kind);

// The media type registered for a file name's extension, looked up by the name alone (the
// file is never opened); "application/octet-stream" when the extension is unknown.
QString MediaTypeForFileName(const QString &fileName);

// Reduces an attachment name taken from a message to a plain file name that is safe to
// create inside a folder: only the part after the last "/" or "\", no control characters,
// no leading or trailing blanks or dots (so never "." or ".." or a hidden file), and at most
// 255 bytes in UTF-8 (the extension is kept when the stem has to be cut). Empty when nothing
// usable is left; the caller then picks a name of its own.
QString SafeAttachmentFileName(const QString &name);

// One attachment: its name, media type, transfer encoding and decoded data.
class TmsAttItem
{
public:
    QString FileName() const { return m_fileName; }
    // Stores the name (cut to 255 characters). A non-empty name also sets ContentType to the
    // media type registered for its extension and the encoding to the one that type travels
    // in: quoted-printable for text/plain, text/rtf and text/html, 7 bit for message/rfc822,
    // base64 for everything else.
    void SetFileName(const QString &fileName);
    QString ContentType() const { return m_contentType; }
    void SetContentType(const QString &contentType); // cut to 255 characters
    TmsAttEncoding Encoding() const { return m_encoding; }
    void SetEncoding(TmsAttEncoding encoding) { m_encoding = encoding; }
    const QByteArray &Data() const { return m_data; }
    QByteArray &Data() { return m_data; }
    void SetData(const QByteArray &data) { m_data = data; }

    bool operator==(const TmsAttItem &) const = default;

private:
    QString m_fileName;
    QString m_contentType;
    TmsAttEncoding m_encoding = aeSevenBit;
    QByteArray m_data;
};

// The attachments of a message, in message order.
class TmsAttList
{
public:
    int Count() const { return int(m_items.size()); }
    TmsAttItem &Item(int index) { return m_items[index]; }
    const TmsAttItem &Item(int index) const { return m_items[index]; }
    void Append(const TmsAttItem &item) { m_items.append(item); }
    void Clear() { m_items.clear(); }
    bool operator==(const TmsAttList &) const = default;

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    QList<TmsAttItem> m_items;
};

// Quoted-printable over a byte stream and a list of lines.
class TQuotedPrintable
{
public:
    // The longest paragraph (lines joined by soft breaks) that decoding accepts, in bytes.
    static constexpr qsizetype kParagraphLimit = 24576;

    TQuotedPrintable(QByteArray &stream, QList<QByteArray> &lines) : m_stream(stream), m_lines(lines) {}

    // Appends the decoded bytes of the lines to the stream. A line that ends in "=" (after
    // its trailing blanks) is a soft break and continues on the next line; every other line
    // ends with CR LF, unless its last decoded byte is 26 (the old end-of-file mark). "=XX"
    // with two hex digits is that byte; any other "=" stays. Throws EMimeDecodeError
    // "Paragraph is too large" when a paragraph exceeds kParagraphLimit.
    void Decode();

private:
    QByteArray &m_stream;
    QList<QByteArray> &m_lines;
};
