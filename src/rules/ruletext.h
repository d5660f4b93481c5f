#pragma once

#include <QString>
#include <QStringView>

// The text tests that rules are made of. "Not case-sensitive" folds only the ASCII letters
// a-z on both sides; accented letters compare as they are, whatever the locale.

// The 35 characters that separate words for "Contains (whole word)": tab, apostrophe, CR,
// LF, space and , . / ? ; : ` " < > [ ] { } - = \ + | ( ) % @ & ^ $ # ! ~ *
// Letters, digits and the underscore never separate words.
extern const QString WordDelimiters;
bool isWordDelimiter(QChar c);

// Empty, or only space, CR, LF and the character with code 8 (the tab is not blank).
bool isBlank(QStringView text);

// An empty value never matches; neither does an empty text.
bool containsText(QStringView text, QStringView value, bool caseSensitive);
// An empty value matches only an empty text.
bool equalsText(QStringView text, QStringView value, bool caseSensitive);
// An empty value matches every text; a value longer than the text never matches.
bool startsWithText(QStringView text, QStringView value, bool caseSensitive);
// An empty value matches every text; a value of more than 255 characters never matches.
bool endsWithText(QStringView text, QStringView value, bool caseSensitive);

// True when a non-empty piece of the text, cut at every word delimiter, equals the word.
// Blank text or word never match; a word holding a delimiter cannot match.
bool WholeWordCheck(QStringView text, QStringView word, bool caseSensitive);

bool isDigitChar(QChar c);
// Digits "0"-"9" and underscores.
int countDigits(QStringView text);
QString stripDigits(QStringView text);
// Not blank and no ASCII lower-case letter (digits and punctuation alone qualify).
bool isUpperCaseText(QStringView text);
// countDigits equals the length; an empty text qualifies.
bool isAllNumeric(QStringView text);
// countDigits is at least half the length, rounded down; an empty text qualifies.
bool isHalfNumeric(QStringView text);
// The first character is "0"-"9" (not the underscore).
bool isFirstCharNumeric(QStringView text);

QString boolToYN(bool flag);   // "Y" or "N"
QString pluralS(int count);    // "" for 1, else "s"

// The five text operators, resolved once for a rule that is tried on many header lines.
enum class TextOp { None, Contains, ContainsWholeWord, Equals, StartsWith, EndsWith };
TextOp ParseTextOp(QStringView op);
// TextOp::None never matches.
bool matchTextOp(TextOp op, QStringView text, QStringView value, bool caseSensitive);

// The text with a-z turned into A-Z and nothing else changed. A test without case
// sensitivity gives the same answer on folded text and value with case sensitivity, so a
// rule's value and a message's texts can be folded once instead of at every comparison.
QString foldAsciiCase(QStringView text);
