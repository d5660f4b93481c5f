#pragma once

#include <QByteArray>
#include <QString>

// Reading the values of Content-Type and Content-Disposition fields, and text in the charset
// they declare.

// The media type of a Content-Type value: up to the first blank or ";", trimmed.
QString MediaType(const QString &contentType);

// A MIME-Version value that is "1.0", also with a comment such as "1.0 (produced by X)".
bool IsMime10(const QString &value);

// Text bytes in the declared charset. No charset, US-ASCII or one the system does not know:
// UTF-8 when the bytes are valid UTF-8, else Latin-1, so that no byte is lost.
QString DecodeText(const QByteArray &bytes, const QString &charset);

// A parameter's value, found by its whole name in any case, never inside another
// parameter's value. RFC 2231 forms are decoded: "name*=UTF-8''r%C3%A9sum%C3%A9.pdf" and
// the sections "name*0*=", "name*1*=" joined in order; they win over a plain "name=".
QString GetParam(const QString &name, const QString &value);
