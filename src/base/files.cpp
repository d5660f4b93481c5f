#include "files.h"

#include "textutil.h"
#include "wording.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A base folder of the XDG rules: the variable when it holds an absolute path (a relative
// one is to be ignored), else the fallback below the home folder.
QString XdgHome(const char *variable, const QString &fallback)
{
    const QString own = qEnvironmentVariable(variable);
    return QDir::cleanPath(!own.isEmpty() && QDir::isAbsolutePath(own) ? own
                                                                       : QDir::homePath() + u'/' + fallback);
}

} // namespace

QString XdgConfigHome()
{
    return XdgHome("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString XdgDataHome()
{
    return XdgHome("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString DataFolder()
{
    QString folder = qEnvironmentVariable("TARNWICK_HOME");
    if (folder.isEmpty())
        folder = XdgDataHome() + QStringLiteral("/tarnwick");
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
            *errorText = Said("Data", "Cannot read \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return SplitLines(DecodeUtf8OrLatin1(file.readAll()));
}

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (errorText)
            *errorText = Said("Data", "Cannot save \"%1\": %2").arg(path, file.errorString());
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
