#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running program per user and data folder. The first start listens on a local socket;
// a second start finds it, asks it to come forward and ends. Two programs on one data folder
// would write the same rule lists, log and settings over each other.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    // key tells programs apart; the default is the user and the data folder.
    explicit TSingleInstance(const QString &key = QString(), QObject *parent = nullptr);
    ~TSingleInstance() override;

    // True when this is the only program: it now listens for later starts. False when
    // another one answered: it has been asked to come forward, and this one should end.
    bool Start();

    QString ServerName() const { return m_name; }
    static QString DefaultKey();

signals:
    // A later start asked this program to come forward.
    void showRequested();

private:
    void readRequest();

    QString m_name;
    QLocalServer *m_server = nullptr;
};
