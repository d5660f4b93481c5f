#include "helpfile.h"

#include "files.h"

#include <QFileInfo>

namespace {

const QString kManual = QStringLiteral("help/tarnwick.html");

QString IfManual(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile() ? QFileInfo(path).absoluteFilePath() : QString();
}

} // namespace

QString HelpFile(const QString &programFolder)
{
    return IfManual(ShippedFileIn(programFolder, kManual));
}

QString HelpFile()
{
    return IfManual(ShippedFile(kManual));
}
