// The mail guard against the real Dovecot of the test fixture, without any window: checks,
// deletions, the automatic pass (also on new IMAP mail), cancel, failures and the refusal of a
// second command.
//
// Every test has a mailbox of its own (user16, user26 ... user40, imap09): tests run side by
// side, and two tests seeding one mailbox would pull messages from under each other's check.
#include "guard_dovecot.h"

#include "imapwatches.h"
#include "logformat.h"
#include "pop3mailbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QThread>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

TEST_F(GuardDovecot, CheckListsMarksLogsAndKeepsHitCounts)
{
    StartWith("user40", StandardMailbox());

    ASSERT_TRUE(guard->btListClick());

    EXPECT_EQ(RowSubjects(), StandardSubjects());
    EXPECT_EQ(RowMarks(), StandardMarks());
    const TMessageListModel &m = guard->Messages();
    EXPECT_EQ(m.Row(2).sender, QStringLiteral("friend@example.org"));
    EXPECT_EQ(m.Row(0).sizeText, QString::number(ToCrlf(StandardMailbox().at(0)).size()));
    EXPECT_EQ(m.Row(0).DateText(), TMessageListModel::FormatListDate(
                                 QDateTime(QDate(2026, 12, 6), QTime(14, 5), Qt::OffsetFromUTC, 3600).toLocalTime()));
    EXPECT_EQ(m.Row(0).when, QDateTime(QDate(2026, 12, 6), QTime(13, 5), Qt::UTC));
    EXPECT_EQ(m.ListedSlot(), 1);

    const QString server = Server();
    EXPECT_TRUE(statuses.contains(QStringLiteral("Opening connection for user40 on ") + server));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Getting message 5 of 5 total waiting messages")));
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 2"));
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK 5 msg(s) for \"user40\" on server ") + server + " at ")
                  .size(), 1);

    // Each row is evaluated when it arrives and again when the listing ends; the second
    // evaluation of a row that already has the check mark stops before the subject rules.
    EXPECT_EQ(StoredHits(RuleTable::Kind::Subject), 1);
    EXPECT_EQ(StoredHits(RuleTable::Kind::Header), 2);
    EXPECT_EQ(StoredHits(RuleTable::Kind::Except), 2);

    EXPECT_TRUE(prompts.calls.isEmpty()) << "one mailbox: no choice, no message";
    ExpectIdle();
    EXPECT_TRUE(guard->Buttons().checkButtonUp);
    EXPECT_EQ(Waiting("user40").size(), 5) << "a check changes nothing on the server";
}

TEST_F(GuardDovecot, WindowDeletionAsksThenDeletesExactlyTheMarkedRows)
{
    h.general.count = 7;
    StartWith("user39", StandardMailbox());
    ASSERT_TRUE(guard->btListClick());
    // The user marks the suspect row; a request left on the client for the plain row from
    // earlier must not delete it.
    guard->btMarkClick({3});
    dynamic_cast<TPop3Mailbox &>(guard->Mailbox()).Client().MarkDelete(4);

    prompts.yesNo = {false, true};
    guard->btDeleteClick();
    EXPECT_EQ(Waiting("user39").size(), 5) << "answered No";
    EXPECT_EQ(RowMarks(), (QList<int>{0, 2, 5, 0, -1}));
    guard->btDeleteClick();

    EXPECT_EQ(prompts.texts(TPromptCall::Question), QStringList(2, QStringLiteral("Really delete 3 messages from server?")));
    EXPECT_TRUE(prompts.texts(TPromptCall::Error).isEmpty()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    const QStringList left = {QStringLiteral("Cheap pills for you"), QStringLiteral("Lunch")};
    EXPECT_EQ(Waiting("user39"), left);
    EXPECT_EQ(RowSubjects(), left) << "listed again after the deletion";
    EXPECT_EQ(RowMarks(), (QList<int>{5, -1}));
    EXPECT_EQ(guard->StatusText(), QStringLiteral("There were 3 messages deleted"));
    EXPECT_TRUE(trayHints.contains(QStringLiteral("3 spams deleted")));
    // The progress names each message as the server deletes it.
    QStringList deleting;
    for (const QString &status : std::as_const(statuses))
        if (status.startsWith(QStringLiteral("Deleting ")))
            deleting << status.section(u' ', 2);
    EXPECT_EQ(deleting, (QStringList{"Cheap pills today", "Hello there", "Meeting"}));
    const QString log = h.readLog();
    EXPECT_EQ(LinesWith(log, QStringLiteral("   Server:  ") + Server() + QStringLiteral(" Mailbox: user39")).size(), 3);
    EXPECT_EQ(LinesWith(log, QStringLiteral("   Subject: ")),
              (QStringList{"   Subject: Cheap pills today", "   Subject: Hello there", "   Subject: Meeting"}));
    EXPECT_EQ(StoredGeneral().count, 10);
    ExpectIdle();

    // With the launch option, mail left after the spam went starts the mail program instead
    // of a second listing.
    guard->General().ask = false;
    guard->General().launch = true;
    guard->General().mailer = QStringLiteral("mailer --inbox");
    guard->btMarkClick({1});
    guard->btDeleteClick();
    EXPECT_EQ(Waiting("user39"), QStringList{QStringLiteral("Cheap pills for you")});
    EXPECT_EQ(launched, QStringList{QStringLiteral("mailer --inbox")});
    EXPECT_TRUE(guard->Messages().IsEmpty()) << "the mail program takes the messages over";
    EXPECT_EQ(guard->StatusText(), QStringLiteral("There were 1 messages deleted"));
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).size(), 1);
    EXPECT_EQ(StoredGeneral().count, 11);
}

// Nobody confirms in the automatic pass: each mailbox is listed and its spam deleted in one
// session, and exactly the marked messages go.
TEST_F(GuardDovecot, AutomaticPassDeletesInEverySlotAndReturnsToTheStoredSlot)
{
    Seed("user37", {Mail("shop@pills.example", "More pills"), Mail("x@known-spam.example", "Offer")});
    Seed("user36", {Mail("shop@pills.example", "Pills again"), Mail("mum@example.com", "Sunday"),
                    Mail("x@known-spam.example", "Offer 2")});
    Seed("user35", {Mail("shop@pills.example", "Pills once more"), Mail("boss@example.com", "Report")});
    h.servers.slot(1) = Slot("user37");
    h.servers.slot(2) = Slot("user36");
    h.servers.slot(4) = Slot("user35");
    h.servers.which = 2;
    h.general.automatic = true;
    h.general.kill = true;
    h.general.minutes = 1;
    h.general.alarmFile = h.home.file(QStringLiteral("alarm.wav"));
    h.home.write(QStringLiteral("alarm.wav"), "RIFF");
    Start();

    guard->Timer1Timer();

    EXPECT_EQ(Waiting("user37"), QStringList());
    EXPECT_EQ(Waiting("user36"), QStringList{QStringLiteral("Sunday")});
    EXPECT_EQ(Waiting("user35"), QStringList{QStringLiteral("Report")});
    const QString log = h.readLog();
    EXPECT_EQ(LinesWith(log, QStringLiteral("MAIL CHECK")).size(), 3);
    EXPECT_EQ(LinesWith(log, QStringLiteral("   Subject: ")),
              (QStringList{"   Subject: More pills", "   Subject: Offer", "   Subject: Pills again", "   Subject: Offer 2",
                           "   Subject: Pills once more"}));
    EXPECT_EQ(StoredGeneral().count, 5);

    // The mail left over is noticed although spam was deleted on the way.
    EXPECT_EQ(guard->Captions().windowCaption, QStringLiteral("Tarnwick - MailBox user36 - 1 messages"));
    EXPECT_EQ(guard->Captions().trayHint, guard->Captions().windowCaption);
    EXPECT_EQ(alarms, QStringList{h.general.alarmFile});
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompts.calls.isEmpty()) << "a pass with the window hidden asks nothing";
    EXPECT_EQ(guard->Iwhich(), 2);
    EXPECT_EQ(guard->LoadedSlot().mailbox, QStringLiteral("user36"));
    EXPECT_EQ(guard->minutesLeft(), 1);
    EXPECT_TRUE(guard->Timer1Enabled());

    // The list shows the last mailbox visited (slot 4), while the client is back on slot 2:
    // a deletion acts on the rows' own mailbox, where the row was message 2 when listed and
    // is message 1 now.
    ASSERT_EQ(RowSubjects(), QStringList{QStringLiteral("Report")});
    EXPECT_EQ(guard->Messages().Row(0).slot, 4);
    guard->btMarkClick({0});
    guard->btDeleteClick();
    EXPECT_TRUE(prompts.texts(TPromptCall::Error).isEmpty()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    EXPECT_EQ(Waiting("user35"), QStringList());
    EXPECT_EQ(Waiting("user36"), QStringList{QStringLiteral("Sunday")});
    ExpectIdle();
}
TEST_F(GuardDovecot, CancelDuringTheListingClearsTheListAndReturnsToIdle)
{
    QList<QByteArray> many;
    for (int i = 1; i <= 8; ++i)
        many << Mail(QStringLiteral("sender%1@example.com").arg(i), QStringLiteral("Message %1").arg(i));
    StartWith("user34", many);
    int rowsSeen = 0;
    QObject::connect(&guard->Messages(), &QAbstractItemModel::rowsInserted, [&] {
        if (++rowsSeen == 3) {
            EXPECT_TRUE(guard->Buttons().exitIsCancel && guard->Progress().visible);
            guard->Cancel();
        }
    });

    EXPECT_FALSE(guard->btListClick());

    EXPECT_EQ(rowsSeen, 3) << "no row after the cancel";
    EXPECT_TRUE(guard->Messages().IsEmpty());
    EXPECT_TRUE(prompts.texts(TPromptCall::Error).isEmpty()) << "a cancel the user asked for is no error";
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Operation has been canceled"));
    const QString log = h.readLog();
    EXPECT_EQ(LinesWith(log, QStringLiteral("OPERATION CANCELED FOR user34 ON ")).size(), 1);
    EXPECT_EQ(LinesWith(log, QStringLiteral("ERROR Operation has been canceled FOR user34")).size(), 1);
    EXPECT_TRUE(LinesWith(log, QStringLiteral("MAIL CHECK")).isEmpty());
    ExpectIdle();

    // Nothing is left waiting for a second cancel: the next check simply runs.
    rowsSeen = 100;
    prompts.calls.clear();
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(guard->Messages().Count(), 8);
    EXPECT_TRUE(prompts.calls.isEmpty());
    EXPECT_EQ(Waiting("user34").size(), 8);
}

TEST_F(GuardDovecot, EveryOtherCommandIsRefusedWhileACheckRuns)
{
    h.general.mailer = QStringLiteral("mailer");
    StartWith("user33", StandardMailbox());
    int rowsSeen = 0;
    bool refusedAll = false;
    QObject::connect(&guard->Messages(), &QAbstractItemModel::rowsInserted, [&] {
        if (++rowsSeen != 2)
            return;
        EXPECT_TRUE(guard->IsBusy());
        EXPECT_FALSE(guard->Buttons().trayMenuEnabled);
        EXPECT_FALSE(guard->Buttons().checkEnabled);
        EXPECT_FALSE(guard->btListClick());
        guard->btDeleteClick();
        guard->btLaunchClick();
        EXPECT_TRUE(guard->RetrieveMessage(0).isEmpty());
        guard->Timer1Timer();
        refusedAll = true;
    });

    EXPECT_TRUE(guard->btListClick());
    EXPECT_TRUE(refusedAll);
    EXPECT_EQ(RowSubjects(), StandardSubjects()) << "the running check went on undisturbed";
    EXPECT_TRUE(prompts.calls.isEmpty());
    EXPECT_TRUE(launched.isEmpty());
    EXPECT_EQ(guard->minutesLeft(), 10) << "the tick did nothing";
    EXPECT_EQ(Waiting("user33").size(), 5);
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).size(), 1);
    ExpectIdle();
}

TEST_F(GuardDovecot, ClosingWhileBusyCancelsAndQuitsOnceUnwound)
{
    StartWith("user27", StandardMailbox());
    int quits = 0;
    bool busyAtQuit = true;
    QObject::connect(guard.get(), &TMailGuard::quitRequested, [&] {
        ++quits;
        busyAtQuit = guard->IsBusy();
    });
    bool closeAllowed = true;
    QObject::connect(&guard->Messages(), &QAbstractItemModel::rowsInserted, [&] {
        if (guard->Messages().Count() == 1)
            closeAllowed = guard->CloseQuery();
    });
    EXPECT_FALSE(guard->btListClick());
    EXPECT_FALSE(closeAllowed);
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(busyAtQuit);
    EXPECT_TRUE(guard->CloseQuery());
}

TEST_F(GuardDovecot, AnEmptyMailboxEndsTheProgramWhenAskedTo)
{
    h.general.exitAfterCheck = true;
    StartWith("user26", {});
    int quits = 0;
    QObject::connect(guard.get(), &TMailGuard::quitRequested, [&] { ++quits; });
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(statuses.contains(QStringLiteral("0 msg(s) for user26 on ") + Server()));
    EXPECT_TRUE(!guard->Buttons().messageButtonsVisible && guard->Buttons().bannerVisible);
    EXPECT_FALSE(guard->Buttons().checkButtonUp);
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK 0 msg(s) for \"user26\"")).size(), 1);

    // In automatic mode, or when the check failed, the program stays.
    guard->General().automatic = true;
    EXPECT_TRUE(guard->btListClick());
    guard->General().automatic = false;
    guard->Servers().slot(1).password = QStringLiteral("wrong");
    EXPECT_FALSE(guard->btListClick());
    EXPECT_EQ(quits, 1);
}

TEST_F(GuardDovecot, FailedCheckShowsTheErrorOnceAndReturnsToIdle)
{
    Seed("user32", StandardMailbox());
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString unreachable = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    const struct {
        bool wrongPassword;
        const char *expected; // part of the one error shown
        bool errorLogged;     // the client reported it through OnError
    } cases[] = {{false, "Connection refused", true}, {true, "-ERR", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        h.servers.slot(1) = Slot("user32");
        if (c.wrongPassword)
            h.servers.slot(1).password = QStringLiteral("not the password");
        else
            h.servers.slot(1).server = unreachable;
        h.general.automatic = true;
        QFile::remove(h.logFile());
        prompts.calls.clear();
        Start();

        EXPECT_FALSE(guard->btListClick());

        const QStringList errors = prompts.texts(TPromptCall::Error);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors.first().contains(QString::fromLatin1(c.expected))) << errors.first().toStdString();
        EXPECT_TRUE(errors.first().contains(QStringLiteral("mailbox 1"))) << "says where to put it right";
        EXPECT_FALSE(errors.first().contains(QStringLiteral("not the password")));
        EXPECT_EQ(prompts.calls.size(), 1);
        ExpectIdle();
        EXPECT_TRUE(guard->Timer1Enabled()) << "automatic mode goes on after a failed check";
        const QString log = h.readLog();
        EXPECT_TRUE(LinesWith(log, QStringLiteral("MAIL CHECK")).isEmpty());
        EXPECT_EQ(LinesWith(log, QStringLiteral("ERROR ")).size(), c.errorLogged ? 1 : 0);
        EXPECT_FALSE(log.contains(QStringLiteral("not the password")));
        guard->btDeleteClick();
        EXPECT_EQ(Waiting("user32").size(), 5);
    }
}

TEST_F(GuardDovecot, SwitchingToManualDuringAPassStopsTheTimer)
{
    h.general.automatic = true;
    h.general.minutes = 1;
    h.general.alarm = false;
    StartWith("user16", {Mail("boss@example.com", "Report")});
    QObject::connect(&guard->Messages(), &QAbstractItemModel::rowsInserted, [&] { guard->EnableAutomatic(false); });
    guard->Timer1Timer();
    EXPECT_EQ(guard->Messages().Count(), 1);
    EXPECT_FALSE(guard->Timer1Enabled());
    EXPECT_FALSE(guard->Captions().automatic);
    EXPECT_FALSE(StoredGeneral().automatic);
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("Automatic mode disabled at ")).size(), 1);

    // The other way round: switched on during a manual check, the tick runs once it is over.
    QObject::disconnect(&guard->Messages(), nullptr, nullptr, nullptr);
    bool timerDuringCheck = true;
    QObject::connect(&guard->Messages(), &QAbstractItemModel::rowsInserted, [&] {
        guard->EnableAutomatic(true);
        timerDuringCheck = guard->Timer1Enabled();
    });
    EXPECT_TRUE(guard->btListClick()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    EXPECT_FALSE(timerDuringCheck) << "no tick inside a check";
    EXPECT_TRUE(guard->Timer1Enabled());
}

TEST_F(GuardDovecot, MailboxChoiceListsConfiguredSlotsAndChecksTheChosenOne)
{
    Seed("user31", {Mail("boss@example.com", "Report")});
    h.servers.slot(1) = Slot("user31");
    h.servers.slot(3) = {QStringLiteral("[::1]:1"), QStringLiteral("nobody"), QStringLiteral("pw"), TlsMode::None, {}};
    Start();
    QList<int> iwhich;
    QObject::connect(guard.get(), &TMailGuard::IwhichChanged, [&](int n) { iwhich << n; });

    prompts.choices = {0};
    EXPECT_FALSE(guard->btListClick());
    EXPECT_EQ(prompts.offeredEntries,
              (QList<QList<TMailboxEntry>>{{{1, QStringLiteral("1) Mailbox user31 - Server ") + Server()},
                                            {3, QStringLiteral("3) Mailbox nobody - Server [::1]:1")}}}));
    EXPECT_TRUE(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).isEmpty()) << "cancelled choice: no check";

    guard->SetMainWindowVisible(true);
    prompts.choices = {1};
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(guard->Messages().Count(), 1);
    EXPECT_TRUE(iwhich.isEmpty()) << "slot 1 was already the current one";
}

TEST_F(GuardDovecot, RefusedCertificateCanBeTrustedForTheMailbox)
{
    Seed("user30", {Mail("boss@example.com", "Report")});
    h.servers.slot(1) = Slot("user30", TlsMode::Implicit);
    Start();

    prompts.trust = {true};
    EXPECT_FALSE(guard->btListClick());
    const QStringList asked = prompts.texts(TPromptCall::Trust);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.first().startsWith(QStringLiteral("1|") + env.Fingerprint + u'|')) << asked.first().toStdString();
    EXPECT_TRUE(prompts.texts(TPromptCall::Error).isEmpty());
    EXPECT_EQ(readServerSettings(UserSettings()).slot(1).fingerprint, env.Fingerprint);
    ExpectIdle();
    // What is no fingerprint is refused and changes nothing.
    EXPECT_FALSE(guard->TrustCertificate(1, QStringLiteral("not hex")));
    EXPECT_EQ(prompts.texts(TPromptCall::Error).size(), 1);
    EXPECT_EQ(readServerSettings(UserSettings()).slot(1).fingerprint, env.Fingerprint);

    prompts.calls.clear();
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(RowSubjects(), QStringList{QStringLiteral("Report")});
    EXPECT_TRUE(prompts.calls.isEmpty());
}

TEST_F(GuardDovecot, ChangedMessagesStayAndMovedOnesAreFollowed)
{
    h.general.ask = false;
    StartWith("user29", StandardMailbox());
    ASSERT_TRUE(guard->btListClick());
    ASSERT_EQ(guard->Messages().MarkedCount(), 2);
    // Another mail program takes the first message: every later one moves up by one.
    TakeAway(QStringLiteral("user29"), 0);

    guard->btDeleteClick();

    // The marked message that the other program took is reported as changed; the other one
    // only moved up by one, and is found by its unique id and deleted at its new number.
    EXPECT_EQ(Waiting("user29").size(), 3);
    const QStringList infos = prompts.texts(TPromptCall::Info);
    ASSERT_EQ(infos.size(), 1);
    EXPECT_TRUE(infos.first().startsWith(QStringLiteral("1 of the marked messages were left on the server")))
        << infos.first().toStdString();
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("DELETE SPAM")).size(), 1);
    EXPECT_EQ(StoredGeneral().count, 1);
    EXPECT_EQ(guard->StatusText(), QStringLiteral("There were 1 messages deleted"));
    ExpectIdle();
}

// In automatic mode an IMAP folder is watched (IDLE): mail delivered while the event loop
// runs is checked at once, and with deletion on the spam goes to Junk while the rest stays in
// INBOX, unseen. Inside a dialog the check waits, and follows once it has closed.
TEST_F(GuardDovecot, ImapMailIsCheckedAndCleanedAsItArrives)
{
    Seed("imap09", {});
    h.servers.slot(1) = {env.Server(env.ImapPort), "imap09", env.Password, TlsMode::None, {}};
    h.servers.slot(1).protocol = MailProtocol::Imap;
    h.general.automatic = h.general.kill = true;
    h.general.minutes = 60;   // the timed pass plays no part
    Start();
    const QString root = env.MailDir + QStringLiteral("/imap09");
    const auto folder = [this](const QString &name) { return Folder(QStringLiteral("imap09"), name); };
    const auto deliver = [&](const QByteArray &mail) {
        QFile file(root + QStringLiteral("/tmp/%1.M3P3.tarnwick").arg(qHash(mail)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(mail) == mail.size());
        file.close();
        ASSERT_TRUE(QFile::rename(file.fileName(), root + "/new/" + QFileInfo(file).fileName()));
    };
    const auto runUntil = [](const std::function<bool()> &done, int ms) {
        QElapsedTimer clock;
        for (clock.start(); !done() && clock.elapsed() < ms; QThread::msleep(2))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    };
    ASSERT_TRUE(guard->ImapWatches());
    bool idle = false;
    QObject::connect(guard->ImapWatches(), &TImapWatches::watching, [&](int n, bool byIdle) { idle = n == 1 && byIdle; });
    ASSERT_TRUE(runUntil([&] { return idle; }, 20000)) << "no IDLE session on slot 1";
    qint64 checkedAfter = -1;
    QElapsedTimer clock;
    QObject::connect(guard.get(), &TMailGuard::captionsChanged, [&](const TCaptionState &c) {
        if (checkedAfter < 0 && c.windowCaption.startsWith(QStringLiteral("Tarnwick - Now checking")))
            checkedAfter = clock.elapsed();
    });

    clock.start();
    deliver(Mail("shop@pills.example", "Cheap pills"));
    deliver(Mail("mum@example.com", "Sunday"));
    EXPECT_TRUE(runUntil([&] { return folder("Junk").size() == 1 && !guard->IsBusy(); }, 20000));
    std::printf("IMAP new mail: checked %lld ms and its spam in Junk %lld ms after delivery\n",
                static_cast<long long>(checkedAfter), static_cast<long long>(clock.elapsed()));
    EXPECT_EQ(folder("Junk").value(0).section(u' ', 0, 1), QStringLiteral("Cheap pills"));
    EXPECT_EQ(folder({}), QStringList{"Sunday :"}) << "left unseen";
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("   Subject: ")), QStringList{"   Subject: Cheap pills"});
    EXPECT_EQ(StoredGeneral().count, 1);
    EXPECT_TRUE(prompts.calls.isEmpty());

    {
        TMailGuard::ModalScope dialog(*guard);
        deliver(Mail("x@known-spam.example", "Offer"));
        runUntil([] { return false; }, 3000);
        EXPECT_EQ(folder("Junk").size(), 1) << "no check while a dialog is open";
    }
    EXPECT_TRUE(runUntil([&] { return folder("Junk").size() == 2 && !guard->IsBusy(); }, 20000));
    EXPECT_EQ(folder({}), QStringList{"Sunday :"});
}

} // namespace
