#pragma once

#include "message.h"
#include "msmime.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;
class QRandomGenerator;

namespace MsgText {
inline constexpr int kSenderRequired = 57100;
inline constexpr int kRecipientRequired = 57101;
inline constexpr int kMultipartPreamble = 57106;
} // namespace MsgText

// The texts of the writer's message table entries (57100, 57101, 57106); empty for others.
QString EncoderMessageText(int id);

// Whether the message can be sent: throws EMessageError 57100 without a sender address, 57101
// when no entry of Recipients, CC or BCC has an address.
void ValidateMessage(const TmsMessage &message);

// The content type the message is written as (empty for a uuencoded message): a multipart type
// when it carries attachments beside a body, the lone attachment's type when it is all there is,
// the type the message was given when it has a body and nothing else, else "text/plain".
QString ComputedContentType(const TmsMessage &message);

// Quoted-printable encoding of text whose paragraphs end in LF or CR LF, one output line per
// piece. A paragraph is cut into pieces of at most 65 source bytes, before its last blank when
// it has one after the piece's first byte, and every piece but the paragraph's last ends with
// the soft break "=". Bytes below 32, "=", bytes from 128 and a blank or tab that ends a
// paragraph become "=XX". When the text does not end in a line break, the last line gets a soft
// break too, so that decoding gives back the text without an added line end.
// Throws EMimeDecodeError "Paragraph is too large" for a paragraph over 24576 bytes.
QList<QByteArray> EncodeQuotedPrintable(const QByteArray &text);

// Data as uuencoded lines of 45 bytes each (without the begin and end lines).
QList<QByteArray> UUEncodeLines(const QByteArray &data);

// Writes a message out as Internet mail text: header lines, then the body in the form its
// content type calls for, every line ended by CR LF. Lines that begin with "." have that dot
// doubled, so the text can be handed to an SMTP data phase as it stands (the final "." line is
// not part of it). The message itself is never changed: writing it twice gives the same text
// (multipart boundaries aside, which are drawn at random unless a generator is given).
class TmsMessageEncoder
{
public:
    // random: where multipart boundaries come from; the global generator when null.
    explicit TmsMessageEncoder(const TmsMessage &message, QRandomGenerator *random = nullptr);

    // The whole text. Throws EMimeDecodeError "Paragraph is too large" (see
    // EncodeQuotedPrintable); validation is the sender's business (ValidateMessage).
    QByteArray Encode();

    // Eight digits 0 to 8, different from avoid and found in none of the message's text.
    QString NewBoundary(const QString &avoid = QString());

private:
    void WriteLine(const QByteArray &line);
    void WriteLine(const QString &line) { WriteLine(line.toUtf8()); }
    void WriteLines(const QList<QByteArray> &lines);
    void WriteHeader();
    void WriteAddressBlock(const QString &name, const TmsAddressList &list);
    void WriteUUBody();
    void WritePlainBody();
    void WriteTextPartHeader();
    void WriteTextLines();
    void WriteDocumentBody(const QString &type);
    void WriteMultipartBody(const QString &type);
    void WriteAttachmentPart(const TmsAttItem &item, bool carriesBody);
    void WriteAttachmentData(const TmsAttItem &item);
    bool UsesQuotedPrintable() const;
    QByteArray CharsetParameter() const;
    QByteArray BodyBytes() const;
    bool ContainsText(const QByteArray &needle) const;

    const TmsMessage &m_message;
    QRandomGenerator *m_random;
    // What the text needs: ASCII, Latin-1, or UTF-8 for characters beyond Latin-1.
    enum class TextCharset { Ascii, Latin1, Utf8 };
    TextCharset m_charset = TextCharset::Ascii;
    bool m_longLines = false;
    QByteArray m_out;
};

// Writes the message to the device from its start; a file or buffer is cut after the text, so
// that nothing of a longer text saved there before remains. Throws EMessageFileError when the device takes the text only
// in part, and what Encode throws.
void SaveToStream(const TmsMessage &message, QIODevice &stream);
