#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

// Sectioned name/value settings, every value a text. Section and value names match without
// regard to case: "Alarmfile" finds a value stored as "AlarmFile".
class SettingsReader
{
public:
    virtual ~SettingsReader();

    // The stored text, or nothing when the section or the value is missing.
    virtual std::optional<QString> value(const QString &section, const QString &name) const = 0;

    QString readString(const QString &section, const QString &name,
                       const QString &defaultValue = {}) const;
    // Decimal text; a missing value or one that is not a whole number gives the default.
    int readInteger(const QString &section, const QString &name, int defaultValue) const;
    qint64 readInteger64(const QString &section, const QString &name, qint64 defaultValue) const;
    // True when the text is a non-zero whole number; a missing value gives the default.
    bool readBool(const QString &section, const QString &name, bool defaultValue) const;
};

// The user's own settings: one INI file, readable by its owner only. With $TARNWICK_HOME
// set it is $TARNWICK_HOME/settings.ini, otherwise ~/.config/tarnwick/settings.ini
// ($XDG_CONFIG_HOME honoured). The same name in both places: the data folder's own
// "tarnwick.ini" is another file.
// Every value lives under the top group "10", one sub-group per section.
//
// A file that cannot be read, or that is not a settings file any more, is left alone: it
// reads as empty (so every value takes its default), warning() says what happened, and
// writes are refused until replaceDamagedFile() is called, which the settings dialog does
// when the user saves. Nothing the program does on its own (a counter update, the settings
// saved at exit) can overwrite what the user may still want to rescue.
class UserSettings final : public SettingsReader
{
public:
    UserSettings();
    explicit UserSettings(const QString &fileName);
    ~UserSettings() override;
    UserSettings(const UserSettings &) = delete;
    UserSettings &operator=(const UserSettings &) = delete;

    static QString defaultFileName();
    QString fileName() const { return m_fileName; }

    std::optional<QString> value(const QString &section, const QString &name) const override;

    // Replaces the value whatever the case of its stored name, keeping the stored spelling.
    // False (and lastError() says why) while the file is damaged. Changes reach the disk
    // at flush().
    bool writeString(const QString &section, const QString &name, const QString &text);
    bool writeInteger(const QString &section, const QString &name, qint64 number);
    bool writeBool(const QString &section, const QString &name, bool on);

    // Writes pending changes and makes the file owner-only. False when the file could not
    // be written; lastError() then says why and what to do.
    bool flush();

    bool isDamaged() const { return m_damaged; }
    // What was wrong with the file when it was opened, for the user; empty when nothing.
    QString warning() const { return m_warning; }
    QString lastError() const { return m_lastError; }

    // Moves a damaged file aside (to "<name>.damaged", or a numbered variant) and starts an
    // empty one, so that the user's next save goes through. False when the file cannot be
    // moved; it then stays damaged and untouched.
    bool replaceDamagedFile();

private:
    // A change not yet on disk; an empty path stands for "remove everything".
    struct PendingWrite
    {
        QString path;
        std::optional<QString> text; // nothing = remove
    };

    void openSettings();
    void checkFile();
    void setDamaged(const QString &problem);
    bool refuseWhileDamaged();
    QString findSection(const QString &section) const;
    QStringList matchingPaths(const QString &section, const QString &name) const;
    void record(const QString &path, std::optional<QString> text);

    QString m_fileName;
    std::unique_ptr<QSettings> m_settings;
    QList<PendingWrite> m_pending;
    bool m_damaged = false;
    QString m_warning;
    QString m_lastError;
};

// The machine-wide settings other programs leave (the mail program, other mail clients'
// accounts). Read-only; Linux has no such store, so every value is missing.
class MachineSettings final : public SettingsReader
{
public:
    std::optional<QString> value(const QString &section, const QString &name) const override;
};
