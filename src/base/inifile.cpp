#include "inifile.h"

#include "files.h"
#include "textutil.h"

#include <optional>

namespace {

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The name of a "[name]" line, or an empty optional when the line is something else.
std::optional<QString> sectionName(const QString &line)
{
    const QString trimmed = TrimControls(line);
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return TrimControls(trimmed.mid(1, close - 1));
}

// Splits "key=value" at the first "="; false for comments, section lines and lines
// without a key.
bool splitEntry(const QString &line, QString *key, QString *value)
{
    const QString trimmed = TrimControls(line);
    if (trimmed.isEmpty() || isComment(trimmed) || trimmed.startsWith(u'['))
        return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = TrimControls(line.left(eq));
    if (key->isEmpty())
        return false;
    if (value)
        *value = TrimControls(line.mid(eq + 1));
    return true;
}

} // namespace

bool TIniFile::Load(const QString &path, QString *errorText)
{
    m_lines.clear();
    QString error;
    const std::optional<QStringList> lines = ReadTextLines(path, &error);
    if (errorText)
        *errorText = error;
    if (lines)
        m_lines = *lines;
    return lines.has_value() || error.isEmpty();
}

bool TIniFile::Save(const QString &path, QString *errorText) const
{
    return WriteTextLines(path, m_lines, errorText);
}

void TIniFile::SetLines(const QStringList &lines)
{
    m_lines = lines;
}

int TIniFile::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const std::optional<QString> name = sectionName(m_lines.at(i));
        if (name && AsciiEqualsIgnoreCase(*name, section))
            return i;
    }
    return -1;
}

int TIniFile::sectionEnd(int headerLine) const
{
    int i = headerLine + 1;
    while (i < m_lines.size() && !sectionName(m_lines.at(i)))
        ++i;
    return i;
}

int TIniFile::findKey(int headerLine, const QString &key) const
{
    const int end = sectionEnd(headerLine);
    QString name;
    for (int i = headerLine + 1; i < end; ++i)
        if (splitEntry(m_lines.at(i), &name, nullptr) && AsciiEqualsIgnoreCase(name, key))
            return i;
    return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const int header = findSection(section);
    if (header < 0)
        return defaultValue;
    const int line = findKey(header, key);
    if (line < 0)
        return defaultValue;
    QString name, value;
    splitEntry(m_lines.at(line), &name, &value);
    return value;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = ReadString(section, key).toInt(&ok);
    return ok ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString &section) const
{
    return findSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    const int header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

QStringList TIniFile::Sections() const
{
    QStringList names;
    for (const QString &line : m_lines)
        if (const std::optional<QString> name = sectionName(line))
            names.append(*name);
    return names;
}

QStringList TIniFile::Keys(const QString &section) const
{
    QStringList keys;
    const int header = findSection(section);
    if (header < 0)
        return keys;
    const int end = sectionEnd(header);
    QString name;
    for (int i = header + 1; i < end; ++i)
        if (splitEntry(m_lines.at(i), &name, nullptr))
            keys.append(name);
    return keys;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    // Line breaks inside a value would turn its tail into lines of their own.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    int header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !TrimControls(m_lines.last()).isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + section + u']');
        m_lines.append(key + u'=' + clean);
        return;
    }
    const int line = findKey(header, key);
    if (line >= 0) {
        const QString old = m_lines.at(line);
        m_lines[line] = old.left(old.indexOf(u'=') + 1) + clean;
        return;
    }
    // After the section's last non-blank line, so a blank line that separates it from the
    // next section stays where it is.
    int insertAt = sectionEnd(header);
    while (insertAt > header + 1 && TrimControls(m_lines.at(insertAt - 1)).isEmpty())
        --insertAt;
    m_lines.insert(insertAt, key + u'=' + clean);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    const int header = findSection(section);
    if (header < 0)
        return;
    const int line = findKey(header, key);
    if (line >= 0)
        m_lines.removeAt(line);
}
