#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Pure readers of IMAP4rev1 responses (RFC 3501): no sockets, no event loop. A response is
// handed over whole: its line without the line end, and each literal as it came, "{n}" CR LF
// and then the n bytes, followed by the rest of the line.

// One value of a response: an atom (also a number, a flag such as \Seen, or a fetch item name
// with its section such as BODY[HEADER]), a quoted string or literal, NIL, or a parenthesised
// list.
struct ImapValue {
    enum class Kind { Atom, String, Nil, List };
    Kind kind = Kind::Atom;
    QByteArray text;           // the atom's or the string's bytes
    QList<ImapValue> items;    // the list's values

    bool IsAtom(const char *name) const;   // an atom of this name, without regard to case
    // The atom as a number within 0 .. 2^32-1 (what IMAP numbers are); nothing otherwise.
    std::optional<quint32> Number() const;
    // The atom as a 63-bit size; nothing when it is not a number or larger than that.
    std::optional<qint64> Size() const;
};

struct ImapResponse {
    enum class Kind { Invalid, Untagged, Tagged, Continuation };
    Kind kind = Kind::Invalid;
    QByteArray tag;            // of a tagged response
    // OK, NO, BAD, BYE or PREAUTH for status responses; for data the keyword (CAPABILITY,
    // SEARCH, LIST, FLAGS, EXISTS, FETCH, EXPUNGE, ...). Upper case.
    QByteArray status;
    qint64 number = -1;        // "* n EXISTS", "* n FETCH": n; -1 for other responses
    QByteArray code;           // the response code's name ("UIDVALIDITY"), upper case; may be empty
    QList<ImapValue> codeArgs; // what follows the code's name inside the brackets
    QList<ImapValue> data;     // the values after the keyword of a data response
    QString text;              // the human-readable text of a status or continuation response

    bool IsStatus() const;     // OK, NO, BAD, BYE or PREAUTH
};

// The deepest nesting of parenthesised lists accepted; deeper responses are invalid.
inline constexpr int kImapMaxNesting = 16;

// Reads one whole response; Kind::Invalid when it does not follow the grammar.
ImapResponse ParseImapResponse(const QByteArray &response);

// When a line read from the server ends with a literal's announcement "{n}", the n; -1
// otherwise. A number too large for 63 bits also gives -1 (the line is then invalid).
qint64 ImapLiteralAtEnd(const QByteArray &line);

// What a server announces in CAPABILITY (a response or the response code). Names are kept in
// upper case.
struct ImapCapabilities {
    QStringList names;
    bool Has(const char *name) const;
    // The SASL mechanisms of AUTH=..., upper case.
    QStringList AuthMechanisms() const;
    bool Empty() const { return names.isEmpty(); }
};
ImapCapabilities ImapCapabilitiesFrom(const QList<ImapValue> &values);

// The UIDs of a SEARCH response; invalid entries make the whole response unusable (nothing).
std::optional<QList<quint32>> ImapSearchResult(const ImapResponse &response);

// The items of one FETCH response that a listing and a check use.
struct ImapFetchItems {
    quint32 uid = 0;                   // 0: not sent
    qint64 size = -1;                  // RFC822.SIZE; -1: not sent
    std::optional<QByteArray> header;  // BODY[HEADER]
    std::optional<QByteArray> body;    // BODY[] (the whole message)
};
// Nothing when the response is not a FETCH or its items do not follow the grammar.
std::optional<ImapFetchItems> ImapFetchFrom(const ImapResponse &response);

// One LIST response: the folder's attributes (\Junk, \Trash, \Noselect, ...), upper case,
// its hierarchy delimiter (empty for none) and its name as sent.
struct ImapListEntry {
    QStringList attributes;
    QByteArray delimiter;
    QByteArray name;
};
std::optional<ImapListEntry> ImapListFrom(const ImapResponse &response);

// A string as a command argument: an atom when it is one, a quoted string when it can be,
// nothing when it needs a literal (8-bit bytes, CR, LF or NUL).
std::optional<QByteArray> ImapQuoted(const QByteArray &text);

// A folder's name as IMAP4rev1 writes it (modified UTF-7, RFC 3501 5.1.3): "Entwürfe" is
// "Entw&APw-rfe". ImapMailboxText reads one back; a name that is not valid modified UTF-7 is
// shown as it came.
QByteArray ImapMailboxName(const QString &name);
QString ImapMailboxText(const QByteArray &name);

// A set of UIDs as a command's sequence set, with runs joined ("3:7,9").
QByteArray ImapUidSet(QList<quint32> uids);
