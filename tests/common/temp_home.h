#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <vector>

// Environment variables set (or, given a null value, unset) while the object lives, then put
// back as they were.
class EnvScope
{
public:
    EnvScope() = default;
    EnvScope(const char *name, const QString &value) { set(name, value); }
    ~EnvScope();
    EnvScope(const EnvScope &) = delete;
    EnvScope &operator=(const EnvScope &) = delete;

    void set(const char *name, const QString &value);

private:
    struct Saved { const char *name; bool had; QByteArray value; };
    std::vector<Saved> m_saved;
};

// A fresh data folder for one test: TARNWICK_HOME points at it while the object lives,
// so no test ever reads or writes the user's own files.
class TempHome
{
public:
    TempHome();
    TempHome(const TempHome &) = delete;
    TempHome &operator=(const TempHome &) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
    EnvScope m_env;
};

// A file's bytes; empty when it cannot be read.
QByteArray ReadTestFile(const QString &path);
// Writes a file whole, making its folder first; throws when it cannot.
void WriteTestFile(const QString &path, const QByteArray &bytes);
