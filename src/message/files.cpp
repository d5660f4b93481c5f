#include "files.h"

#include "textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString DataFolder()
{
    QString folder = qEnvironmentVariable("TARNWICK_HOME");
    if (folder.isEmpty()) {
        // Without a QCoreApplication the names are not set yet; fix them so the path is stable.
        if (QCoreApplication::organizationName().isEmpty())
            QCoreApplication::setOrganizationName(QStringLiteral("Ostrand Corporation"));
        if (QCoreApplication::applicationName().isEmpty()
            || QCoreApplication::applicationName() != QStringLiteral("Tarnwick"))
            QCoreApplication::setApplicationName(QStringLiteral("Tarnwick"));
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

QString DataFile(const QString &name)
{
    return DataFolder() + u'/' + name;
}

QString ShippedFileIn(const QString &programFolder, const QString &name)
{
    QStringList folders;
    if (const QString own = qEnvironmentVariable("TARNWICK_DATA_DIR"); !own.isEmpty())
        folders.append(own);
    if (!programFolder.isEmpty())
        folders.append(programFolder + QStringLiteral("/../" TARNWICK_SHARE_SUBDIR));
#ifdef TARNWICK_SOURCE_DATA_DIR
    folders.append(QStringLiteral(TARNWICK_SOURCE_DATA_DIR));
#endif
    for (const QString &folder : std::as_const(folders)) {
        const QString file = QDir::cleanPath(folder + u'/' + name);
        if (QFileInfo::exists(file))
            return file;
    }
    return {};
}

QString ShippedFile(const QString &name)
{
    // Without a QCoreApplication the program's own path still comes from the kernel.
    const QString program = QCoreApplication::instance()
        ? QCoreApplication::applicationFilePath()
        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return ShippedFileIn(QFileInfo(program).absolutePath(), name);
}

std::optional<QStringList> ReadTextLines(const QString &path, QString *errorText)
{
    if (errorText)
        errorText->clear();
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return SplitLines(DecodeUtf8OrLatin1(file.readAll()));
}

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (errorText)
            *errorText = QStringLiteral("Cannot save \"%1\": %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool WriteTextLines(const QString &path, const QStringList &lines, QString *errorText)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    return WriteWholeFile(path, bytes, errorText);
}
