// tarnwick-classify: marks saved mail messages with the rule lists and the blacklist of a
// data folder, the way a mailbox check would, without changing anything there.

#include "classifycore.h"
#include "files.h"

#include <QCoreApplication>
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    QString dataDir;
    ClassifyArguments request;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (request.Take(arg))
            continue;
        if (arg == u"--help" || arg == u"-h") {
            std::fputs(kUsage, stdout);
            return 0;
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
    if (request.files.isEmpty()) {
        err(QStringLiteral("no message files given"));
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!dataDir.isEmpty() && !QFileInfo(dataDir).isDir()) {
        err(QStringLiteral("no data folder %1").arg(dataDir));
        return 2;
    }
    const QString folder = dataDir.isEmpty() ? DataFolder() : QFileInfo(dataDir).absoluteFilePath();

    const int status = ClassifyFiles(folder, request.files, request.why, out, [](const QString &text) { err(text); });
    std::fflush(stdout);
    return status;
}
