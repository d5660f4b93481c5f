#include "dialup.h"
#include "wording.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
// Enough for nmcli to notice a kill and go; it is not waited for beyond this.
constexpr int kKillWaitMs = 2000;
// nmcli's exit code when it could not do what it was asked, for a process that never told.
constexpr int kUnknownError = 1;

// The profile setting that holds an entry's password, by the profile's type.
QString PasswordSetting(const QString &type)
{
    if (type == QLatin1String("gsm") || type == QLatin1String("bluetooth"))
        return QStringLiteral("gsm.password");
    if (type == QLatin1String("cdma"))
        return QStringLiteral("cdma.password");
    if (type == QLatin1String("pppoe"))
        return QStringLiteral("pppoe.password");
    if (type == QLatin1String("vpn"))
        return QStringLiteral("vpn.secrets.password");
    if (type == QLatin1String("802-11-wireless") || type == QLatin1String("wifi"))
        return QStringLiteral("802-11-wireless-security.psk");
    return QStringLiteral("802-1x.password");
}

// nmcli's complaint: its first non-empty line on stderr.
QString FirstLine(const QByteArray &bytes)
{
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    for (const QString &line : lines) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return QString();
}

QProcessEnvironment NmEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Untranslated texts, the same as the rest of the program's messages.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return env;
}
} // namespace

QString RasStatusText(int state)
{
    switch (state) {
    case RasState::kOpenPort: return Said("Net", "Initializing...");
    case RasState::kConnectDevice:
    case RasState::kDeviceConnected:
    case RasState::kAllDevicesConnected: return Said("Net", "Dialing...");
    case RasState::kAuthenticate:
    case RasState::kStartAuthentication: return Said("Net", "Verifying user name and password");
    case RasState::kAuthenticated: return Said("Net", "User name and password verified");
    case RasState::kLogonNetwork: return Said("Net", "Logging on to Network");
    case RasState::kConnected: return Said("Net", "Successfully connected");
    default: return QString();
    }
}

TagNmDialer::TagNmDialer(QObject *parent) : QObject(parent) {}

TagNmDialer::~TagNmDialer()
{
    AbortDial();
}

QString TagNmDialer::Program() const
{
    // Looked up on every use: NetworkManager may be installed or removed while the program runs.
    return QStandardPaths::findExecutable(QStringLiteral("nmcli"));
}

bool TagNmDialer::Available() const
{
    return !Program().isEmpty();
}

QStringList TagNmDialer::SplitTerse(const QString &line)
{
    QStringList fields;
    QString field;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\\' && i + 1 < line.size()) {
            field += line.at(++i);
        } else if (c == u':') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

QByteArray TagNmDialer::Query(const QStringList &arguments, const Said &what)
{
    const QString program = Program();
    if (program.isEmpty())
        throw ERASError(Said("Net", "NetworkManager's nmcli program is not installed, so %1 is not possible. "
                                       "Install NetworkManager or select \"None\" as the connection.")
                            .arg(what),
                        kUnknownError);
    QProcess process;
    process.setProcessEnvironment(NmEnvironment());
    process.start(program, arguments);
    if (!process.waitForStarted(kQueryTimeOutMs))
        throw ERASError(Said("Net", "The program %1 could not be started (%2), so %3 is not possible.")
                            .arg(program, process.errorString(), what),
                        kUnknownError);
    process.closeWriteChannel();
    if (!process.waitForFinished(kQueryTimeOutMs)) {
        process.kill();
        process.waitForFinished(kKillWaitMs);
        throw ERASError(Said("Net", "NetworkManager did not answer within %1 seconds, so %2 is not possible. "
                                       "Check that NetworkManager is running, then try again.")
                            .arg(kQueryTimeOutMs / 1000)
                            .arg(what),
                        NmExit::kTimeout);
    }
    if (process.exitStatus() != QProcess::NormalExit)
        throw ERASError(RasErrorText(kUnknownError, FirstLine(process.readAllStandardError())), kUnknownError);
    if (process.exitCode() != 0)
        throw ERASError(RasErrorText(process.exitCode(), FirstLine(process.readAllStandardError())),
                        process.exitCode());
    return process.readAllStandardOutput();
}

QStringList TagNmDialer::ListEntries()
{
    const QByteArray out = Query({QStringLiteral("--terse"), QStringLiteral("--escape"), QStringLiteral("yes"),
                                  QStringLiteral("--fields"), QStringLiteral("NAME"), QStringLiteral("connection"),
                                  QStringLiteral("show")},
                                 Said("Net", "listing the connections"));
    return ParseEntries(out);
}

QStringList TagNmDialer::ParseEntries(const QByteArray &output)
{
    QStringList names;
    for (const QString &line : QString::fromUtf8(output).split(u'\n')) {
        const QStringList fields = SplitTerse(line);
        // A name is one field; anything else is not a line of this listing.
        if (fields.size() == 1 && !fields.constFirst().trimmed().isEmpty())
            names << fields.constFirst();
    }
    return names;
}

QList<TagActiveConnection> TagNmDialer::ListActive()
{
    const QByteArray out = Query({QStringLiteral("--terse"), QStringLiteral("--escape"), QStringLiteral("yes"),
                                  QStringLiteral("--fields"), QStringLiteral("NAME,TYPE,STATE"),
                                  QStringLiteral("connection"), QStringLiteral("show"), QStringLiteral("--active")},
                                 Said("Net", "looking for a connection that is up"));
    return ParseActive(out);
}

QList<TagActiveConnection> TagNmDialer::ParseActive(const QByteArray &output)
{
    QList<TagActiveConnection> active;
    for (const QString &line : QString::fromUtf8(output).split(u'\n')) {
        const QStringList fields = SplitTerse(line);
        if (fields.size() != 3 || fields.at(0).trimmed().isEmpty())
            continue;
        active.append({fields.at(0), fields.at(1), fields.at(2) == QLatin1String("activated")});
    }
    return active;
}

void TagNmDialer::StartDial(const QString &entry, const QString &password, int timeOutSeconds)
{
    AbortDial();
    const QString program = Program();
    if (program.isEmpty())
        throw ERASError(Said("Net", "NetworkManager's nmcli program is not installed, so \"%1\" cannot be dialed.")
                            .arg(entry),
                        kUnknownError);
    QStringList arguments{QStringLiteral("--wait"), QString::number(qMax(1, timeOutSeconds)),
                          QStringLiteral("connection"), QStringLiteral("up"), QStringLiteral("id"), entry};
    if (!password.isEmpty()) {
        if (password.contains(u'\n') || password.contains(u'\r') || password.contains(QChar(0)))
            throw ERASError(Said("Net", "The dial-up password must not contain line breaks or NUL characters."),
                            kUnknownError);
        // The secret goes to nmcli in a file only this user can read, never on the command line
        // where every user of the machine could see it.
        const QByteArray type = Query({QStringLiteral("--terse"), QStringLiteral("--get-values"),
                                       QStringLiteral("connection.type"), QStringLiteral("connection"),
                                       QStringLiteral("show"), QStringLiteral("id"), entry},
                                      Said("Net", "dialing"))
                                    .trimmed();
        auto secrets = std::make_unique<QTemporaryFile>();
        if (!secrets->open())
            throw ERASError(Said("Net", "A private file for the dial-up password could not be created: %1")
                                .arg(secrets->errorString()),
                            kUnknownError);
        secrets->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QByteArray line = PasswordSetting(QString::fromUtf8(type)).toUtf8() + ':' + password.toUtf8() + '\n';
        if (secrets->write(line) != line.size() || !secrets->flush())
            throw ERASError(Said("Net", "The private file for the dial-up password could not be written: %1")
                                .arg(secrets->errorString()),
                            kUnknownError);
        arguments << QStringLiteral("passwd-file") << secrets->fileName();
        m_secrets = std::move(secrets);
    }

    m_dialEntry = entry;
    m_dial = new QProcess(this);
    m_dial->setProcessEnvironment(NmEnvironment());
    connect(m_dial, &QProcess::started, this, [this] {
        if (OnNotice)
            OnNotice(RasState::kConnectDevice, 0, QString());
    });
    connect(m_dial, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        DialFinished(exitCode, status != QProcess::NormalExit);
    });
    connect(m_dial, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || !m_dial)
            return;
        const QString text = Said("Net", "The program nmcli could not be started (%1).").arg(m_dial->errorString());
        ClearDial();
        if (OnNotice)
            OnNotice(-1, kUnknownError, text);
    });
    if (OnNotice)
        OnNotice(RasState::kOpenPort, 0, QString());
    m_dial->start(program, arguments);
    m_dial->closeWriteChannel();
}

void TagNmDialer::DialFinished(int exitCode, bool crashed)
{
    if (!m_dial)
        return;
    const QString complaint = FirstLine(m_dial->readAllStandardError());
    ClearDial();
    if (!OnNotice)
        return;
    if (crashed)
        OnNotice(-1, kUnknownError, complaint.isEmpty() ? QString(Said("Net", "nmcli ended abnormally")) : complaint);
    else if (exitCode == 0)
        OnNotice(RasState::kConnected, 0, QString());
    else
        OnNotice(-1, exitCode, RasErrorText(exitCode, complaint));
}

void TagNmDialer::ClearDial()
{
    if (m_dial) {
        m_dial->disconnect(this);
        // Deleted from the event loop: this may run inside one of its signals.
        m_dial->deleteLater();
        m_dial = nullptr;
    }
    m_secrets.reset();
}

void TagNmDialer::AbortDial()
{
    if (!m_dial)
        return;
    QProcess *dial = m_dial;
    dial->disconnect(this);
    if (dial->state() != QProcess::NotRunning) {
        dial->kill();
        dial->waitForFinished(kKillWaitMs);
    }
    ClearDial();
}

void TagNmDialer::HangUp(const QString &entry)
{
    try {
        Query({QStringLiteral("connection"), QStringLiteral("down"), QStringLiteral("id"), entry},
              Said("Net", "hanging up"));
    } catch (const ERASError &e) {
        if (e.Code() != NmExit::kNotActive)
            throw;
    }
}
