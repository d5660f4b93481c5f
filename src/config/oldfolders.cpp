#include "oldfolders.h"

#include "files.h"
#include "settingsstore.h"
#include "wording.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kOldVendor = QStringLiteral("Ostrand Corporation");

QString Quoted(const QStringList &names)
{
    return u'"' + names.join(QStringLiteral("\", \"")) + u'"';
}

// Moves one file or folder; empty when done, else why not.
QString MoveEntry(const QString &from, const QString &to)
{
    if (QFileInfo(from).isDir() && !QFileInfo(from).isSymLink())
        return QDir().rename(from, to) ? QString() : QString(Said("Data", "the folder could not be renamed"));
    QFile file(from);
    return file.rename(to) ? QString() : file.errorString();
}

// Removes a folder left empty by the move, then its vendor folder when that is empty too.
void RemoveEmptied(const QString &folder)
{
    QDir().rmdir(folder);
    const QFileInfo info(folder);
    if (info.dir().dirName() == kOldVendor)
        QDir().rmdir(info.absolutePath());
}

// Values that name a file in the old data folder name it in the new one. QSettings writes a
// value with certain characters in double quotes, hence the optional quote.
void RewritePaths(const QString &settingsFile, const QString &oldFolder, const QString &newFolder,
                  FolderMove &result)
{
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray before = file.readAll();
    file.close();
    QString text = QString::fromUtf8(before);
    const QRegularExpression oldPath(QStringLiteral("^([^=\\n]*=\"?)") + QRegularExpression::escape(oldFolder)
                                         + QStringLiteral("(?=[/\"\\r\\n]|$)"),
                                     QRegularExpression::MultilineOption);
    text.replace(oldPath, QStringLiteral("\\1") + newFolder);
    const QByteArray after = text.toUtf8();
    if (after == before)
        return;
    QString error;
    if (!WriteWholeFile(settingsFile, after, &error)) {
        result.problems.append(Said("Data", "The settings still name files in \"%1\": %2. Choose the "
                                              "log file and the alarm sound again in the General "
                                              "settings.")
                                   .arg(oldFolder, error));
        return;
    }
    QFile::setPermissions(settingsFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void MoveSettings(FolderMove &result)
{
    const QString from = OldSettingsFile();
    if (!QFileInfo(from).isFile())
        return;
    const QString to = UserSettings::defaultFileName();
    if (QFileInfo::exists(to)) {
        result.problems.append(Said("Data", "The old settings file \"%1\" was not moved: \"%2\" is there "
                                              "already and is the one Tarnwick uses. Compare the two "
                                              "and remove the one you do not need.")
                                   .arg(from, to));
        return;
    }
    QString why;
    if (!QDir().mkpath(QFileInfo(to).absolutePath()))
        why = Said("Data", "the folder \"%1\" cannot be made").arg(QFileInfo(to).absolutePath());
    else
        why = MoveEntry(from, to);
    if (!why.isEmpty()) {
        result.problems.append(Said("Data", "The settings file \"%1\" could not be moved to \"%2\" (%3), "
                                              "so Tarnwick starts with the default settings. Move the "
                                              "file there yourself while Tarnwick is not running.")
                                   .arg(from, to, why));
        return;
    }
    // The passwords are in there: private to the user, whatever the old file was.
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    result.moved.append(Said("Data", "Moved the settings from \"%1\" to \"%2\".").arg(from, to));
    RemoveEmptied(QFileInfo(from).absolutePath());
}

void MoveData(FolderMove &result)
{
    const QString from = OldDataFolder();
    const QDir old(from);
    if (!old.exists())
        return;
    const QString to = XdgDataHome() + QStringLiteral("/tarnwick");
    const QStringList entries = old.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                              QDir::Name);
    QStringList moved, kept, failed;
    QString why;
    if (!entries.isEmpty() && !QDir().mkpath(to))
        why = Said("Data", "the folder \"%1\" cannot be made").arg(to);
    for (const QString &name : entries) {
        const QString target = to + u'/' + name;
        if (!why.isEmpty()) {
            failed.append(name);
        } else if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
            kept.append(name);
        } else if (const QString problem = MoveEntry(old.filePath(name), target); !problem.isEmpty()) {
            failed.append(name);
            why = problem;
        } else {
            moved.append(name);
        }
    }
    if (!moved.isEmpty()) {
        result.moved.append(QStringLiteral("Moved %1 from \"%2\" to \"%3\".")
                                .arg(moved.size() == 1 ? QStringLiteral("1 file")
                                                       : QStringLiteral("%1 files").arg(moved.size()),
                                     from, to));
        const QString settings = UserSettings::defaultFileName();
        if (QFileInfo(settings).isFile())
            RewritePaths(settings, from, to, result);
    }
    if (!kept.isEmpty())
        result.problems.append(Said("Data", "Left in \"%1\": %2. Files of these names are in \"%3\" "
                                              "already and are the ones Tarnwick uses; compare them "
                                              "and remove what you do not need.")
                                   .arg(from, Quoted(kept), to));
    if (!failed.isEmpty())
        result.problems.append(Said("Data", "Left in \"%1\": %2. They could not be moved to \"%3\" "
                                              "(%4), so Tarnwick does not see them; move them there "
                                              "yourself while Tarnwick is not running.")
                                   .arg(from, Quoted(failed), to, why));
    if (kept.isEmpty() && failed.isEmpty())
        RemoveEmptied(from);
}

} // namespace

QString OldSettingsFile()
{
    return XdgConfigHome() + u'/' + kOldVendor + QStringLiteral("/Tarnwick.ini");
}

QString OldDataFolder()
{
    return XdgDataHome() + u'/' + kOldVendor + QStringLiteral("/Tarnwick");
}

FolderMove MoveOldFolders()
{
    FolderMove result;
    if (!qEnvironmentVariable("TARNWICK_HOME").isEmpty())
        return result;
    // The settings first, so that their file names can be changed after the data has moved.
    MoveSettings(result);
    MoveData(result);
    return result;
}
