#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Mailbox passwords are kept in the settings file scrambled, so that a glance at the file
// does not show them. This is a scramble, not encryption: the file itself is protected by
// being readable by its owner only.
//
// The scheme XORs every byte with the high byte of a running 16-bit key and advances the key
// with the scrambled byte: key = ((key + scrambled byte) * kScrambleMultiplier
// + kScrambleAddend) mod 65536. Slot n (1 ... 12) starts at n + kScrambleKeyOffset.
// Changing any of these three constants makes every stored password unreadable.
constexpr quint16 kScrambleKeyOffset = 0x3C6E;
constexpr quint16 kScrambleMultiplier = 0xA7D3;
constexpr quint16 kScrambleAddend = 0x1F35;

constexpr int kMailboxSlots = 12;

// The starting key of mailbox slot n.
quint16 ScrambleStartKey(int slot);

// Byte-wise scrambling; the result always has the input's length. The key simply keeps
// running past 255 bytes, so a long password is kept whole rather than cut.
QByteArray ScrambleBytes(const QByteArray &plain, quint16 startKey);
QByteArray UnscrambleBytes(const QByteArray &scrambled, quint16 startKey);

// The stored form of slot n's password: the UTF-8 bytes scrambled with the slot's key and
// written as lower-case hexadecimal, two digits a byte. A scrambled byte may be anything,
// a zero byte or a line break included, and hex text survives the settings file untouched.
QString ScramblePassword(const QString &password, int slot);

// Reverses ScramblePassword. Empty when the stored text is not hexadecimal (a hand-edited
// or damaged value); an empty stored text is an empty password. Bytes that are not UTF-8
// after unscrambling are read as Latin-1, so no character is dropped.
std::optional<QString> UnscramblePassword(const QString &stored, int slot);
