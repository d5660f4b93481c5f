// crash_writer FOLDER [--check]: saves the rule lists, "known.lst", the settings and the
// activity log in FOLDER through the program's own code, version after version, until it is
// killed. Before writing it checks what an earlier, killed run left behind: every file must be
// one whole version (never torn, never empty), no older than the version last seen, and the
// log a run of whole entries. With --check it only checks. Exit 0 when all is well, 3 (and a
// line on standard error) when a file is damaged.
#include "activitylog.h"
#include "files.h"
#include "inifile.h"
#include "knownlist.h"
#include "logformat.h"
#include "settings.h"
#include "settingsstore.h"
#include "spamsettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

namespace {

QString g_folder;

[[noreturn]] void Damaged(const QString &what)
{
    std::fprintf(stderr, "crash_writer: %s\n", qPrintable(what));
    std::exit(3);
}

QByteArray ReadAll(const QString &name)
{
    QFile file(QDir(g_folder).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Exists(const QString &name)
{
    return QFileInfo::exists(QDir(g_folder).filePath(name));
}

// ---- version k of every file ----

void FillRules(TSpamSettings &spam, qint64 k)
{
    for (RuleTable *table : {&spam.gridSubject, &spam.gridHeader, &spam.gridFrom, &spam.gridExcept}) {
        table->ClearRules();
        for (qint64 r = 0; r < 3 + k % 7; ++r) {
            const int row = table->AppendRule();
            table->SetCells(1, row, QStringLiteral("v%1 rule %2 of a list long enough to take a while").arg(k).arg(r));
        }
    }
    spam.smaller = {true, int(k), true};
    spam.larger = {true, int(k) + 1000, true};
}

QStringList KnownLines(qint64 k)
{
    QStringList lines;
    for (qint64 i = 0; i < 3 + k % 5; ++i)
        lines.append(QStringLiteral("v%1-%2.example").arg(k).arg(i));
    return lines;
}

GeneralSettings General(qint64 k)
{
    GeneralSettings g;
    g.count = k;
    g.mailer = QStringLiteral("mailer-%1").arg(k);
    g.minutes = int(k % 50) + 1;
    return g;
}

QString LogEntry(qint64 j)
{
    return ErrorEntry(QStringLiteral("entry %1").arg(j), "user", "pop.example",
                      FormatLogStamp(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))));
}

// ---- what an earlier run left ----

struct State
{
    qint64 version = -1; // the newest version found in any file
    qint64 oldest = -1;  // the oldest version found in any file
    qint64 entries = 0;  // whole log entries
};

qint64 VersionIn(const QByteArray &bytes, const QString &file)
{
    static const QRegularExpression re("v(\\d+)");
    const QRegularExpressionMatch m = re.match(QString::fromUtf8(bytes));
    if (!m.hasMatch())
        Damaged(QStringLiteral("%1 holds no version (%2 bytes)").arg(file).arg(bytes.size()));
    return m.captured(1).toLongLong();
}

State Check(qint64 oldest)
{
    State state;
    const auto seen = [&](qint64 v, const QString &file) {
        if (v < oldest)
            Damaged(QStringLiteral("%1 went back to version %2 after %3").arg(file).arg(v).arg(oldest));
        state.version = std::max(state.version, v);
        state.oldest = state.oldest < 0 ? v : std::min(state.oldest, v);
    };

    // The four lists: each one whole version.
    TSpamSettings expected("/nonexistent");
    for (RuleTable::Kind kind : {RuleTable::Kind::Subject, RuleTable::Kind::Header, RuleTable::Kind::From,
                                 RuleTable::Kind::Except}) {
        const QString name = TSpamSettings::ListFileName(kind);
        if (!Exists(name))
            continue;
        const QByteArray bytes = ReadAll(name);
        const qint64 v = VersionIn(bytes, name);
        FillRules(expected, v);
        const RuleTable &table = kind == RuleTable::Kind::Subject  ? expected.gridSubject
                                 : kind == RuleTable::Kind::Header ? expected.gridHeader
                                 : kind == RuleTable::Kind::From   ? expected.gridFrom
                                                                   : expected.gridExcept;
        if (bytes != (table.WriteLines().join(u'\n') + u'\n').toUtf8())
            Damaged(QStringLiteral("%1 is not version %2 whole").arg(name).arg(v));
        seen(v, name);
    }
    if (Exists(TSpamSettings::IniFileName())) {
        TIniFile ini;
        if (!ini.Load(QDir(g_folder).filePath(TSpamSettings::IniFileName())))
            Damaged("tarnwick.ini cannot be read");
        const int v = ini.ReadInteger("Smaller", "Num", -1);
        if (v < 0 || ini.ReadInteger("Larger", "Num", -1) != v + 1000)
            Damaged("tarnwick.ini is not one whole version");
        seen(v, "tarnwick.ini");
    }

    // known.lst: exists from the start (saving never creates it), empty only before version 0.
    const QByteArray known = ReadAll("known.lst");
    if (!known.isEmpty()) {
        const qint64 v = VersionIn(known, "known.lst");
        if (known != (KnownLines(v).join(u'\n') + u'\n').toUtf8())
            Damaged(QStringLiteral("known.lst is not version %1 whole").arg(v));
        seen(v, "known.lst");
    }

    // The settings: readable, not damaged, every value of one version.
    if (Exists("settings.ini")) {
        UserSettings settings(QDir(g_folder).filePath("settings.ini"));
        if (settings.isDamaged())
            Damaged(QStringLiteral("settings.ini is damaged: %1").arg(settings.warning()));
        const GeneralSettings g = ReadGeneralSettings(settings);
        if (g != General(g.count))
            Damaged(QStringLiteral("settings.ini mixes versions (count %1, mailer %2)").arg(g.count).arg(g.mailer));
        seen(g.count, "settings.ini");
    }

    // The log: whole entries 0, 1, 2 ... in order; a cut line is damage.
    const QByteArray log = ReadAll("activity.txt");
    qsizetype at = 0;
    while (at < log.size()) {
        const QByteArray entry = LogEntry(state.entries).toUtf8() + '\n';
        if (log.mid(at, entry.size()) != entry)
            Damaged(QStringLiteral("activity.txt: entry %1 at byte %2 is not whole").arg(state.entries).arg(at));
        at += entry.size();
        ++state.entries;
    }
    return state;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: crash_writer FOLDER [--check]\n");
        return 2;
    }
    g_folder = args.at(1);
    QDir().mkpath(g_folder);
    // The newest version a check has seen, so that a file falling back is noticed too.
    const QString mark = QDir(g_folder).filePath("seen");
    QFile seenFile(mark);
    const qint64 oldest = seenFile.open(QIODevice::ReadOnly) ? seenFile.readAll().toLongLong() : -1;
    seenFile.close();

    State state = Check(oldest);
    std::printf("version %lld, %lld log entries\n", static_cast<long long>(state.version),
                static_cast<long long>(state.entries));
    if (args.contains("--check"))
        return 0;
    // No file may fall behind the oldest version there is now: that would mean a save went
    // back to an older file.
    if (!WriteWholeFile(mark, QByteArray::number(std::max(oldest, state.oldest))))
        Damaged(QStringLiteral("cannot write %1").arg(mark));

    if (!Exists("known.lst"))
        WriteWholeFile(QDir(g_folder).filePath("known.lst"), QByteArray());
    TSpamSettings spam(g_folder);
    TKnownList known;
    ActivityLog log(QDir(g_folder).filePath("activity.txt"));
    log.setClock([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); });
    QString error;
    for (qint64 k = state.version + 1;; ++k) {
        FillRules(spam, k);
        if (!spam.Savesettings(&error))
            Damaged(QStringLiteral("saving the rules failed: %1").arg(error));
        if (!known.SaveKnownList(KnownLines(k), QDir(g_folder).filePath("known.lst"), &error))
            Damaged(QStringLiteral("saving known.lst failed: %1").arg(error));
        {
            UserSettings settings(QDir(g_folder).filePath("settings.ini"));
            if (!SaveGeneralSettings(settings, General(k)))
                Damaged(QStringLiteral("saving the settings failed: %1").arg(settings.lastError()));
        }
        log.logError(QStringLiteral("entry %1").arg(state.entries), "user", "pop.example");
        ++state.entries;
    }
}
