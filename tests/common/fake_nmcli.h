#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A stand-in for NetworkManager's nmcli (a real NetworkManager cannot run in a test): a small
// script in a folder of its own that is put first on the PATH while the object lives. It
// answers from a scenario and logs every call, one JSON object a line:
//   {"argv": [...], "passwd": <the passwd-file's text or null>, "mode": "600"}
//
// Scenario (JSON object, all keys optional):
//   "connections": [{"name": "Modem", "type": "gsm", "state": "activated"}, ...]
//                  (state "" = not up; "up" makes a profile "activated", "down" clears it)
//   "list":  {"exit": 8, "stderr": "Error: NetworkManager is not running."}
//   "active": the same for the list of connections that are up
//   "up":    {"exit": 4, "stderr": "...", "sleep": 30}
//   "down":  {"exit": 0, "stderr": "..."}
class TFakeNmcli
{
public:
    // absent: the folder holds no nmcli, so the PATH has none (the rest of the PATH is
    // dropped too, in case the machine has a real one).
    explicit TFakeNmcli(const QJsonObject &scenario = {}, bool absent = false);
    ~TFakeNmcli();
    TFakeNmcli(const TFakeNmcli &) = delete;
    TFakeNmcli &operator=(const TFakeNmcli &) = delete;

    void SetScenario(const QJsonObject &scenario);
    // Every call so far, oldest first.
    QList<QJsonObject> Calls() const;
    // Each call as a short verb: "list", "active", "type", "up", "down" or "?".
    QStringList Verbs() const;
    static QString Verb(const QJsonObject &call);
    void ClearCalls();
    QString Folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};
