#pragma once

#include <QString>
#include <QStringList>

// The header lines of one message, one entry per physical line as received (continuation
// lines are separate entries), nothing after the first empty line.
using TmsHeaders = QStringList;

// Value of the first field of that name ("Subject" or "Subject:"), with its continuation
// lines joined by one blank, encoded words decoded (except Content-Type and X-UIDL), at most
// 255 characters. Empty when there is no such field. Never throws: a malformed encoded word
// stays as its raw text.
QString GetFieldValue(const TmsHeaders &headers, const QString &fieldName);

// The same field with its continuation lines joined, as received: no encoded word decoded,
// nothing cut. Address fields are read from this, so that decoding cannot make a display
// name look like an address.
QString GetFieldText(const TmsHeaders &headers, const QString &fieldName);

// Header bytes as lines (LF or CRLF), each line read as UTF-8 when it is valid UTF-8 and
// as Latin-1 otherwise.
TmsHeaders DecodeHeaderLines(const QByteArray &bytes);

// Clears list, then appends one entry per comma-separated item of every field whose line
// begins with fieldName (as passed, no colon added, so "TO" also takes "To-Do:"). The lines
// that follow a matching one continue it while they begin with a blank or hold no colon;
// each line is split by itself. Commas inside double quotes do not split. A matching line
// without any colon ends the whole list. The items are trimmed but not decoded: the address
// reader splits each one first and decodes only its display name.
void GetFieldList(const TmsHeaders &headers, const QString &fieldName, QStringList &list);

// Deletes the first field of that name and its continuation lines.
void RemoveField(TmsHeaders &headers, const QString &fieldName);

// Deletes the first exactly empty line and everything after it.
void TruncateAtBody(TmsHeaders &headers);

// Decodes RFC 2047 encoded words ("=?charset?B|Q?text?=", letter in either case); the result
// holds at most 255 characters. Adjacent words of one charset are joined as bytes before the
// charset is applied; an unknown charset reads as Latin-1. Blanks between two encoded words
// are dropped; blanks between an encoded word and plain text stay, so that no word can be
// glued to a keyword. Once a word was decoded every underscore of the value becomes a blank
// (rule lists rely on it). A word that does not decode stays as received; a word that
// never closes cuts the value just before its "=?". Never throws.
QString DecodeEncodedWords(const QString &text);

// Trims blanks and control characters, then removes every leading and trailing double quote.
QString StripQuotes(const QString &text);
