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

// Clears list, then appends one entry per comma-separated item of every field whose line
// begins with fieldName (as passed, no colon added), continuation lines included. Commas
// inside double quotes do not split.
void GetFieldList(const TmsHeaders &headers, const QString &fieldName, QStringList &list);

// Deletes the first field of that name and its continuation lines.
void RemoveField(TmsHeaders &headers, const QString &fieldName);

// Deletes the first exactly empty line and everything after it.
void TruncateAtBody(TmsHeaders &headers);

// Decodes RFC 2047 encoded words ("=?charset?B|Q?text?="); at most 255 characters in and out.
// Adjacent encoded words are joined as bytes before their charset is applied. Never throws.
QString DecodeEncodedWords(const QString &text);

// Trims blanks and control characters, then removes every leading and trailing double quote.
QString StripQuotes(const QString &text);
