// The mail guard against the real Dovecot of the test fixture, without any window: checks,
// deletions, the automatic pass, cancel, failures and the refusal of a second command.
//
// Every test has mailboxes of its own (user27 ... user40), so tests can run side by side.
#include "dovecot_test.h"
#include "guard_test.h"

#include "logformat.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

class GuardDovecot : public DovecotTest
{
protected:
    MailboxSlot Slot(const QString &user, TlsMode tls = TlsMode::None) const
    {
        MailboxSlot slot;
        slot.server = env.Server(tls == TlsMode::Implicit ? env.Pop3sPort : env.Pop3Port);
        slot.mailbox = user;
        slot.password = env.Password;
        slot.tls = tls;
        return slot;
    }

    void Start()
    {
        h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetNetworkTimeOut(10);
        guard->SetLauncher([this](const QString &command) {
            launched << command;
            return true;
        });
        QObject::connect(guard.get(), &TMailGuard::statusChanged, [this](const QString &s) { statuses << s; });
        QObject::connect(guard.get(), &TMailGuard::alarmRequested,
                         [this](const QString &file, bool) { alarms << file; });
        QObject::connect(guard.get(), &TMailGuard::showWindowRequested, [this] { ++shown; });
        QObject::connect(guard.get(), &TMailGuard::captionsChanged,
                         [this](const TCaptionState &c) { trayHints << c.trayHint; });
        guard->FormCreate();
    }

    // The subjects waiting in a mailbox now, seen by a client of its own.
    QStringList Waiting(const QString &user) const { return WaitingSubjects(Server(), user, env.Password); }

    QStringList RowSubjects() const
    {
        QStringList out;
        for (int i = 0; i < guard->Messages().Count(); ++i)
            out << guard->Messages().Row(i).subject;
        return out;
    }

    QList<int> RowMarks() const
    {
        QList<int> out;
        for (int i = 0; i < guard->Messages().Count(); ++i)
            out << guard->Messages().data(guard->Messages().index(i, 0), TMessageListModel::MarkRole).toInt();
        return out;
    }

    void ExpectIdle() const
    {
        EXPECT_FALSE(guard->IsBusy());
        EXPECT_FALSE(guard->checkInProgress());
        EXPECT_FALSE(guard->deleteInProgress());
        EXPECT_FALSE(guard->RemotePOP().Connected());
        const TButtonState &b = guard->Buttons();
        EXPECT_TRUE(b.checkEnabled);
        EXPECT_TRUE(b.optionsEnabled);
        EXPECT_TRUE(b.trayMenuEnabled);
        EXPECT_FALSE(b.exitIsCancel);
        EXPECT_EQ(b.exitCaption, QStringLiteral("Goodbye"));
        EXPECT_EQ(b.trayExitCaption, QStringLiteral("Exit"));
        EXPECT_EQ(b.messageButtonsVisible, !guard->Messages().IsEmpty());
        EXPECT_EQ(b.bannerVisible, guard->Messages().IsEmpty());
        EXPECT_FALSE(guard->Progress().visible);
    }

    // Hit count of the first rule of a list as stored in its file.
    static int StoredHits(RuleTable::Kind kind)
    {
        TSpamSettings spam;
        spam.readSettings();
        const RuleTable &t = kind == RuleTable::Kind::Subject  ? spam.gridSubject
                           : kind == RuleTable::Kind::Header   ? spam.gridHeader
                           : kind == RuleTable::Kind::Except   ? spam.gridExcept
                                                               : spam.gridFrom;
        return t.Cells(t.HitColumn(), 1).toInt();
    }

    TGuardHome h;
    TScriptedPrompts prompts;
    std::unique_ptr<TMailGuard> guard;
    QStringList statuses;
    QStringList launched;
    QStringList alarms;
    QStringList trayHints;
    int shown = 0;
};

TEST_F(GuardDovecot, CheckListsMarksLogsAndKeepsHitCounts)
{
    Seed("user40", StandardMailbox());
    h.servers.slot(1) = Slot("user40");
    Start();

    ASSERT_TRUE(guard->btListClick());

    EXPECT_EQ(RowSubjects(), StandardSubjects());
    EXPECT_EQ(RowMarks(), StandardMarks());
    const TMessageListModel &m = guard->Messages();
    EXPECT_EQ(m.Row(0).sender, QStringLiteral("shop@pills.example"));
    EXPECT_EQ(m.Row(2).sender, QStringLiteral("friend@example.org"));
    EXPECT_EQ(m.Row(0).sizeText, QString::number(ToCrlf(StandardMailbox().at(0)).size()));
    EXPECT_EQ(m.Row(0).date, TMessageListModel::FormatListDate(
                                 QDateTime(QDate(2026, 12, 6), QTime(14, 5), Qt::OffsetFromUTC, 3600).toLocalTime()));
    EXPECT_EQ(m.Row(0).when, QDateTime(QDate(2026, 12, 6), QTime(13, 5), Qt::UTC));
    for (int i = 0; i < m.Count(); ++i)
        EXPECT_EQ(m.Row(i).slot, 1);

    const QString server = Server();
    EXPECT_TRUE(statuses.contains(QStringLiteral("Opening connection for user40 on ") + server));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Getting message 1 of 5 total waiting messages")));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Getting message 5 of 5 total waiting messages")));
    EXPECT_TRUE(statuses.contains(QStringLiteral("5 msg(s) for user40 on ") + server));
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 2"));

    const QStringList checks = LinesWith(h.readLog(), QStringLiteral("MAIL CHECK"));
    ASSERT_EQ(checks.size(), 1);
    EXPECT_TRUE(checks.first().startsWith(QStringLiteral("MAIL CHECK 5 msg(s) for \"user40\" on server ") + server + QStringLiteral(" at ")))
        << checks.first().toStdString();

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

TEST_F(GuardDovecot, ManualDeletionAsksThenDeletesExactlyTheMarkedRows)
{
    Seed("user39", StandardMailbox());
    h.servers.slot(1) = Slot("user39");
    h.general.count = 7;
    Start();
    ASSERT_TRUE(guard->btListClick());
    ASSERT_EQ(RowMarks(), StandardMarks());

    // The user marks the suspect row; a request left on the client for the plain row from
    // earlier must not delete it.
    guard->btMarkClick({3});
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 3"));
    guard->RemotePOP().MarkDelete(4);

    prompts.yesNo = {true};
    guard->btDeleteClick();

    EXPECT_EQ(prompts.texts(TPromptCall::Question), QStringList{QStringLiteral("Really delete 3 messages from server?")});
    EXPECT_TRUE(prompts.texts(TPromptCall::Error).isEmpty()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    const QStringList left = {QStringLiteral("Cheap pills for you"), QStringLiteral("Lunch")};
    EXPECT_EQ(Waiting("user39"), left);
    // Listed again after the deletion.
    EXPECT_EQ(RowSubjects(), left);
    EXPECT_EQ(RowMarks(), (QList<int>{5, -1}));
    EXPECT_EQ(guard->StatusText(), QStringLiteral("There were 3 messages deleted"));
    // Shown when the deletion ends; manual mode then puts the plain hint back.
    EXPECT_TRUE(trayHints.contains(QStringLiteral("3 spams deleted")));

    const QString log = h.readLog();
    const QStringList blocks = LinesWith(log, QStringLiteral("DELETE SPAM on "));
    EXPECT_EQ(blocks.size(), 3);
    const QStringList lines = log.split(u'\n');
    const qsizetype first = lines.indexOf(blocks.first());
    ASSERT_GE(first, 0);
    ASSERT_LT(first + 4, lines.size());
    EXPECT_EQ(lines.at(first + 1), QStringLiteral("   Server:  ") + Server() + QStringLiteral(" Mailbox: user39"));
    EXPECT_EQ(lines.at(first + 2), QStringLiteral("   Subject: Cheap pills today"));
    EXPECT_EQ(lines.at(first + 3), QStringLiteral("   Sender:  shop@pills.example"));
    EXPECT_TRUE(lines.at(first + 4).startsWith(QStringLiteral("   Size:    ")
                                               + QString::number(ToCrlf(StandardMailbox().at(0)).size())
                                               + QStringLiteral("  Date: ")));
    EXPECT_EQ(LinesWith(log, QStringLiteral("   Subject: ")),
              (QStringList{"   Subject: Cheap pills today", "   Subject: Hello there", "   Subject: Meeting"}));
    EXPECT_EQ(StoredGeneral().count, 10);
    EXPECT_EQ(guard->General().count, 10);
    EXPECT_TRUE(launched.isEmpty());
    ExpectIdle();
}

TEST_F(GuardDovecot, AnsweringNoDeletesNothing)
{
    Seed("user38", StandardMailbox());
    h.servers.slot(1) = Slot("user38");
    Start();
    ASSERT_TRUE(guard->btListClick());
    prompts.yesNo = {false};
    guard->btDeleteClick();
    EXPECT_EQ(prompts.texts(TPromptCall::Question).size(), 1);
    EXPECT_EQ(Waiting("user38").size(), 5);
    EXPECT_EQ(RowMarks(), StandardMarks());
    EXPECT_TRUE(LinesWith(h.readLog(), QStringLiteral("DELETE SPAM")).isEmpty());
    EXPECT_EQ(StoredGeneral().count, 0);

    // With the launch option, mail left after the spam went starts the mail program instead
    // of a second listing.
    guard->General().ask = false;
    guard->General().launch = true;
    guard->General().mailer = QStringLiteral("mailer --inbox");
    guard->btDeleteClick();
    EXPECT_EQ(Waiting("user38").size(), 3);
    EXPECT_EQ(launched, QStringList{QStringLiteral("mailer --inbox")});
    EXPECT_TRUE(guard->Messages().IsEmpty()) << "the mail program takes the messages over";
    EXPECT_EQ(guard->StatusText(), QStringLiteral("There were 2 messages deleted"));
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).size(), 1);
    EXPECT_EQ(StoredGeneral().count, 2);
    ExpectIdle();
}

TEST_F(GuardDovecot, AutomaticPassDeletesInEverySlotAndReturnsToTheStoredSlot)
{
    Seed("user37", {Mail("shop@pills.example", "More pills"), Mail("x@known-spam.example", "Offer")});
    Seed("user36", {Mail("shop@pills.example", "Pills again"), Mail("mum@example.com", "Sunday")});
    Seed("user35", {Mail("boss@example.com", "Report")});
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
    EXPECT_TRUE(guard->Timer1Enabled());

    guard->Timer1Timer();

    EXPECT_EQ(Waiting("user37"), QStringList());
    EXPECT_EQ(Waiting("user36"), QStringList{QStringLiteral("Sunday")});
    EXPECT_EQ(Waiting("user35"), QStringList{QStringLiteral("Report")});
    const QString log = h.readLog();
    EXPECT_EQ(LinesWith(log, QStringLiteral("MAIL CHECK")).size(), 3);
    EXPECT_EQ(LinesWith(log, QStringLiteral("   Subject: ")),
              (QStringList{"   Subject: More pills", "   Subject: Offer", "   Subject: Pills again"}));
    EXPECT_EQ(StoredGeneral().count, 3);

    // The mail left over is noticed although spam was deleted on the way.
    EXPECT_EQ(guard->Captions().windowCaption, QStringLiteral("Tarnwick - MailBox user36 - 1 messages"));
    EXPECT_EQ(guard->Captions().trayHint, guard->Captions().windowCaption);
    EXPECT_FALSE(guard->Captions().tmLabelVisible);
    EXPECT_EQ(alarms, QStringList{h.general.alarmFile});
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompts.calls.isEmpty()) << "a pass with the window hidden asks nothing";

    EXPECT_EQ(guard->Iwhich(), 2);
    EXPECT_EQ(guard->RemotePOP().UserName(), QStringLiteral("user36"));
    EXPECT_EQ(guard->minutesLeft(), 1);
    EXPECT_TRUE(guard->Timer1Enabled());
    EXPECT_FALSE(guard->autoCheckRunning());

    // The list shows the last mailbox visited (slot 4), while the client is back on slot 2:
    // a deletion acts on the rows' own mailbox.
    ASSERT_EQ(RowSubjects(), QStringList{QStringLiteral("Report")});
    EXPECT_EQ(guard->Messages().Row(0).slot, 4);
    guard->btMarkClick({0});
    guard->btDeleteClick();
    EXPECT_EQ(Waiting("user35"), QStringList());
    EXPECT_EQ(Waiting("user36"), QStringList{QStringLiteral("Sunday")});
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("Mailbox: user35")).size(), 1);
    ExpectIdle();
}

TEST_F(GuardDovecot, CancelDuringTheListingClearsTheListAndReturnsToIdle)
{
    QList<QByteArray> many;
    for (int i = 1; i <= 8; ++i)
        many << Mail(QStringLiteral("sender%1@example.com").arg(i), QStringLiteral("Message %1").arg(i));
    Seed("user34", many);
    h.servers.slot(1) = Slot("user34");
    Start();
    int rowsSeen = 0;
    QObject::connect(&guard->Messages(), &QAbstractItemModel::rowsInserted, [&] {
        if (++rowsSeen == 3) {
            EXPECT_TRUE(guard->Buttons().exitIsCancel);
            EXPECT_TRUE(guard->Progress().visible);
            guard->Cancel();
        }
    });

    EXPECT_FALSE(guard->btListClick());

    EXPECT_EQ(rowsSeen, 3) << "no row after the cancel";
    EXPECT_TRUE(guard->Messages().IsEmpty());
    EXPECT_EQ(prompts.texts(TPromptCall::Error), QStringList{QStringLiteral("Operation has been canceled")});
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
    Seed("user33", StandardMailbox());
    h.servers.slot(1) = Slot("user33");
    h.general.mailer = QStringLiteral("mailer");
    Start();
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
    Seed("user27", StandardMailbox());
    h.servers.slot(1) = Slot("user27");
    Start();
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
    Seed("user26", {});
    h.servers.slot(1) = Slot("user26");
    h.general.exitAfterCheck = true;
    Start();
    int quits = 0;
    QObject::connect(guard.get(), &TMailGuard::quitRequested, [&] { ++quits; });
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(statuses.contains(QStringLiteral("0 msg(s) for user26 on ") + Server()));
    EXPECT_FALSE(guard->Buttons().messageButtonsVisible);
    EXPECT_TRUE(guard->Buttons().bannerVisible);
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

struct FailureCase
{
    const char *name;
    bool wrongPassword;
    const char *expected; // part of the one error shown
    bool errorLogged;     // the client reported it through OnError
};

class GuardFailure : public GuardDovecot, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(GuardFailure, ShowsTheErrorOnceAndReturnsToIdle)
{
    const FailureCase &c = GetParam();
    Seed("user32", StandardMailbox());
    MailboxSlot slot = Slot("user32");
    if (c.wrongPassword) {
        slot.password = QStringLiteral("not the password");
    } else {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        slot.server = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
        closed.close();
    }
    h.servers.slot(1) = slot;
    h.general.automatic = true;
    Start();
    EXPECT_TRUE(guard->Timer1Enabled());

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

INSTANTIATE_TEST_SUITE_P(Failures, GuardFailure,
                         ::testing::Values(FailureCase{"Unreachable", false, "Connection refused", true},
                                           FailureCase{"WrongPassword", true, "-ERR", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(GuardDovecot, SwitchingToManualDuringAPassStopsTheTimer)
{
    Seed("user31", {Mail("boss@example.com", "Report")});
    h.servers.slot(1) = Slot("user31");
    h.general.automatic = true;
    h.general.minutes = 1;
    h.general.alarm = false;
    Start();
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
    EXPECT_TRUE(guard->btListClick());
    EXPECT_FALSE(timerDuringCheck) << "no tick inside a check";
    EXPECT_TRUE(guard->Timer1Enabled());
}

TEST_F(GuardDovecot, MailboxChoiceListsConfiguredSlotsAndChecksTheChosenOne)
{
    Seed("user31", {Mail("boss@example.com", "Report")});
    h.servers.slot(1) = Slot("user31");
    h.servers.slot(3) = Slot("user40");
    h.servers.slot(3).server = QStringLiteral("[::1]:1");
    Start();
    QList<int> iwhich;
    QObject::connect(guard.get(), &TMailGuard::IwhichChanged, [&](int n) { iwhich << n; });

    prompts.choices = {0};
    EXPECT_FALSE(guard->btListClick());
    ASSERT_EQ(prompts.offeredEntries.size(), 1);
    const QList<TMailboxEntry> offered = prompts.offeredEntries.first();
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered.at(0), (TMailboxEntry{1, QStringLiteral("1) Mailbox user31 - Server ") + Server()}));
    EXPECT_EQ(offered.at(1), (TMailboxEntry{3, QStringLiteral("3) Mailbox user40 - Server [::1]:1")}));
    EXPECT_TRUE(LinesWith(h.readLog(), QStringLiteral("MAIL CHECK")).isEmpty()) << "cancelled choice: no check";

    guard->SetMainWindowVisible(true);
    prompts.choices = {1};
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(guard->Messages().Count(), 1);
    EXPECT_EQ(guard->Iwhich(), 1);
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
    EXPECT_EQ(guard->Servers().slot(1).fingerprint, env.Fingerprint);
    UserSettings stored;
    EXPECT_EQ(readServerSettings(stored).slot(1).fingerprint, env.Fingerprint);
    ExpectIdle();

    prompts.calls.clear();
    EXPECT_TRUE(guard->btListClick());
    EXPECT_EQ(RowSubjects(), QStringList{QStringLiteral("Report")});
    EXPECT_TRUE(prompts.calls.isEmpty());
}

TEST_F(GuardDovecot, MessagesChangedSinceTheListingAreLeftAloneAndNotLogged)
{
    const QList<QByteArray> original = StandardMailbox();
    Seed("user29", original);
    h.servers.slot(1) = Slot("user29");
    h.general.ask = false;
    Start();
    ASSERT_TRUE(guard->btListClick());
    ASSERT_EQ(guard->Messages().MarkedCount(), 2);
    // Another mail program takes the first message: every later one moves up by one.
    {
        TmsRemotePOP other;
        other.SetServer(Server());
        other.SetUserName(QStringLiteral("user29"));
        other.SetPassword(env.Password);
        other.UpdateInfo();
        other.MarkDelete(0);
        other.TransferData();
    }

    guard->btDeleteClick();

    // Message 1 is now "Hello there" (listed as message 2): not the one marked, so kept; and
    // message 2 is now "Cheap pills for you", not the listed blacklisted one.
    EXPECT_EQ(Waiting("user29").size(), 4);
    const QStringList infos = prompts.texts(TPromptCall::Info);
    ASSERT_EQ(infos.size(), 1);
    EXPECT_TRUE(infos.first().startsWith(QStringLiteral("2 of the marked messages were left on the server")))
        << infos.first().toStdString();
    EXPECT_TRUE(LinesWith(h.readLog(), QStringLiteral("DELETE SPAM")).isEmpty());
    EXPECT_EQ(StoredGeneral().count, 0);
    EXPECT_EQ(guard->StatusText(), QStringLiteral("There were 0 messages deleted"));
    ExpectIdle();
}

TEST_F(GuardDovecot, BodyOfOneMessageComesFromTheListedMailbox)
{
    Seed("user28", StandardMailbox());
    h.servers.slot(1) = Slot("user28");
    Start();
    ASSERT_TRUE(guard->btListClick());
    // Pointing the client elsewhere does not change where the rows' messages are fetched.
    guard->GetRemotePOPSettings(2);
    const QString path = guard->RetrieveMessage(4);
    ASSERT_FALSE(path.isEmpty()) << prompts.texts(TPromptCall::Error).join(u'\n').toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/msg_4.eml")));
    EXPECT_EQ(h.home.read(QStringLiteral("msg_4.eml")).toStdString(), ToCrlf(StandardMailbox().at(4)).toStdString());
    EXPECT_EQ(Waiting("user28").size(), 5);
    ExpectIdle();
    guard->CleanUpEMLFiles();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
