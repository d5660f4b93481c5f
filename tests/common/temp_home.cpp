#include "temp_home.h"

#include <QFile>
#include <stdexcept>

TempHome::TempHome()
    : m_oldHome(qgetenv("TARNWICK_HOME")), m_hadHome(qEnvironmentVariableIsSet("TARNWICK_HOME"))
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    qputenv("TARNWICK_HOME", m_dir.path().toLocal8Bit());
}

TempHome::~TempHome()
{
    if (m_hadHome)
        qputenv("TARNWICK_HOME", m_oldHome);
    else
        qunsetenv("TARNWICK_HOME");
}

void TempHome::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray TempHome::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
