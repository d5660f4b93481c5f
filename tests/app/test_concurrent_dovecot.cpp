// Every mailbox at once against the fixture's Dovecot (mailboxes conc01 ... conc12): the pass
// that talks to all of them together must leave the same rows, marks, log, hit counts,
// prompts and mailboxes as the checks one after another, and open no more connections to a
// server than allowed.
#include "concurrentchecks.h"
#include "dovecot_test.h"
#include "guard_test.h"
#include "unattendedcheck.h"
#include "unattendedprompts.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>
#include <utility>

namespace {

std::string Text(const QStringList &lines) { return lines.join(u'\n').toStdString(); }

QString User(int n) { return QStringLiteral("conc%1").arg(n, 2, 10, QLatin1Char('0')); }

struct Outcome
{
    QStringList told;     // per slot as the caller is told: result, rows with marks, deletions
    QStringList log;      // the activity log without its time stamps
    QStringList prompts;  // every text shown
    QStringList hits;     // the hit counts of the rule lists as stored
    QStringList waiting;  // what each mailbox holds afterwards
};

class ConcurrentDovecot : public DovecotTest
{
protected:
    enum class Kind { Good, WrongPassword, Unreachable };

    // Seeds mailboxes 1 ... kinds.size() afresh (each a little different) and sets the slots up.
    void Prepare(TGuardHome &h, const QList<Kind> &kinds)
    {
        for (int n = 1; n <= kinds.size(); ++n) {
            QList<QByteArray> mail = StandardMailbox();
            for (int i = 0; i < n % 3; ++i)
                mail << Mail(QStringLiteral("someone%1@example.org").arg(i), QStringLiteral("pills %1 of %2").arg(i).arg(n));
            Seed(User(n), mail);
            MailboxSlot slot{Server(), User(n), env.Password, TlsMode::None, {}};
            switch (kinds.at(n - 1)) {
            case Kind::Good: break;
            case Kind::WrongPassword: slot.password = QStringLiteral("wrong"); break;
            case Kind::Unreachable: slot.server = QStringLiteral("127.0.0.1:1"); break;
            }
            h.servers.slot(n) = slot;
        }
        h.general.logFile = h.logFile();
        h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
    }

    Outcome Pass(const QList<Kind> &kinds, bool deleting, bool together)
    {
        TGuardHome h;
        Prepare(h, kinds);
        Outcome out;
        QList<int> chosen;
        for (int n = 1; n <= kinds.size(); ++n)
            chosen << n;
        TUnattendedPrompts prompts(QStringLiteral("test"));
        const auto starting = [&](int n) { prompts.prefix = QStringLiteral("%1: ").arg(n); };
        const auto checked = [&](int n, const TTaskResult &result) {
            QString line = QStringLiteral("%1 ok=%2 listed=%3 deleted=%4:").arg(n).arg(result.ok).arg(result.listed).arg(result.deleted.size());
            for (const TMessageListRow &row : result.rows)
                line += QStringLiteral(" %1/%2").arg(row.subject).arg(row.mark);
            out.told << line;
        };
        {
            TUnattendedCheck run;
            run.Load();
            if (together)
                run.CheckAll(chosen, deleting, prompts, starting, checked);
            else
                for (int n : chosen) {
                    starting(n);
                    checked(n, run.Check(n, deleting, prompts));
                }
        }
        static const QRegularExpression stamp(QStringLiteral("\\d+[-/.:]\\d+([-/.:]\\d+)*"));
        for (QString line : h.readLog().split(u'\n', Qt::SkipEmptyParts))
            out.log << line.replace(stamp, QStringLiteral("#"));
        out.prompts = prompts.texts;
        TSpamSettings spam;
        spam.readSettings();
        for (const RuleTable *t : {&spam.gridSubject, &spam.gridHeader, &spam.gridExcept})
            for (int row = 1; row < t->RowCount(); ++row)
                out.hits << t->Cells(t->HitColumn(), row);
        for (int n = 1; n <= kinds.size(); ++n)
            out.waiting << WaitingSubjects(Server(), User(n), env.Password).join(u',');
        return out;
    }
};

TEST_F(ConcurrentDovecot, AllAtOnceEndsAsOneAfterAnother)
{
    using K = Kind;
    const QList<Kind> twelve = {K::Good, K::Good, K::WrongPassword, K::Good, K::Unreachable, K::Good,
                                K::Good, K::Good, K::Good, K::Good, K::WrongPassword, K::Good};
    struct Case { QList<Kind> kinds; bool deleting; };
    for (const Case &c : {Case{{K::Good}, true}, Case{{K::Good, K::WrongPassword, K::Good}, false},
                          Case{{K::Good, K::WrongPassword, K::Good}, true}, Case{twelve, true}}) {
        SCOPED_TRACE(testing::Message() << c.kinds.size() << " mailboxes, deleting " << c.deleting);
        const Outcome after = Pass(c.kinds, c.deleting, false);
        const Outcome together = Pass(c.kinds, c.deleting, true);
        EXPECT_EQ(Text(together.told), Text(after.told));
        EXPECT_EQ(Text(together.log), Text(after.log));
        EXPECT_EQ(Text(together.prompts), Text(after.prompts));
        EXPECT_EQ(Text(together.hits), Text(after.hits));
        EXPECT_EQ(Text(together.waiting), Text(after.waiting));
        // The comparison means something only when the pass found, marked and deleted.
        EXPECT_TRUE(after.told.first().contains(QStringLiteral("today/0"))) << after.told.first().toStdString();
        EXPECT_EQ(after.waiting.first().contains(QStringLiteral("today")), !c.deleting);
        EXPECT_EQ(after.prompts.isEmpty(), c.kinds.size() == 1);
    }
}

// A relay in front of the POP3 server that holds back every server's greeting until as many
// connections are open as one server may have (or a few seconds passed), then counts the most
// that were ever open at once.
class GatedRelay : public QObject
{
public:
    GatedRelay(quint16 target, int gate) : m_target(target), m_gate(gate) {}

    void Listen()
    {
        m_server = new QTcpServer(this);
        m_server->listen(QHostAddress::LocalHost);
        port = m_server->serverPort();
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server->nextPendingConnection())
                Relay(client);
        });
        QTimer::singleShot(5000, this, [this] { Open(); });
    }

    std::atomic<quint16> port{0};
    std::atomic<int> most{0};

private:
    void Relay(QTcpSocket *client)
    {
        auto *upstream = new QTcpSocket(client);
        ++m_open;
        most = std::max(most.load(), m_open);
        // A conversation is over for the count once its QUIT passed: the client gives its
        // place to the next only after the answer, which comes after this.
        auto ended = std::make_shared<bool>(false);
        const auto end = [=, this] {
            if (!std::exchange(*ended, true))
                --m_open;
        };
        connect(client, &QTcpSocket::readyRead, upstream, [=] {
            const QByteArray data = client->readAll();
            if (data.startsWith("QUIT\r\n") || data.contains("\nQUIT\r\n"))
                end();
            upstream->write(data);
        });
        connect(upstream, &QTcpSocket::readyRead, client, [=, this] {
            if (m_opened)
                client->write(upstream->readAll());
        });
        connect(upstream, &QTcpSocket::disconnected, client, [=] { client->disconnectFromHost(); });
        connect(client, &QTcpSocket::disconnected, this, [=] {
            end();
            client->deleteLater();
        });
        upstream->connectToHost(QHostAddress::LocalHost, m_target);
        m_sockets << upstream;
        if (m_open >= m_gate)
            Open();
    }

    void Open()
    {
        m_opened = true;
        for (QTcpSocket *upstream : std::as_const(m_sockets))
            if (upstream && upstream->bytesAvailable() > 0)
                emit upstream->readyRead();
    }

    QTcpServer *m_server = nullptr;
    quint16 m_target;
    int m_gate;
    int m_open = 0;
    bool m_opened = false;
    QList<QPointer<QTcpSocket>> m_sockets;
};

TEST_F(ConcurrentDovecot, NoMoreConnectionsToOneServerThanAllowed)
{
    TGuardHome h;
    Prepare(h, QList<Kind>(12, Kind::Good));
    QThread thread;
    GatedRelay relay(env.Pop3Port, kConnectionsPerServer);
    relay.moveToThread(&thread);
    thread.start();
    QMetaObject::invokeMethod(&relay, [&] { relay.Listen(); }, Qt::BlockingQueuedConnection);
    QList<MailboxSlot> mailboxes;
    for (int n = 1; n <= 12; ++n)
        mailboxes << MailboxSlot{QStringLiteral("127.0.0.1:%1").arg(relay.port.load()), User(n), env.Password, TlsMode::None, {}};
    int ended = 0;
    RunConcurrentChecks(
        mailboxes, false, {}, [](int, const TMailboxListing &) { return QList<int>(); },
        [&](int job, TConcurrentCheck &check) {
            EXPECT_TRUE(check.result.ok) << job << ": " << check.result.text.toStdString();
            EXPECT_EQ(check.result.listed, StandardMailbox().size() + (job + 1) % 3);
            ++ended;
        },
        {});
    thread.quit();
    thread.wait();
    EXPECT_EQ(ended, 12);
    // Fewer would mean one after another (the gate opened only by its timer), more a flood.
    EXPECT_EQ(relay.most.load(), kConnectionsPerServer);
}

} // namespace
