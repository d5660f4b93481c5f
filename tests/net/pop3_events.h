#pragma once

// The POP3 client's events written down in the order they fire, for tests that compare
// whole sessions.

#include "pop3.h"

#include <QRegularExpression>
#include <QStringList>

// Every event of the client in order; OnProgress as "Progress".
struct PopEvents
{
    QStringList events;
    void Attach(TmsRemotePOP &pop)
    {
        pop.OnOpen = [this](QObject *) { events << "Open"; };
        pop.OnClosing = [this](QObject *) { events << "Closing"; };
        pop.OnClosed = [this](QObject *) { events << "Closed"; };
        pop.OnCancel = [this](QObject *) { events << "Cancel"; };
        pop.OnError = [this](QObject *, QString &msg) { events << "Error:" + msg; };
        pop.OnProgress = [this](QObject *, int, qint64) { events << "Progress"; };
        pop.OnUpdatingInfo = [this](QObject *) { events << "UpdatingInfo"; };
        pop.OnInfoUpdated = [this](QObject *) { events << "InfoUpdated"; };
        pop.OnNextInfoUpdated = [this](QObject *, int n) { events << "NextInfoUpdated:" + QString::number(n); };
        pop.OnTransferringData = [this](QObject *) { events << "TransferringData"; };
        pop.OnDataTransfered = [this](QObject *) { events << "DataTransfered"; };
        pop.OnRetrieving = [this](QObject *, int n) { events << "Retrieving:" + QString::number(n); };
        pop.OnRetrieved = [this](QObject *, int n) { events << "Retrieved:" + QString::number(n); };
        pop.OnDeleting = [this](QObject *, int n) { events << "Deleting:" + QString::number(n); };
        pop.OnDeleted = [this](QObject *, int n) { events << "Deleted:" + QString::number(n); };
        pop.OnItemSkipped = [this](QObject *, int n) { events << "ItemSkipped:" + QString::number(n); };
    }
    // Progress comes once per wake-up of a wait, which depends on how the bytes arrive; the
    // first one of each run is what every mode promises.
    QStringList WithoutRepeatedProgress() const
    {
        QStringList out;
        for (const QString &e : events) {
            if (e == "Progress" && !out.isEmpty() && out.last() == "Progress")
                continue;
            out << e;
        }
        return out;
    }
    QStringList WithoutProgress() const { return events.filter(QRegularExpression("^(?!Progress$)")); }
    int Errors() const { return int(events.filter(QRegularExpression("^Error:")).size()); }
};
