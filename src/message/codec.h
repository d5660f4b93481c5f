#pragma once

#include <QByteArray>
#include <optional>

// Value of one hexadecimal digit in either case, -1 for anything else.
int HexValue(char c);

// Base64 of complete four-character groups ("=" padding is counted per group); an empty
// optional for a character outside the alphabet (the caller decides what a bad word means).
std::optional<QByteArray> DecodeBase64Text(const QByteArray &text);
QByteArray EncodeBase64Text(const QByteArray &bytes);

// One quoted-printable line: "=XX" escapes, a final "=" is a soft break; only the text
// before the first decoded line break remains.
QByteArray DecodeQPText(const QByteArray &text);
