#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

EnvScope::~EnvScope()
{
    // Backwards, so a name set twice ends as it was before the first.
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->had)
            qputenv(it->name, it->value);
        else
            qunsetenv(it->name);
    }
}

void EnvScope::set(const char *name, const QString &value)
{
    m_saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, QFile::encodeName(value));
}

TempHome::TempHome()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    m_env.set("TARNWICK_HOME", m_dir.path());
}

void TempHome::write(const QString &name, const QByteArray &bytes) const
{
    WriteTestFile(file(name), bytes);
}

QByteArray TempHome::read(const QString &name) const
{
    return ReadTestFile(file(name));
}

QByteArray ReadTestFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteTestFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}
