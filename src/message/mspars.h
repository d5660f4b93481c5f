#pragma once

#include "message.h"
#include "msmime.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

// The message's structure could not be followed: a missing Content-Type, a boundary that
// never comes, an attachment that does not decode, or more parts or deeper nesting than the
// parser takes. The parser turns it into an explanation in the body and keeps the whole
// message as the attachment "original.eml"; it never reaches the caller of LoadFromStream.
class EMessageParserError : public EMessageError
{
public:
    explicit EMessageParserError(int code) : EMessageError(MessageTableText(code), code) {}
    explicit EMessageParserError(const QString &message) : EMessageError(message) {}
};

// Hands out the lines of a device one at a time. The device is read in blocks; a line is
// whatever lies between two LFs (a CR before the LF is dropped), however many blocks it
// spans, and a last line without a line break is handed out too.
class TLineStream
{
public:
    static constexpr qint64 kBlockSize = 16384;

    explicit TLineStream(QIODevice &device) : m_device(device) {}

    // The next line without its line break; false at the end of data.
    bool ReadLine(QByteArray &line);
    // Back to the first line (the device must be able to seek).
    void Reset();

private:
    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;  // start of the next line in m_buffer
    qsizetype m_scan = 0; // where the search for its LF goes on
    bool m_atEnd = false;
};

// One parse of one message. Use LoadFromStream / LoadFromFile rather than this directly.
class TmsMessageDecoder
{
public:
    // A message with more parts, or parts nested deeper, ends with an EMessageParserError.
    static constexpr int kMaxParts = 1000;
    static constexpr int kMaxDepth = 16;

    // The device must be open for reading and able to seek back to its start.
    TmsMessageDecoder(TmsMessage &message, QIODevice &input);
    TmsMessageDecoder(const TmsMessageDecoder &) = delete;
    TmsMessageDecoder &operator=(const TmsMessageDecoder &) = delete;
    ~TmsMessageDecoder();

    void Decode();
    // The text of the EMessageParserError that ended the parse, empty when there was none.
    QString ParserError() const;

private:
    struct Impl;
    Impl *d;
};

// Clears the message and parses the file into it. Throws EMessageFileError when the file
// cannot be opened or read, EMimeDecodeError for a single-part body that does not decode;
// structural faults end up in the message itself (see EMessageParserError), and their text
// in *parserError when given (empty when the structure was sound).
void LoadFromFile(TmsMessage &message, const QString &fileName, QString *parserError = nullptr);

// Parses the device from its start into the message, which is not cleared first. A device
// that cannot seek is read whole into memory first. Throws like LoadFromFile.
void LoadFromStream(TmsMessage &message, QIODevice &stream, QString *parserError = nullptr);
