#include "settingsstore.h"

#include "files.h"
#include "textutil.h"
#include "wording.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

namespace {

const QString kTopGroup = QStringLiteral("10");

// Far above anything this program writes; a bigger file is not ours.
constexpr qint64 kMaxSettingsFileSize = 4 * 1024 * 1024;

QString variantText(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::QStringList:
        // An unquoted value with commas, typed in by hand, comes back as a list.
        return v.toStringList().join(QStringLiteral(", "));
    case QMetaType::QByteArray:
        return DecodeUtf8OrLatin1(v.toByteArray());
    default:
        return v.toString();
    }
}

// Why the bytes are not an INI file that QSettings would read back faithfully; empty when
// they are. QSettings itself accepts nearly anything and would silently drop what it cannot
// parse on the next write, so the check is done here.
QString iniProblem(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return Said("Data", "it holds binary data");
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return Said("Data", "it is not UTF-8 text");
    const QStringList lines = SplitLines(text);
    bool continued = false;
    // QSettings skips only blanks and tabs before a line; anything else there (a vertical
    // tab, a form feed) starts a line it cannot parse.
    const auto trimBlanks = [](const QString &line) {
        qsizetype from = 0, to = line.size();
        while (from < to && (line.at(from) == u' ' || line.at(from) == u'\t'))
            ++from;
        while (to > from && (line.at(to - 1) == u' ' || line.at(to - 1) == u'\t'))
            --to;
        return line.mid(from, to - from);
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = trimBlanks(lines.at(i));
        const bool wasContinued = continued;
        // A value may go on over a line that ends in a lone backslash.
        qsizetype slashes = 0;
        while (slashes < line.size() && line.at(line.size() - 1 - slashes) == u'\\')
            ++slashes;
        continued = slashes % 2 == 1;
        // Only ";" starts a comment: QSettings reads a "#" line but refuses to write the
        // file back, so every later save would fail.
        if (wasContinued || line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.contains(u']'))
                return Said("Data", "line %1 opens a section without closing it").arg(i + 1);
            continue;
        }
        if (!line.contains(u'='))
            return Said("Data", "line %1 is not a setting").arg(i + 1);
    }
    return {};
}

} // namespace

SettingsReader::~SettingsReader() = default;

QString SettingsReader::readString(const QString &section, const QString &name,
                                   const QString &defaultValue) const
{
    return value(section, name).value_or(defaultValue);
}

qint64 SettingsReader::readInteger64(const QString &section, const QString &name,
                                     qint64 defaultValue) const
{
    const std::optional<QString> text = value(section, name);
    if (!text)
        return defaultValue;
    bool ok = false;
    const qint64 number = text->trimmed().toLongLong(&ok, 10);
    return ok ? number : defaultValue;
}

int SettingsReader::readInteger(const QString &section, const QString &name,
                                int defaultValue) const
{
    const std::optional<QString> text = value(section, name);
    if (!text)
        return defaultValue;
    bool ok = false;
    const int number = text->trimmed().toInt(&ok, 10);
    return ok ? number : defaultValue;
}

bool SettingsReader::readBool(const QString &section, const QString &name,
                              bool defaultValue) const
{
    const std::optional<QString> text = value(section, name);
    if (!text)
        return defaultValue;
    // Only a non-zero whole number is true; "yes" or "true" typed in by hand are not.
    bool ok = false;
    const qint64 number = text->trimmed().toLongLong(&ok, 10);
    return ok && number != 0;
}

QString UserSettings::defaultFileName()
{
    if (!qEnvironmentVariable("TARNWICK_HOME").isEmpty())
        return DataFile(QStringLiteral("settings.ini"));
    return XdgConfigHome() + QStringLiteral("/tarnwick/settings.ini");
}

UserSettings::UserSettings() : UserSettings(defaultFileName()) {}

UserSettings::UserSettings(const QString &fileName)
    : m_fileName(QFileInfo(fileName).absoluteFilePath())
{
    checkFile();
    openSettings();
    // QSettings reads the file at the first access and reports the little it finds wrong
    // only to the first reader of a file; a file it cannot parse it also refuses to save.
    m_settings->allKeys();
    if (!m_damaged && m_settings->status() == QSettings::FormatError)
        setDamaged(Said("Data", "it is not a valid settings file"));
}

UserSettings::~UserSettings() = default;

void UserSettings::openSettings()
{
    m_settings.reset();
    m_settings = std::make_unique<QSettings>(m_fileName, QSettings::IniFormat);
    // Always through a temporary file and a rename: a failed write leaves the old file whole.
    m_settings->setAtomicSyncRequired(true);
    for (const PendingWrite &write : std::as_const(m_pending)) {
        if (write.text)
            m_settings->setValue(write.path, *write.text);
        else
            m_settings->remove(write.path);
    }
}

void UserSettings::checkFile()
{
    const QFileInfo info(m_fileName);
    if (!info.exists())
        return;
    QString problem;
    if (info.isDir()) {
        problem = Said("Data", "it is a folder");
    } else if (info.size() > kMaxSettingsFileSize) {
        problem = Said("Data", "it is far too large to be a settings file");
    } else {
        QFile file(m_fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            problem = Said("Data", "it cannot be read: %1").arg(file.errorString());
        } else {
            const QByteArray bytes = file.readAll();
            if (file.error() != QFileDevice::NoError)
                problem = Said("Data", "it cannot be read: %1").arg(file.errorString());
            else
                problem = iniProblem(bytes);
        }
    }
    if (!problem.isEmpty())
        setDamaged(problem);
}

void UserSettings::setDamaged(const QString &problem)
{
    m_damaged = true;
    m_warning = Said("Data",
                    "The settings file \"%1\" cannot be used (%2), so Tarnwick is running with "
                    "the default settings. The file is left untouched: repair or remove it and "
                    "restart Tarnwick, or save your settings to start a new file (the old one is "
                    "then kept as \"%1.damaged\").")
                    .arg(m_fileName, problem);
}

QString UserSettings::findSection(const QString &section) const
{
    m_settings->beginGroup(kTopGroup);
    const QStringList groups = m_settings->childGroups();
    m_settings->endGroup();
    QString found;
    for (const QString &group : groups) {
        if (group == section)
            return group;
        if (found.isEmpty() && AsciiEqualsIgnoreCase(group, section))
            found = group;
    }
    return found;
}

QStringList UserSettings::matchingPaths(const QString &section, const QString &name) const
{
    // Every spelling of the section and of the name counts; the exact one comes first.
    m_settings->beginGroup(kTopGroup);
    const QStringList groups = m_settings->childGroups();
    QStringList exact;
    QStringList others;
    for (const QString &group : groups) {
        if (!AsciiEqualsIgnoreCase(group, section))
            continue;
        m_settings->beginGroup(group);
        const QStringList keys = m_settings->childKeys();
        m_settings->endGroup();
        for (const QString &key : keys) {
            if (!AsciiEqualsIgnoreCase(key, name))
                continue;
            const QString path = kTopGroup + u'/' + group + u'/' + key;
            if (group == section && key == name)
                exact.append(path);
            else
                others.append(path);
        }
    }
    m_settings->endGroup();
    return exact + others;
}

std::optional<QString> UserSettings::value(const QString &section, const QString &name) const
{
    if (m_damaged)
        return std::nullopt;
    const QStringList paths = matchingPaths(section, name);
    if (paths.isEmpty())
        return std::nullopt;
    return variantText(m_settings->value(paths.first()));
}

bool UserSettings::refuseWhileDamaged()
{
    if (!m_damaged)
        return false;
    m_lastError = Said("Data", "The settings were not saved: the settings file \"%1\" could "
                                 "not be read when Tarnwick started and is left as it is. Save "
                                 "the settings in the General settings to replace it.")
                      .arg(m_fileName);
    return true;
}

void UserSettings::record(const QString &path, std::optional<QString> text)
{
    if (text)
        m_settings->setValue(path, *text);
    else
        m_settings->remove(path);
    m_pending.append({path, std::move(text)});
}

bool UserSettings::writeString(const QString &section, const QString &name, const QString &text)
{
    if (refuseWhileDamaged())
        return false;
    QStringList paths = matchingPaths(section, name);
    QString target;
    if (paths.isEmpty()) {
        const QString existingSection = findSection(section);
        target = kTopGroup + u'/' + (existingSection.isEmpty() ? section : existingSection)
                 + u'/' + name;
    } else {
        // Keep the spelling already in the file and drop other spellings of the same name,
        // so a name never ends up twice with two different values.
        target = paths.takeFirst();
        for (const QString &other : std::as_const(paths))
            record(other, std::nullopt);
    }
    record(target, text);
    return true;
}

bool UserSettings::writeInteger(const QString &section, const QString &name, qint64 number)
{
    return writeString(section, name, QString::number(number));
}

bool UserSettings::writeBool(const QString &section, const QString &name, bool on)
{
    return writeString(section, name, on ? QStringLiteral("1") : QStringLiteral("0"));
}

static QString whyNotWritable(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return Said("Data", "its folder \"%1\" does not exist and cannot be created")
            .arg(folder.absoluteFilePath());
    if (!folder.isDir())
        return Said("Data", "\"%1\" is not a folder").arg(folder.absoluteFilePath());
    if (file.isDir())
        return Said("Data", "a folder of that name is in the way");
    if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        return Said("Data", "you may not write there");
    return Said("Data", "the file could not be written (the disk may be full)");
}

bool UserSettings::flush()
{
    if (refuseWhileDamaged())
        return false;
    if (m_pending.isEmpty())
        return true;
    const QFileInfo info(m_fileName);
    QDir().mkpath(info.absolutePath());
    if (!info.exists()) {
        // QSettings writes through a temporary file that takes over the permissions of the
        // file it replaces; an empty owner-only file first means the passwords are never
        // readable by others, not even for a moment.
        QFile seed(m_fileName);
        if (seed.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            seed.close();
    }
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        m_lastError = Said("Data", "The settings could not be saved to \"%1\": %2. Check "
                                     "that the folder exists and that you may write to it, "
                                     "then save again.")
                          .arg(m_fileName, whyNotWritable(m_fileName));
        // QSettings keeps its first error for good; a fresh object with the unsaved changes
        // applied again lets the next flush report truthfully.
        openSettings();
        return false;
    }
    m_pending.clear();
    if (QFileInfo::exists(m_fileName)
        && !QFile::setPermissions(m_fileName, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        m_lastError = Said("Data", "The settings file \"%1\" was saved but could not be made "
                                     "private to you. Make it readable by its owner only "
                                     "(chmod 600).")
                          .arg(m_fileName);
        return false;
    }
    return true;
}

bool UserSettings::replaceDamagedFile()
{
    if (!m_damaged)
        return true;
    QString aside = m_fileName + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_fileName + QStringLiteral(".damaged-%1").arg(n);
    if (QFileInfo::exists(m_fileName) && !QDir().rename(m_fileName, aside)) {
        m_lastError = Said("Data", "The damaged settings file \"%1\" could not be moved aside "
                                     "to \"%2\", so it was not replaced. Move or remove it "
                                     "yourself, then save again.")
                          .arg(m_fileName, aside);
        return false;
    }
    m_damaged = false;
    m_warning.clear();
    m_pending.clear();
    openSettings();
    // Whatever QSettings made of the damaged file must not come back in the new one.
    m_settings->clear();
    m_pending.append({QString(), std::nullopt}); // QSettings::remove("") at the top clears all
    return true;
}

std::optional<QString> MachineSettings::value(const QString &, const QString &) const
{
    return std::nullopt;
}
