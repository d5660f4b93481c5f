#include "knownlist.h"

#include "files.h"
#include "textutil.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

QString searchKey(const QString &entry)
{
    return AsciiUpper(CutText(entry, TKnownList::kKeyLength));
}

} // namespace

int TKnownList::Compare(const QString &a, const QString &b)
{
    return AsciiCompareIgnoreCase(CutText(a, kKeyLength), CutText(b, kKeyLength));
}

QString TKnownList::DefaultPath()
{
    return DataFile(QStringLiteral("known.lst"));
}

void TKnownList::LoadUpKnownList(const QString &path, QString *errorText)
{
    const std::optional<QStringList> lines =
        ReadTextLines(path.isEmpty() ? DefaultPath() : path, errorText);
    SetEntries(lines.value_or(QStringList()));
}

void TKnownList::SetEntries(const QStringList &entries)
{
    QStringList keys;
    keys.reserve(entries.size());
    for (const QString &entry : entries)
        keys.append(searchKey(entry));
    std::vector<qsizetype> order(size_t(entries.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    // Stable, so entries that compare equal keep the order of the file.
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys.at(a) < keys.at(b);
    });
    m_entries.clear();
    m_keys.clear();
    m_entries.reserve(entries.size());
    m_keys.reserve(entries.size());
    for (const qsizetype i : order) {
        m_entries.append(entries.at(i));
        m_keys.append(keys.at(i));
    }
}

void TKnownList::Insert(const QString &entry)
{
    const QString key = searchKey(entry);
    const auto at = std::upper_bound(m_keys.cbegin(), m_keys.cend(), key);
    const qsizetype pos = at - m_keys.cbegin();
    m_keys.insert(pos, key);
    m_entries.insert(pos, entry);
}

void TKnownList::Clear()
{
    m_entries.clear();
    m_keys.clear();
}

QStringList TKnownList::EditorLines(const QString &text)
{
    // SplitLines already treats a final line break as the end of the last line rather than
    // the start of an empty one, and keeps a last line that has no break after it.
    return SplitLines(text);
}

bool TKnownList::HasNumericLocalPart(const QString &entry)
{
    const qsizetype at = entry.indexOf(u'@');
    if (at < 0)
        return false;
    for (qsizetype i = 0; i < at; ++i) {
        const QChar c = entry.at(i);
        if (!(c >= u'0' && c <= u'9') && c != u'_')
            return false;
    }
    return true;
}

QStringList TKnownList::CleanEditorLines(const QStringList &lines)
{
    TKnownList cleaned;
    QString previous;
    for (const QString &line : lines) {
        const QString upper = AsciiUpper(line);
        if (upper != previous && !HasNumericLocalPart(line))
            cleaned.Insert(line);
        previous = upper;
    }
    return cleaned.m_entries;
}

bool TKnownList::SaveKnownList(const QStringList &editorLines, const QString &path,
                               QString *errorText)
{
    if (errorText)
        errorText->clear();
    const QString file = path.isEmpty() ? DefaultPath() : path;
    const QStringList entries = CleanEditorLines(editorLines);
    if (QFileInfo::exists(file) && !WriteTextLines(file, entries, errorText))
        return false;
    SetEntries(entries);
    return true;
}

bool TKnownList::Contains(const QString &key) const
{
    if (key.isEmpty())
        return false;
    const QString wanted = AsciiUpper(key);
    qsizetype low = 0;
    qsizetype high = m_keys.size() - 1;
    while (low <= high) {
        const qsizetype middle = low + (high - low) / 2;
        const int order = wanted.compare(m_keys.at(middle));
        if (order == 0)
            return true;
        if (order > 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return false;
}

bool TKnownList::isInKnownList(const QString &sender, QString &kind, QString &entry) const
{
    if (Contains(sender)) {
        kind = QStringLiteral("E-mail");
        entry = sender;
        return true;
    }
    const qsizetype at = sender.indexOf(u'@');
    if (at < 0)
        return false;
    kind = QStringLiteral("Domain");
    entry = CutText(sender.mid(at + 1));
    return Contains(entry);
}
