// "known.lst" and the keyword/address import files as they come from the disk: any bytes.
// The blacklist must find every entry it holds, stay sorted in the order its search uses,
// and save to a file that loads back as the same list.
#include "files.h"
#include "importfile.h"
#include "knownlist.h"
#include "textutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Stops the run at a broken expectation, naming its line (the inlined check has none).
void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

const QTemporaryDir &Folder()
{
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fuzz-known-XXXXXX"));
    return dir;
}

void CheckSearchable(const TKnownList &list)
{
    const QStringList &entries = list.Entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i > 0)
            Check(TKnownList::Compare(entries.at(i - 1), entries.at(i)) <= 0);
        // Only the first 80 characters of an entry take part in the search.
        const QString key = CutText(entries.at(i), TKnownList::kKeyLength);
        Check(key.isEmpty() ? !list.Contains(key) : list.Contains(key));
        QString kind, entry;
        if (!key.isEmpty() && list.isInKnownList(key, kind, entry))
            Check(!kind.isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Check(Folder().isValid());
    const QString path = Folder().filePath(QStringLiteral("known.lst"));

    // Loaded from the file.
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    }
    TKnownList list;
    QString error;
    list.LoadUpKnownList(path, &error);
    Check(error.isEmpty());
    Check(list.Count() == ReadTextLines(path).value_or(QStringList()).size());
    CheckSearchable(list);

    // Saved from the editor's text, as the BlackList tab does, and loaded back.
    const QStringList editor = TKnownList::EditorLines(DecodeUtf8OrLatin1(bytes));
    const QStringList cleaned = TKnownList::CleanEditorLines(editor);
    Check(cleaned.size() <= editor.size());
    for (qsizetype i = 0; i < cleaned.size(); ++i) {
        Check(!TKnownList::HasNumericLocalPart(cleaned.at(i)));
        if (i > 0)
            Check(TKnownList::Compare(cleaned.at(i - 1), cleaned.at(i)) <= 0);
    }
    TKnownList saved;
    Check(saved.SaveKnownList(editor, path, &error));
    Check(saved.Entries() == cleaned);
    CheckSearchable(saved);
    TKnownList reloaded;
    reloaded.LoadUpKnownList(path);
    // A line's own trailing CR is taken for part of a line end when read back; a leading
    // byte-order mark for the mark. Everything else comes back as saved.
    bool plain = cleaned.isEmpty() || !cleaned.first().startsWith(QChar(0xFEFF));
    for (const QString &line : cleaned)
        plain = plain && !line.endsWith(u'\r');
    if (plain)
        Check(reloaded.Entries() == cleaned);

    // The same bytes as an import file.
    const TImportFile import = ParseImportFile(bytes);
    Check(import.skipped >= 0);
    for (const QString &line : import.lines) {
        Check(!TrimControls(line).isEmpty());
        Check(CodePointCount(TrimControls(line)) <= kMaxTextLength);
        for (const QChar c : line)
            Check(c == u'\t' || c.unicode() >= 0x20);
    }
    return 0;
}
