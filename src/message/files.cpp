#include "files.h"

#include "textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
