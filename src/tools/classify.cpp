// tarnwick-classify: marks saved mail messages with the rule lists and the blacklist of a
// data folder, the way a mailbox check would, without changing anything there.

#include "classifycore.h"
#include "files.h"
#include "language.h"
#include "wording.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kUsage[] = QT_TRANSLATE_NOOP(
    "Cli",
    "Usage: tarnwick-classify [--data DIR] [--why] FILE...\n"
    "Marks each mail message FILE with the rules of the data folder and prints\n"
    "one line per file: the mark, a tab, the file name.\n"
    "\n"
    "  --data DIR  the folder with the rule lists, known.lst and tarnwick.ini\n"
    "              (default: $TARNWICK_HOME, else the program's data folder)\n"
    "  --why       after each line, the reasons for the mark, indented\n"
    "  --help      this text\n"
    "  --version   the version of the program\n"
    "\n"
    "Marks: -1 none, 0 delete, 1 suspect, 2 blacklisted (delete), 3-14 accepted\n"
    "by an exception. Hit counts and files are never changed.\n"
    "Exit status: 0 when every file was read, 1 when a file could not be read,\n"
    "2 on a usage error.\n");

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
    // The messages in the language of the desktop, as the window has them.
    InstallTranslators(QLocale::system(), &app);
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick-classify"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));

    // Parsed by Qt's parser, but with this program's own help text and its own exit status
    // for a usage error (2; Qt's parser would end with 1, which here means an unreadable file).
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, Said("Cli", "this text"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     Said("Cli", "the version of the program"));
    const QCommandLineOption data(QStringLiteral("data"), Said("Cli", "the data folder"), QStringLiteral("DIR"));
    const QCommandLineOption why(QStringLiteral("why"), Said("Cli", "the reasons for each mark"));
    parser.addOptions({help, version, data, why});
    parser.addPositionalArgument(QStringLiteral("FILE"), Said("Cli", "a saved mail message"),
                                 QStringLiteral("FILE..."));
    const auto refuse = [](const QString &problem) {
        err(problem);
        std::fputs(QCoreApplication::translate("Cli", kUsage).toUtf8().constData(), stderr);
        return 2;
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(QCoreApplication::translate("Cli", kUsage).toUtf8().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        out(QStringLiteral("tarnwick-classify %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return refuse(Said("Cli", "no message files given"));
    const QString dataDir = parser.value(data);
    if (parser.isSet(data) && !QFileInfo(dataDir).isDir()) {
        err(Said("Cli", "no data folder %1").arg(dataDir));
        return 2;
    }
    const QString folder = dataDir.isEmpty() ? DataFolder() : QFileInfo(dataDir).absoluteFilePath();

    const int status = ClassifyFiles(folder, files, parser.isSet(why), out, [](const QString &text) { err(text); });
    std::fflush(stdout);
    return status;
}
