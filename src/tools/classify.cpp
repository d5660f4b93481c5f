// tarnwick-classify: marks saved mail messages with the rule lists and the blacklist of a
// data folder, the way a mailbox check would, without changing anything there.

#include "address.h"
#include "evaluator.h"
#include "files.h"
#include "headers.h"
#include "knownlist.h"
#include "spamsettings.h"
#include "textutil.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kUsage[] =
    "Usage: tarnwick-classify [--data DIR] [--why] FILE...\n"
    "Marks each mail message FILE with the rules of the data folder and prints\n"
    "one line per file: the mark, a tab, the file name.\n"
    "\n"
    "  --data DIR  the folder with the rule lists, known.lst and tarnwick.ini\n"
    "              (default: $TARNWICK_HOME, else the program's data folder)\n"
    "  --why       after each line, the reasons for the mark, indented\n"
    "  --help      this text\n"
    "\n"
    "Marks: -1 none, 0 delete, 1 suspect, 2 blacklisted (delete), 3-14 accepted\n"
    "by an exception. Hit counts and files are never changed.\n"
    "Exit status: 0 when every file was read, 1 when a file could not be read,\n"
    "2 on a usage error.\n";

void out(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void err(const QString &text)
{
    const QByteArray bytes = (QStringLiteral("tarnwick-classify: ") + text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The header lines of a message file: everything up to the first empty line, split at LF
// with a CR before it dropped.
TmsHeaders readHeaderLines(const QByteArray &bytes)
{
    QByteArray header;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            break;
        header += line;
        header += '\n';
        start = end + 1;
    }
    return SplitLines(DecodeUtf8OrLatin1(header));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    QString dataDir;
    bool why = false;
    QStringList files;
    bool optionsDone = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsDone || !arg.startsWith(u'-') || arg == u"-") {
            files.append(arg);
        } else if (arg == u"--") {
            optionsDone = true;
        } else if (arg == u"--help" || arg == u"-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == u"--why") {
            why = true;
        } else if (arg == u"--data" && i + 1 < args.size()) {
            dataDir = args.at(++i);
        } else if (arg.startsWith(QStringLiteral("--data="))) {
            dataDir = arg.mid(7);
        } else {
            err(arg == u"--data" ? QStringLiteral("--data needs a folder")
                                 : QStringLiteral("unknown option %1").arg(arg));
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (files.isEmpty()) {
        err(QStringLiteral("no message files given"));
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!dataDir.isEmpty() && !QFileInfo(dataDir).isDir()) {
        err(QStringLiteral("no data folder %1").arg(dataDir));
        return 2;
    }
    const QString folder = dataDir.isEmpty() ? DataFolder() : QFileInfo(dataDir).absoluteFilePath();

    // Read only: nothing below ever saves the settings, so hit counts stay as they are.
    TSpamSettings settings(folder);
    settings.readSettings();
    for (const QString &problem : settings.ReadProblems())
        err(QStringLiteral("warning: ") + problem);
    TKnownList known;
    QString knownError;
    known.LoadUpKnownList(folder + QStringLiteral("/known.lst"), &knownError);
    if (!knownError.isEmpty())
        err(QStringLiteral("warning: ") + knownError);

    int status = 0;
    for (const QString &name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            err(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
            status = 1;
            continue;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            err(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
            status = 1;
            continue;
        }

        TMessageRow row;
        row.headers = readHeaderLines(bytes);
        row.subject = GetFieldValue(row.headers, QStringLiteral("Subject"));
        row.sender = SplitMailAddress(GetFieldValue(row.headers, QStringLiteral("From"))).address;
        row.sizeText = QString::number(bytes.size());
        TMessageRowList rows;
        rows.rows.append(row);
        TRuleEvaluator evaluator(settings, known, &rows);
        evaluator.MarkForDeletion(0);
        out(QStringLiteral("%1\t%2\n").arg(rows.rows.first().mark).arg(name));
        if (why) {
            for (const QString &line : evaluator.WhyMarked(0))
                if (!line.isEmpty())
                    out(QStringLiteral("  ") + line + u'\n');
        }
    }
    std::fflush(stdout);
    return status;
}
