#include "fake_nmcli.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

TFakeNmcli::TFakeNmcli(const QJsonObject &scenario, bool absent) : m_oldPath(qgetenv("PATH"))
{
    if (!absent) {
        // A copy, not a link: the script finds its scenario beside itself.
        const QString script = m_dir.filePath("nmcli");
        QFile::copy(QStringLiteral(TARNWICK_FAKE_NMCLI), script);
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + m_oldPath);
    } else {
        qputenv("PATH", m_dir.path().toLocal8Bit());
    }
    SetScenario(scenario);
}

TFakeNmcli::~TFakeNmcli()
{
    qputenv("PATH", m_oldPath);
}

void TFakeNmcli::SetScenario(const QJsonObject &scenario)
{
    QFile file(m_dir.filePath("scenario.json"));
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(scenario).toJson());
    QFile::remove(m_dir.filePath("state.json"));
}

QList<QJsonObject> TFakeNmcli::Calls() const
{
    QList<QJsonObject> calls;
    QFile file(m_dir.filePath("calls.log"));
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            calls << QJsonDocument::fromJson(line).object();
    }
    return calls;
}

QString TFakeNmcli::Verb(const QJsonObject &call)
{
    QStringList argv;
    for (const QJsonValue &v : call.value("argv").toArray())
        argv << v.toString();
    const auto has = [&](const char *word) { return argv.contains(QLatin1String(word)); };
    if (has("up"))
        return "up";
    if (has("down"))
        return "down";
    if (has("--active"))
        return "active";
    if (has("--get-values"))
        return "type";
    if (has("show"))
        return "list";
    return "?";
}

QStringList TFakeNmcli::Verbs() const
{
    QStringList verbs;
    for (const QJsonObject &call : Calls())
        verbs << Verb(call);
    return verbs;
}

void TFakeNmcli::ClearCalls()
{
    QFile::remove(m_dir.filePath("calls.log"));
}
