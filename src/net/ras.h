#pragma once

#include "dialup.h"
#include "netevents.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QEventLoop;

// The dial-up component: lists the phone-book entries, dials Service before a mail connection
// is opened when no suitable connection is up, reports the dial's progress as text, and hangs
// up afterwards - only a connection it dialed itself. Attached to a mail client through its
// RAS property, whose Open calls Connect and whose Close calls Disconnect.
//
// Without a dial-up service on the system (no nmcli) the component does nothing: no entries,
// Connect and HangUp return at once, and the mail connection goes over whatever network exists.
//
// The dial wait runs a local event loop like the transport's waits: Disconnect (from a Cancel)
// ends it with ECanceledError, TimeOut with ETimedOutError. Handlers run on the caller's stack.
class TagRas : public QObject
{
    Q_OBJECT

public:
    // Over NetworkManager.
    explicit TagRas(QObject *parent = nullptr);
    // Over another dial-up service.
    explicit TagRas(std::unique_ptr<TagDialer> dialer, QObject *parent = nullptr);
    ~TagRas() override;

    // The phone-book entry to dial; empty means no dial-up.
    QString Service() const { return m_service; }
    // Takes service and answers an empty text, or answers what is wrong (to be shown to the
    // user) and leaves Service as it was; an unknown name empties Service.
    QString SetService(const QString &service);
    // When false, any connection that is up with its addresses assigned will do.
    bool ForceService = true;
    // Offered for an entry that has no saved password.
    QString Password;
    // Seconds a dial may take, at least 1.
    int TimeOut() const { return m_timeOut; }
    void SetTimeOut(int seconds) { m_timeOut = seconds < 1 ? 1 : seconds; }

    TRASNotifyEvent OnStatusChange;
    TNotifyEvent OnDisconnected;

    // False when the system has no dial-up service.
    bool Available() const;
    // Enumerates the entries again: sorted by name (ignoring case first), each name once, so
    // that a stored position keeps naming the same entry. A failure leaves the list empty and
    // only records the error.
    const QStringList &Entries();
    // The list as the last Entries() left it.
    const QStringList &EntryList() const { return m_entries; }
    // The entry at a stored position (1 = the first entry); empty for 0 and for a position
    // beyond the list (the phone book shrank, or there is no dial-up service).
    QString EntryAt(int position) const;

    // True when Service (or, without ForceService, any connection) is already up.
    bool FindConnection();
    // Dials Service unless it is empty or a suitable connection is up.
    void Connect();
    // HangUp, then stops a dial that is running.
    void Disconnect();
    // Takes down a connection this component dialed; forgets it in every case.
    void HangUp();

    bool IsConnected() const { return m_connected; }
    bool DialedByUs() const { return m_dialedByUs; }
    int LastError() const { return m_lastError; }
    QString LastErrorText() const { return m_lastErrorText; }

private:
    void Notice(int state, int error, const QString &errorText);
    void Wake();
    void FireStatus(const QString &text);
    [[noreturn]] void Fail(int code, const QString &text);

    std::unique_ptr<TagDialer> m_dialer;
    QStringList m_entries;
    QString m_service;
    int m_timeOut = 120;

    bool m_connected = false;
    bool m_dialedByUs = false;
    bool m_stopRequested = false;
    int m_lastError = 0;
    QString m_lastErrorText;
    // An error the service reported after the connection was up; the next Connect fails with it.
    int m_pendingError = 0;
    QString m_pendingErrorText;
    // Error and status texts noticed during the running dial, for the dial's own stack.
    int m_dialError = 0;
    QString m_dialErrorText;
    QStringList m_pendingStatus;
    bool m_inDial = false;

    QEventLoop *m_loop = nullptr;
};
