#pragma once

#include "neterrors.h"
#include "wording.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProcess;
class QTemporaryFile;

// Connection states of a dial, by the numbers the dial-up service has always reported.
namespace RasState {
inline constexpr int kOpenPort = 0;
inline constexpr int kConnectDevice = 2;
inline constexpr int kDeviceConnected = 3;
inline constexpr int kAllDevicesConnected = 4;
inline constexpr int kAuthenticate = 5;
inline constexpr int kAuthenticated = 14;
inline constexpr int kStartAuthentication = 19;
inline constexpr int kLogonNetwork = 21;
inline constexpr int kConnected = 0x2000;
} // namespace RasState

// The user's text for a connection state; empty for states that have none.
QString RasStatusText(int state);

// A connection that is up or coming up.
struct TagActiveConnection
{
    QString Name;
    QString Type;
    bool Activated = false; // fully up, with its addresses assigned
};

// The small dial-up interface TagRas works over: the phone book, the connections that are up,
// dialing (which runs in the background and reports through OnNotice) and hanging up.
// Failures of the synchronous calls are thrown as ERASError.
class TagDialer
{
public:
    virtual ~TagDialer() = default;

    // False when the system has no dial-up service: nothing else is then called.
    virtual bool Available() const = 0;
    // The names of the phone-book entries, in the service's own order.
    virtual QStringList ListEntries() = 0;
    virtual QList<TagActiveConnection> ListActive() = 0;
    // Starts dialing entry; returns at once. password, when not empty, is offered to the
    // service in case the entry has none saved; it never appears on a command line.
    // timeOutSeconds bounds the service's own attempt.
    virtual void StartDial(const QString &entry, const QString &password, int timeOutSeconds) = 0;
    // Ends a dial that is still running (its notices stop). Does nothing when none runs.
    virtual void AbortDial() = 0;
    virtual bool Dialing() const = 0;
    // Takes entry down. An entry that is not up is not an error.
    virtual void HangUp(const QString &entry) = 0;

    // A dial's progress: a connection state, and an error number with its text (0 and empty
    // when the notice is no error). Called from the event loop; it must not throw.
    std::function<void(int state, int error, const QString &errorText)> OnNotice;
};

// nmcli's exit codes that TagRas treats specially.
namespace NmExit {
inline constexpr int kTimeout = 3;
inline constexpr int kNotActive = 10;
} // namespace NmExit

// The NetworkManager back end: connection profiles are the phone-book entries, "up" dials,
// "down" hangs up, all through the nmcli program found on the PATH. Without nmcli the service
// is not available. Queries wait at most kQueryTimeOutMs; a dial runs as a background process.
class TagNmDialer : public QObject, public TagDialer
{
    Q_OBJECT

public:
    explicit TagNmDialer(QObject *parent = nullptr);
    ~TagNmDialer() override;

    bool Available() const override;
    QStringList ListEntries() override;
    QList<TagActiveConnection> ListActive() override;
    void StartDial(const QString &entry, const QString &password, int timeOutSeconds) override;
    void AbortDial() override;
    bool Dialing() const override { return m_dial != nullptr; }
    void HangUp(const QString &entry) override;

    static constexpr int kQueryTimeOutMs = 15000;

    // One record of nmcli's terse output, its fields split at unescaped colons.
    static QStringList SplitTerse(const QString &line);
    // nmcli's terse listings: profile names (one field a line), and name, type and state of
    // the connections that are up. Lines that do not fit are skipped.
    static QStringList ParseEntries(const QByteArray &output);
    static QList<TagActiveConnection> ParseActive(const QByteArray &output);

private:
    QString Program() const;
    QByteArray Query(const QStringList &arguments, const Said &what);
    void DialFinished(int exitCode, bool crashed);
    void ClearDial();

    QProcess *m_dial = nullptr;
    std::unique_ptr<QTemporaryFile> m_secrets;
    QString m_dialEntry;
};
