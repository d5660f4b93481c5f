#include "helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kManual = QStringLiteral("tarnwick.html");

} // namespace

QString HelpFile(const QString &programFolder)
{
    const QStringList folders{
        QDir(programFolder).filePath(QStringLiteral("../share/tarnwick/help")),
        QStringLiteral(TARNWICK_SOURCE_HELP_DIR),
    };
    for (const QString &folder : folders) {
        const QFileInfo manual(QDir(folder).filePath(kManual));
        if (manual.isFile() && manual.isReadable())
            return QDir::cleanPath(manual.absoluteFilePath());
    }
    return {};
}

QString HelpFile()
{
    return HelpFile(QCoreApplication::applicationDirPath());
}
