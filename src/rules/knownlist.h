#pragma once

#include <QString>
#include <QStringList>

// The known-spammer blacklist in memory: one entry per line of "known.lst" (whole addresses
// and domain names), kept in ascending order under one fixed comparison that sorting,
// searching and saving all use: ASCII case-insensitive, independent of the locale, on the
// first 80 characters of an entry. A locale-aware order that the search did not share would
// make the binary search miss entries, and a lax collation would find wrong ones.
class TKnownList
{
public:
    static constexpr int kKeyLength = 80;

    // The order of the list: <0, 0, >0 like strcmp.
    static int Compare(const QString &a, const QString &b);

    // Empties the list and fills it from the file (default: "known.lst" in the data folder),
    // one entry per line. A missing file leaves the list empty without a message; an
    // unreadable one too, and errorText says why.
    void LoadUpKnownList(const QString &path = QString(), QString *errorText = nullptr);
    // Replaces the entries; they are sorted here.
    void SetEntries(const QStringList &entries);
    // Adds one entry at its sorted place, after equal entries.
    void Insert(const QString &entry);
    void Clear();

    int Count() const { return int(m_entries.size()); }
    const QStringList &Entries() const { return m_entries; }

    // --- saving the editor's text (the "BlackList" tab) ---

    // The editor's text as lines. A final line break ends the last entry; without one, the
    // last line is an entry all the same, so nothing the user typed is lost.
    static QStringList EditorLines(const QString &text);
    // True for an address whose part before the first "@" is made only of digits and
    // underscores (an empty part too): such senders are generated, never a known spammer.
    static bool HasNumericLocalPart(const QString &entry);
    // The cleaned, sorted entries that saving keeps: a line equal, apart from ASCII case,
    // to the line directly above it is dropped (only neighbours: equal lines further apart
    // both stay), and so is an address with a numeric local part.
    static QStringList CleanEditorLines(const QStringList &lines);
    // Rebuilds the list from the editor's lines and writes it to the file (default:
    // "known.lst" in the data folder) when that file exists; a missing file is not created.
    // All or nothing: when the file cannot be written, the list and the file stay as they
    // were, errorText says why and the result is false.
    bool SaveKnownList(const QStringList &editorLines, const QString &path = QString(),
                       QString *errorText = nullptr);
    static QString DefaultPath();

    // Binary search for the key among the entries' first 80 characters. An empty key is
    // never looked up, so an empty entry (a blank line) matches nothing.
    bool Contains(const QString &key) const;

    // The whole sender address first (kind "E-mail", entry the address); then, when it has
    // an "@", the part after the first "@" (kind "Domain", entry that part, at most 255
    // characters). kind and entry are set for the last lookup made.
    bool isInKnownList(const QString &sender, QString &kind, QString &entry) const;

private:
    QStringList m_entries;
    // The upper-cased first 80 characters of each entry, in the same order, so a lookup
    // compares plain code units.
    QStringList m_keys;
};
