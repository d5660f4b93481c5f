// Every mailbox at once against the fixture's Dovecot (conc01 ... conc32), for tarnwick-cli and
// for the window's automatic pass: the same outcome as one after another, and no more
// connections to a server than allowed.
#include "concurrentchecks.h"
#include "guard_dovecot.h"
#include "unattendedcheck.h"
#include "unattendedprompts.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <atomic>

namespace {

class ConcurrentDovecot : public DovecotTest
{
protected:
    // Each test has mailboxes of its own (conc01 ... conc24): ctest may run two at once.
    int m_firstUser = 1;
    QString User(int n) const { return QStringLiteral("conc%1").arg(n + m_firstUser - 1, 2, 10, QLatin1Char('0')); }

    void Prepare(TGuardHome &h, const QStringList &passwords, const QString &server)
    {
        for (int n = 1; n <= passwords.size(); ++n) {
            QList<QByteArray> mail = StandardMailbox();
            for (int i = 0; i < n % 3; ++i)
                mail << Mail(QStringLiteral("someone%1@example.org").arg(i), QStringLiteral("pills %1 of %2").arg(i).arg(n));
            Seed(User(n), mail);
            const bool unreachable = passwords.at(n - 1) == QLatin1String("port 1");
            h.servers.slot(n) = {unreachable ? QStringLiteral("127.0.0.1:1") : server, User(n), passwords.at(n - 1), TlsMode::None, {}};
        }
        h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
    }

    // What the caller was told, the log, the prompts, the hit counts and the mailboxes after.
    QString Pass(const QStringList &passwords, bool deleting, bool together)
    {
        TGuardHome h;
        Prepare(h, passwords, Server());
        QStringList out;
        TUnattendedPrompts prompts(QStringLiteral("test"));
        const auto starting = [&](int n) { prompts.prefix = QStringLiteral("%1: ").arg(n); };
        const auto checked = [&](int n, const TTaskResult &result) {
            out << QStringLiteral("%1 ok=%2 listed=%3 deleted=%4:").arg(n).arg(result.ok).arg(result.listed).arg(result.deleted.size());
            for (const TMessageListRow &row : result.rows)
                out.last() += QStringLiteral(" %1/%2").arg(row.subject).arg(row.mark);
        };
        {
            TUnattendedCheck run;
            run.Load();
            const QList<int> chosen = QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}).first(passwords.size());
            if (together)
                run.CheckAll(chosen, deleting, prompts, starting, checked);
            for (int n : together ? QList<int>() : chosen)
                starting(n), checked(n, run.Check(n, deleting, prompts));
        }
        static const QRegularExpression stamp(QStringLiteral("\\d+[-/.:]\\d+([-/.:]\\d+)*"));
        out << h.readLog().replace(stamp, QStringLiteral("#")) << prompts.texts;
        TSpamSettings spam;
        spam.readSettings();
        for (const RuleTable *t : {&spam.gridSubject, &spam.gridHeader, &spam.gridExcept})
            for (int row = 1; row < t->RowCount(); ++row)
                out << QStringLiteral("hits ") + t->Cells(t->HitColumn(), row);
        for (int n = 1; n <= passwords.size(); ++n)
            out << WaitingSubjects(Server(), User(n), env.Password).join(u',');
        return out.join(u'\n');
    }
};

TEST_F(ConcurrentDovecot, AllAtOnceEndsAsOneAfterAnother)
{
    const QString good = env.Password;
    const QStringList twelve = {good, good, "wrong", good, "port 1", good, good, good, good, good, "wrong", good};
    struct Case { QStringList passwords; bool deleting; };
    for (const Case &c : {Case{{good}, true}, Case{{good, "wrong", good}, false}, Case{{good, "wrong", good}, true},
                          Case{twelve, true}}) {
        SCOPED_TRACE(testing::Message() << c.passwords.size() << " mailboxes, deleting " << c.deleting);
        const QString after = Pass(c.passwords, c.deleting, false);
        EXPECT_EQ(Pass(c.passwords, c.deleting, true).toStdString(), after.toStdString());
        // The comparison means something only when the pass marked, deleted and failed.
        EXPECT_TRUE(after.startsWith(QStringLiteral("1 ok=1 listed=6 deleted=%1: Cheap pills today/0").arg(c.deleting ? 3 : 0)));
        EXPECT_EQ(after.contains(QStringLiteral("ok=0")), c.passwords.size() > 1);
    }
}

// Holds back the greetings until gate connections are open (or 5 s passed, unless held for
// good); counts the most open at once, each until its QUIT (the client waits for the answer).
class GatedRelay : public QObject
{
public:
    std::atomic<quint16> port{0};
    std::atomic<int> most{0};

    void Listen(quint16 target, int gate, bool forGood = false)
    {
        auto *server = new QTcpServer(this);
        server->listen(QHostAddress::LocalHost);
        port = server->serverPort();
        connect(server, &QTcpServer::newConnection, this, [=, this] {
            while (QTcpSocket *client = server->nextPendingConnection()) {
                auto *upstream = new QTcpSocket(client);
                most = std::max(most.load(), ++m_open);
                connect(client, &QTcpSocket::readyRead, upstream, [=, this] {
                    const QByteArray data = client->readAll();
                    m_open -= data.startsWith("QUIT\r\n") || data.contains("\nQUIT\r\n");
                    upstream->write(data);
                });
                const auto pass = [=, this] { client->write(objectName().isEmpty() ? QByteArray() : upstream->readAll()); };
                connect(upstream, &QTcpSocket::readyRead, this, pass);
                connect(this, &QObject::objectNameChanged, upstream, pass);
                connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
                upstream->connectToHost(QHostAddress::LocalHost, target);
                if (m_open >= gate)
                    setObjectName(QStringLiteral("open"));
            }
        });
        if (!forGood)
            QTimer::singleShot(5000, this, [this] { setObjectName(QStringLiteral("open")); });
    }

private:
    int m_open = 0;
};

// With a cancel, the conversations under way are aborted (the gate stays shut) and no other starts.
TEST_F(ConcurrentDovecot, NoMoreConnectionsToOneServerThanAllowedAndCancelStopsThemAll)
{
    m_firstUser = 13;
    for (const bool cancel : {false, true}) {
        QThread thread;
        GatedRelay relay;
        relay.moveToThread(&thread);
        thread.start();
        QMetaObject::invokeMethod(&relay, [&] { relay.Listen(env.Pop3Port, cancel ? 99 : kConnectionsPerServer); }, Qt::BlockingQueuedConnection);
        TGuardHome h;
        Prepare(h, QStringList(12, env.Password), QStringLiteral("127.0.0.1:%1").arg(relay.port.load()));
        int ended = 0;
        RunConcurrentChecks(
            QList<MailboxSlot>(h.servers.mailboxes.begin(), h.servers.mailboxes.begin() + 12), false, {}, [](int, const QList<TMessageListRow> &) { return QList<int>(); },
            [&](int job, TConcurrentCheck &check) {
                EXPECT_EQ(check.result.listed, cancel ? 0 : StandardMailbox().size() + (job + 1) % 3) << check.result.text.toStdString();
                ended += check.result.canceled == cancel;
            },
            [&] { return cancel && relay.most >= kConnectionsPerServer; });
        thread.quit();
        thread.wait();
        EXPECT_EQ(ended, 12) << "cancel " << cancel;
        // Fewer would mean one after another (the gate opened only by its timer), more a flood.
        EXPECT_EQ(relay.most.load(), kConnectionsPerServer);
    }
}

// Passes POP3 conversations through to target, with "LOGIN-DELAY 900" added to the CAPA answer.
class DelayingRelay : public QObject
{
public:
    std::atomic<quint16> port{0};

    void Listen(quint16 target)
    {
        auto *server = new QTcpServer(this);
        server->listen(QHostAddress::LocalHost);
        port = server->serverPort();
        connect(server, &QTcpServer::newConnection, this, [=] {
            while (QTcpSocket *client = server->nextPendingConnection()) {
                auto *upstream = new QTcpSocket(client);
                connect(client, &QTcpSocket::readyRead, upstream, [=] { upstream->write(client->readAll()); });
                // The greeting goes at once; the CAPA answer, the first to end in ".", is held until whole.
                connect(upstream, &QTcpSocket::readyRead, client, [=, held = std::make_shared<std::optional<QByteArray>>(QByteArray())] {
                    const QByteArray data = upstream->readAll();
                    if (!*held)
                        return void(client->write(data));
                    QByteArray &seen = **held;
                    const qsizetype before = seen.size();
                    seen.append(data);
                    const qsizetype greeting = seen.indexOf("\r\n");
                    const qsizetype end = greeting < 0 ? -1 : seen.indexOf("\r\n.\r\n", greeting + 2);
                    if (end >= 0) {
                        seen.insert(end + 2, "LOGIN-DELAY 900\r\n");
                        client->write(seen.mid(std::min(before, greeting + 2)));
                        held->reset();
                    } else if (greeting >= 0 && before < greeting + 2) {
                        client->write(seen.mid(before, greeting + 2 - before));
                    }
                });
                connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
                upstream->connectToHost(QHostAddress::LocalHost, target);
            }
        });
    }
};

class PassDovecot : public GuardDovecot
{
protected:
    void SetUp() override
    {
        GuardDovecot::SetUp();
        relays.start();
        delaying.moveToThread(&relays);
        held.moveToThread(&relays);
        QMetaObject::invokeMethod(&delaying, [this] { delaying.Listen(env.Pop3Port); }, Qt::BlockingQueuedConnection);
        QMetaObject::invokeMethod(&held, [this] { held.Listen(env.Pop3Port, 99, true); }, Qt::BlockingQueuedConnection);
    }
    void TearDown() override
    {
        relays.quit();
        relays.wait();
    }

    QThread relays;
    DelayingRelay delaying;
    GatedRelay held;

    // Two ticks of automatic mode over slots named by codes, one a slot: S the standard mailbox,
    // s spam only, m mail only, e empty, p a wrong password, d the standard mailbox through a
    // server that asks for a pause between log-ins, g through one that never answers, - no
    // mailbox; with cancel, the user cancels as soon as each tick waits. What the window was
    // shown, told and asked, the rows, the log, the count and the mailboxes after.
    QString Run(const QString &codes, bool deleting, bool visible, bool cancel, bool together)
    {
        QFile::remove(h.logFile());
        prompts.calls.clear();
        statuses.clear();
        trayHints.clear();
        launched.clear();
        alarms.clear();
        shown = 0;
        h.servers = {};
        for (int n = 1; n <= codes.size(); ++n) {
            const QChar code = codes.at(n - 1);
            const QString user = QStringLiteral("conc%1").arg(24 + n);
            Seed(user, code == u's' ? QList<QByteArray>{Mail("shop@pills.example", "More pills")}
                     : code == u'm' ? QList<QByteArray>{Mail("boss@example.com", "Report")}
                     : code == u'e' ? QList<QByteArray>{} : StandardMailbox());
            h.servers.slot(n) = code == u'-' ? MailboxSlot{} : Slot(user);
            if (code == u'p')
                h.servers.slot(n).password = QStringLiteral("wrong");
            if (code == u'd' || code == u'g')
                h.servers.slot(n).server = QStringLiteral("127.0.0.1:%1").arg(code == u'd' ? delaying.port : held.port);
        }
        h.general.automatic = true;
        h.general.kill = deleting;
        h.general.launch = true;
        h.general.mailer = QStringLiteral("mailer");
        h.general.minutes = 1;
        Start();
        guard->SetConcurrentPass(together);
        // A server that never answers is given up on in the guard's time.
        guard->SetNetworkTimeOut(codes.contains(u'g') && !cancel ? 2 : 10);
        guard->SetMainWindowVisible(visible);
        QStringList out;
        QObject::connect(guard.get(), &TMailGuard::passMailboxResult, [&](int n, const QString &user, const TTaskResult &r, bool skipped) {
            out << QStringLiteral("%1 %2 ok=%3 listed=%4 deleted=%5 skipped=%6 %7").arg(n).arg(user).arg(r.ok).arg(r.listed)
                       .arg(r.deleted.size()).arg(skipped).arg(r.text);
        });
        for (int tick = 0; tick < 2; ++tick) {
            if (cancel)
                QTimer::singleShot(0, guard.get(), [this] { guard->Cancel(); });
            guard->Timer1Timer();
            out << QStringLiteral("rows") << RowSubjects() << QString::number(guard->Messages().ListedSlot());
            for (const int mark : RowMarks())
                out.last() += QStringLiteral(" %1").arg(mark);
        }
        out << statuses << trayHints << prompts.texts(TPromptCall::Error) << launched << QString::number(shown)
            << QString::number(alarms.size()) << h.readLog() << QString::number(StoredGeneral().count);
        QObject::disconnect(guard.get(), &TMailGuard::passMailboxResult, nullptr, nullptr);
        for (int n = 1; n <= codes.size(); ++n)
            out << Waiting(QStringLiteral("conc%1").arg(24 + n)).join(u',');
        static const QRegularExpression time(QStringLiteral("\\d+[-/.:]\\d+([-/.:]\\d+)*"));
        return out.join(u'\n').replace(time, QStringLiteral("#"));
    }
};

TEST_F(PassDovecot, AllAtOnceShowsLogsAndDeletesAsOneAfterAnother)
{
    struct Case { const char *codes; bool deleting, visible, cancel; const char *shows; };
    for (const Case &c : {Case{"Sp-dmSsS", true, false, false, "skipped until #"}, Case{"epmS", false, true, false, "MailBox conc27 - 1 messages"},
                          Case{"psdSe", true, true, false, "refused the request"}, Case{"ggg", true, false, true, "OPERATION CANCELED FOR conc25"},
                          Case{"gS", true, false, false, "ERROR Operation timed out FOR conc25"}}) {
        SCOPED_TRACE(c.codes);
        const QString after = Run(QString::fromLatin1(c.codes), c.deleting, c.visible, c.cancel, false);
        EXPECT_EQ(Run(QString::fromLatin1(c.codes), c.deleting, c.visible, c.cancel, true).toStdString(), after.toStdString());
        // The comparison means something only when the pass did what the case is for.
        EXPECT_TRUE(after.contains(QString::fromLatin1(c.shows))) << after.toStdString();
        EXPECT_EQ(after.contains(QStringLiteral("DELETE SPAM")), c.deleting && !c.cancel);
        ExpectIdle();
    }
}

} // namespace
