// The settings file as a user or an old installation may leave it: any bytes. Reading must
// never crash; a file that is not a settings file must be reported and left alone; and in a
// usable file, saving one value must not change what any other value reads as.
#include "inifile.h"
#include "settings.h"
#include "settingsstore.h"
#include "textutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

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
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fuzz-settings-XXXXXX"));
    return dir;
}

// QSettings keeps parsed files in a cache keyed by name and checked by size and time; a new
// name for every input keeps one input's content from being read for the next.
QString FreshName()
{
    static quint64 n = 0;
    return Folder().filePath(QStringLiteral("settings-%1.ini").arg(++n));
}

const QList<int> kWidths{40, 200, 120, 60, 60, 60};

void CheckTyped(const SettingsReader &settings)
{
    const GeneralSettings general = ReadGeneralSettings(settings);
    Check(general.minutes >= 1);
    const ServerSettings servers = readServerSettings(settings);
    Check(servers.which >= 1 && servers.which <= kMailboxSlots);
    for (const QString &section : {SettingsSection::Subject, SettingsSection::Exceptions})
        Check(ReadColumnWidths(settings, section, kWidths).size() == kWidths.size());
}

void FuzzUserSettings(const QByteArray &bytes)
{
    const QString name = FreshName();
    {
        QFile file(name);
        Check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    GeneralSettings before;
    ServerSettings serversBefore;
    QList<int> widthsBefore;
    {
        UserSettings settings(name);
        CheckTyped(settings);
        if (settings.isDamaged()) {
            // Left untouched: a save is refused and the bytes stay as they were.
            Check(!settings.warning().isEmpty());
            Check(!SavePoints(settings, 7));
            QFile file(name);
            Check(file.open(QIODevice::ReadOnly) && file.readAll() == bytes);
            QFile::remove(name);
            return;
        }
        before = ReadGeneralSettings(settings);
        serversBefore = readServerSettings(settings);
        widthsBefore = ReadColumnWidths(settings, SettingsSection::Sender, kWidths);
        if (before.count == std::numeric_limits<qint64>::max())
            before.count = 0;
        Check(SaveSpamCount(settings, before.count + 1));
        Check(settings.flush());
    }
    {
        UserSettings settings(name);
        Check(!settings.isDamaged());
        GeneralSettings after = ReadGeneralSettings(settings);
        Check(after.count == before.count + 1);
        after.count = before.count;
        Check(after == before);
        Check(readServerSettings(settings) == serversBefore);
        Check(ReadColumnWidths(settings, SettingsSection::Sender, kWidths) == widthsBefore);
    }
    QFile::remove(name);
}

void FuzzIniFile(const QByteArray &bytes)
{
    TIniFile ini;
    ini.SetLines(SplitLines(DecodeUtf8OrLatin1(bytes)));
    QStringList values;
    const QStringList sections = ini.Sections();
    for (const QString &section : sections) {
        Check(ini.SectionExists(section));
        for (const QString &key : ini.Keys(section))
            values.append(ini.ReadString(section, key));
    }
    // Rewriting a value with what it reads as keeps every other value. A lone CR inside a
    // value is written as a blank (other programs take it for a line break), so that value
    // reads back with blanks for its line breaks, and so does every duplicate of its key.
    if (!sections.isEmpty()) {
        const QString section = sections.first();
        const QStringList keys = ini.Keys(section);
        if (!keys.isEmpty()) {
            const QString value = ini.ReadString(section, keys.first());
            ini.WriteString(section, keys.first(), value);
            const QString written = TrimControls(QString(value).replace(u'\r', u' ').replace(u'\n', u' '));
            Check(ini.ReadString(section, keys.first()) == written);
            QStringList again;
            QStringList expected;
            for (const QString &s : sections)
                for (const QString &key : ini.Keys(s)) {
                    const bool rewritten = AsciiEqualsIgnoreCase(s, section) && AsciiEqualsIgnoreCase(key, keys.first());
                    expected.append(rewritten ? written : values.value(again.size()));
                    again.append(ini.ReadString(s, key));
                }
            Check(again == expected);
        }
    }
    ini.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("value"));
    Check(ini.ReadString(QStringLiteral("FUZZ"), QStringLiteral("key")) == QStringLiteral("value"));
    Check(ini.ValueExists(QStringLiteral("fuzz"), QStringLiteral("KEY")));
    ini.DeleteKey(QStringLiteral("fuzz"), QStringLiteral("KEY"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Check(Folder().isValid());
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FuzzUserSettings(bytes);
    FuzzIniFile(bytes);
    return 0;
}
