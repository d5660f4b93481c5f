#pragma once

#include <QString>
#include <QStringList>

// A sectioned "key=value" settings file such as "tarnwick.ini", shared by several parts of
// the program that each own a few sections. Section and key names match without regard to
// ASCII case, the way the old Windows ini functions did. Everything this class does not
// change - other sections, other keys, comments, blank lines, lines it does not understand -
// is written back exactly as it was read and in the same place, so one part saving its keys
// never drops another part's.
//
// QSettings is not used on purpose: it matches names case-sensitively and escapes values.
class TIniFile
{
public:
    TIniFile() = default;

    // Replaces the content with the file's. A missing file is an empty ini and not an error;
    // a file that exists but cannot be read leaves the content empty, returns false and sets
    // errorText. The file may be UTF-8 or Latin-1, with CR LF or LF line ends.
    bool Load(const QString &path, QString *errorText = nullptr);
    // Writes the whole file through a temporary file that replaces the old one only when
    // everything was written; on failure the old file stays as it was.
    bool Save(const QString &path, QString *errorText = nullptr) const;

    void SetLines(const QStringList &lines);
    QStringList Lines() const { return m_lines; }

    // The value of the first such key in the first such section, blanks and control
    // characters trimmed; defaultValue when either is missing.
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // Decimal integer; defaultValue when missing or not a number that fits.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // Written as "1"/"0"; any integer other than 0 reads as true.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    QStringList Sections() const;
    QStringList Keys(const QString &section) const;

    // Replaces the value of an existing key in place (keeping the key's spelling), or adds
    // the key after the last entry of the section, or adds the section at the end.
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);
    void DeleteKey(const QString &section, const QString &key);

private:
    int findSection(const QString &section) const;   // line index of "[section]", or -1
    int sectionEnd(int headerLine) const;             // first line after the section
    int findKey(int headerLine, const QString &key) const; // line index, or -1

    QStringList m_lines;
};
