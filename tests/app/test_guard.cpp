// The mail guard without a server: the message list, the minute countdown, the decisions
// about alarm, mail program and leaving, and the checks made before anything connects.
#include "guard_test.h"

#include "mailboxsetup.h"
#include "pop3mailbox.h"

#include <QFile>
#include <QScopeGuard>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The header fields themselves are read and decoded by the message layer, and a listing from
// Dovecot fills whole rows; here the row's own choices: a date it cannot read is shown as
// written, one at exactly midnight without a time, a missing field as blank.
TEST(MessageListRow, IsFilledFromTheHeaderLines)
{
    EXPECT_FALSE(TMessageListModel::FormatListDate(QDateTime(QDate(2024, 2, 29), QTime(0, 0))).contains(u':'));
    // The sender's zone is applied: shown in the user's.
    const QString midnight = TMessageListModel::FormatListDate(QDateTime(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC).toLocalTime());
    const struct { QStringList headers; QString subject, sender, date; } cases[] = {
        {{"Subject: s", "Date: sometime soon"}, "s", "", "sometime soon"},
        {{"From: \"Joe Bloggs\" <joe@b.example>", "Date: Thu, 29 Feb 2024 00:00:00 +0000"}, "", "joe@b.example", midnight},
    };
    for (const auto &c : cases) {
        TmsRemoteInfoItem item;
        item.Headers = c.headers;
        item.Size = 1234;
        const TMessageListRow row = TMessageListRow::FromRemoteInfo(item, 3, 2);
        EXPECT_EQ(std::tuple(row.subject, row.sender, row.DateText(), row.sizeText, row.mark, row.slot, row.mailbox),
                  std::tuple(c.subject, c.sender, c.date, QStringLiteral("1234"), -1, 3, 2));
    }
}

// The list shows a date in this machine's zone as the C library converts it, and a zone changed
// while the program runs shows at once (the zone is looked up again after 200 ms).
TEST(MessageListRow, ShowsTheDateInTheZoneOfTheMoment)
{
    const bool wasSet = qEnvironmentVariableIsSet("TZ");
    const QByteArray saved = qgetenv("TZ");
    const auto restore = qScopeGuard([&] {
        wasSet ? qputenv("TZ", saved) : qunsetenv("TZ");
        QThread::msleep(250);  // nor does a test after this one see Tokyo
    });
    TmsRemoteInfoItem item;
    item.Headers = QStringList{QStringLiteral("Date: Thu, 29 Feb 2024 22:30:00 +0000")};
    const TMessageListRow row = TMessageListRow::FromRemoteInfo(item, 1, 1);
    QStringList shown;
    for (const char *zone : {"UTC", "Asia/Tokyo"}) {
        qputenv("TZ", zone);
        QThread::msleep(250);  // what a test before this one looked up may be that old
        shown << row.DateText();
        EXPECT_EQ(shown.last(), TMessageListModel::FormatListDate(row.when.toLocalTime())) << zone;
    }
    EXPECT_NE(shown.first(), shown.last());  // 22:30 on the 29th in UTC is the 1st, 07:30, in Tokyo
}

TEST(MessageListModel, CountsOnlyCheckAndBlacklistMarksAndNotifiesMarkChanges)
{
    TMessageListModel model;
    for (int mark : {-1, 0, 1, 2, 3, 14, 0}) {
        TMessageListRow row;
        row.mark = mark;
        row.slot = 5;
        model.Append(row);
    }
    EXPECT_EQ(model.MarkedRows(), (QList<int>{1, 3, 6}));
    EXPECT_EQ(model.ListedSlot(), 5);

    QList<int> changedRows;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex &from, const QModelIndex &, const QList<int> &roles) {
                         if (roles.contains(TMessageListModel::MarkRole))
                             changedRows << from.row();
                     });
    model.SetMessageMark(0, 2);
    model.SetMessageMark(0, 2); // no change, no signal
    model.SetMessageMark(99, 0); // not a row
    EXPECT_EQ(changedRows, QList<int>{0});
    EXPECT_EQ(model.data(model.index(0, TMessageListModel::DateColumn), TMessageListModel::MarkRole).toInt(), 2);
    EXPECT_EQ(model.MarkedCount(), 4);
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.ListedSlot(), 0);
}

// Plain POP3 for a server elsewhere is said once: when it is chosen, not at every saving.
TEST(MailboxSetup, PlainPasswordNoticeOnlyWhenThePasswordWouldCrossANetwork)
{
    const auto slot = [](const char *server, TlsMode tls) { return MailboxSlot{QString::fromLatin1(server), "u", "p", tls, {}}; };
    const struct { MailboxSlot before, after; bool notice; } cases[] = {
        {MailboxSlot(), slot("pop.example.org", TlsMode::None), true},
        {slot("pop.example.org", TlsMode::Implicit), slot("pop.example.org:110", TlsMode::None), true},
        {slot("old.example.org", TlsMode::None), slot("pop.example.org", TlsMode::None), true},
        {slot("pop.example.org", TlsMode::None), slot("POP.example.org", TlsMode::None), false},
        {MailboxSlot(), slot("pop.example.org", TlsMode::StartTls), false},
        {MailboxSlot(), slot("localhost:1110", TlsMode::None), false},
        {MailboxSlot(), slot("127.0.0.2", TlsMode::None), false},
        {MailboxSlot(), slot("[::1]:110", TlsMode::None), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.after.server.toStdString());
        const QString notice = PlainPasswordNotice(c.before, c.after, 2);
        EXPECT_EQ(!notice.isEmpty(), c.notice);
        EXPECT_TRUE(!c.notice || notice.startsWith(QStringLiteral("Mailbox 2 uses plain POP3"))) << notice.toStdString();
    }
}

class Guard : public ::testing::Test
{
protected:
    void Start()
    {
        h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetLauncher([this](const QString &command) { launched << command; return launchWorks; });
        guard->FormCreate();
    }

    // Rows as a check would have left them, with these marks.
    void Rows(const QList<int> &marks)
    {
        for (int mark : marks) {
            TMessageListRow row;
            row.subject = QStringLiteral("s");
            row.mark = mark;
            row.slot = 1;
            guard->Messages().Append(row);
        }
    }

    TGuardHome h;
    TScriptedPrompts prompts;
    std::unique_ptr<TMailGuard> guard;
    QStringList launched;
    bool launchWorks = true;
};

QString Countdown(int minutes)
{
    return QStringLiteral("Tarnwick - next e-mail check in %1 minute%2").arg(minutes).arg(minutes == 1 ? "" : "s");
}

TEST_F(Guard, TicksCountDownThenThePassRunsAndTheCountdownStartsAgain)
{
    h.general.automatic = true;
    h.general.minutes = 10;
    Start();
    EXPECT_TRUE(guard->Timer1Enabled());
    EXPECT_EQ(guard->Captions().windowCaption, Countdown(10));
    EXPECT_TRUE(guard->Captions().trayAnimated);

    QStringList captions, expected;
    for (int tick = 1; tick <= 11; ++tick) {
        guard->Timer1Timer();
        const TCaptionState &c = guard->Captions();
        captions << c.windowCaption;
        EXPECT_EQ(c.title, c.windowCaption);
        EXPECT_EQ(c.trayHint, c.windowCaption);
        EXPECT_TRUE(guard->Timer1Enabled()) << "tick " << tick;
        expected << (tick == 10 ? QStringLiteral("Tarnwick - No waiting messages found") : Countdown((20 - tick) % 10));
    }
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(guard->minutesLeft(), 9);
    EXPECT_TRUE(prompts.calls.isEmpty());

    // Switched off and on again, the mode starts over with the full interval.
    guard->EnableAutomatic(false);
    EXPECT_FALSE(guard->Timer1Enabled());
    EXPECT_EQ(guard->Captions().trayHint, QStringLiteral("Tarnwick"));
    EXPECT_FALSE(guard->Captions().trayAnimated);
    EXPECT_FALSE(StoredGeneral().automatic);
    guard->EnableAutomatic(true);
    EXPECT_TRUE(guard->Timer1Enabled());
    EXPECT_EQ(guard->minutesLeft(), 10);
    EXPECT_EQ(guard->Captions().windowCaption, Countdown(10));
    EXPECT_TRUE(StoredGeneral().automatic);
    EXPECT_EQ(LinesWith(h.readLog(), QStringLiteral("Automatic mode enabled at ")).size(), 1);
}

// The settings window hands back what it stored, nothing on Cancel; deletions counted while
// it was open stand unless it reset the counter.
TEST_F(Guard, GeneralSettingsTakeBackOnlyWhatWasStored)
{
    h.general.count = 5;
    Start();
    const struct { const char *name; bool stored, reset; qint64 count, countInFile; int minutes; } cases[] = {
        {"cancelled", false, false, 7, 5, 10},
        {"stored", true, false, 7, 7, 25},
        {"stored with the counter reset", true, true, 0, 5, 25},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        guard->General().count = 5;
        guard->General().minutes = 10;
        ASSERT_TRUE(SaveSpamCount(guard->Settings(), 5));
        TSettingsEdit edit = guard->BeginGeneralSettings();
        edit.general.minutes = 25;
        edit.general.count = c.reset ? 0 : 5;
        edit.countReset = c.reset;
        guard->General().count = 7; // a deletion while the window is open
        guard->EndGeneralSettings(c.stored ? &edit : nullptr);
        EXPECT_EQ(guard->General().count, c.count);
        EXPECT_EQ(StoredGeneral().count, c.countInFile);
        EXPECT_EQ(guard->General().minutes, c.minutes);
        EXPECT_EQ(guard->minutesLeft(), c.minutes);
    }
}

// A fresh installation keeps a typed user name over an account taken over without one (a
// configured one imports nothing: GeneralDialog), and adds the header rule once, when a user
// name is there.
TEST_F(Guard, FirstRunKeepsWhatWasTypedAndAddsTheRuleOnce)
{
    Start();
    TFirstRun fresh{ServerSettings()};
    MailboxSlot first;
    first.mailbox = QStringLiteral("typed");
    fresh.TakeOverMailbox(first, [] { return std::optional<ImportedMailbox>({"pop.tb.example", "", TlsMode::StartTls}); });
    EXPECT_EQ(std::tuple(first.server, first.mailbox, first.tls), std::tuple(QStringLiteral("pop.tb.example"), QStringLiteral("typed"), TlsMode::StartTls));
    QString error;
    const int rules = guard->SpamSettings().gridHeader.RowCount();
    for (const auto &[user, outcome] : {std::pair{" ", TFirstRun::Rule::Waiting}, {"carol", TFirstRun::Rule::Added}, {"dave", TFirstRun::Rule::Waiting}})
        EXPECT_EQ(fresh.AddHeaderRule(QString::fromLatin1(user), guard->SpamSettings(), &error), outcome) << user;
    EXPECT_EQ(guard->SpamSettings().gridHeader.RowCount(), rules + 1);
    EXPECT_EQ(guard->SpamSettings().gridHeader.Cells(2, 1), "carol - MailBox #1");
}

TEST_F(Guard, NoPassStartsWhileAPromptWaitsForTheUser)
{
    h.general.automatic = true;
    h.general.minutes = 1;
    Start();
    Rows({-1});
    int ticksInsidePrompt = 0;
    prompts.onPrompt = [&](const TPromptCall &) {
        guard->Timer1Timer();
        ++ticksInsidePrompt;
    };
    guard->btRemarkClick(); // "None of the messages matched ..."
    EXPECT_EQ(ticksInsidePrompt, 1);
    EXPECT_EQ(guard->minutesLeft(), 1);
    EXPECT_EQ(guard->Captions().windowCaption, Countdown(1));
    EXPECT_TRUE(guard->Timer1Enabled());
}

TEST_F(Guard, CheckWithoutUserNameOrServerExplainsAndConnectsNowhere)
{
    Start();
    int settingsRequests = 0;
    QObject::connect(guard.get(), &TMailGuard::generalSettingsRequested, [&] { ++settingsRequests; });
    const struct { const char *server, *user, *message; } cases[] = {
        {"", "", "You need to enter your e-mail username in the settings."},
        {"pop.example.org", "  \r\n", "You need to enter your e-mail username in the settings."},
        {"   ", "alice", "You need to enter the name of your mail server in the settings."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        prompts.calls.clear();
        guard->Servers().slot(1).server = QString::fromLatin1(c.server);
        guard->Servers().slot(1).mailbox = QString::fromLatin1(c.user);
        EXPECT_FALSE(guard->btListClick());
        EXPECT_FALSE(guard->CheckUnattended(1, true).ok);
        EXPECT_EQ(prompts.texts(TPromptCall::Error), QStringList(2, QString::fromLatin1(c.message)));
        EXPECT_FALSE(guard->IsBusy());
        EXPECT_TRUE(guard->Buttons().checkEnabled);
    }
    EXPECT_EQ(settingsRequests, 6);
    EXPECT_FALSE(QFile::exists(h.logFile())) << "no check, no log entry";
}

TEST_F(Guard, DeletingWithNothingMarkedSaysSoOnlyWhenAskingInManualMode)
{
    Start();
    Rows({-1, 1, 5});
    const struct { bool automatic, ask, boxShown; } cases[] = {{false, true, true}, {false, false, false}, {true, true, false}};
    for (const auto &c : cases) {
        prompts.calls.clear();
        guard->General().automatic = c.automatic;
        guard->General().ask = c.ask;
        guard->btDeleteClick();
        EXPECT_EQ(prompts.texts(TPromptCall::Info),
                  c.boxShown ? QStringList{QStringLiteral("There were no messages marked to delete!")} : QStringList{});
        EXPECT_TRUE(prompts.texts(TPromptCall::Question).isEmpty());
        EXPECT_EQ(guard->Messages().Count(), 3);
        EXPECT_EQ(guard->Timer1Enabled(), c.automatic);
    }
}

TEST_F(Guard, MarkToggleAndRemarkFollowTheRules)
{
    Start();
    Rows({-1, 0, 1, 2, 7});
    guard->btMarkClick({0, 1, 2, 3, 4, 42});
    QList<int> marks;
    for (int i = 0; i < 5; ++i)
        marks << guard->Messages().MessageMark(i);
    EXPECT_EQ(marks, (QList<int>{0, -1, 0, -1, 0}));
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 3"));

    guard->ResetButtonClick();
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 0"));

    guard->btRemarkClick();
    EXPECT_EQ(prompts.texts(TPromptCall::Info),
              QStringList{QStringLiteral("None of the messages matched any of the spam criteria.")});
}

TEST_F(Guard, AlarmPlaysAnExistingFileElseBeeps)
{
    Start();
    h.home.write(QStringLiteral("ring.wav"), "RIFF");
    const QString ring = h.home.file(QStringLiteral("ring.wav"));
    QStringList heard;
    QObject::connect(guard.get(), &TMailGuard::alarmRequested, [&](const QString &f, bool r) { heard << f + (r ? "|repeat" : ""); });
    QObject::connect(guard.get(), &TMailGuard::beepRequested, [&] { heard << QStringLiteral("beep"); });
    QObject::connect(guard.get(), &TMailGuard::alarmStopped, [&] { heard << QStringLiteral("stop"); });
    for (const auto &[file, repeat] : {std::pair{ring, false}, {ring, true}, {h.home.file(QStringLiteral("gone.wav")), true}}) {
        guard->General().alarmFile = file;
        guard->General().repeat = repeat;
        guard->playAlarmSound(true);
    }
    guard->playAlarmSound(false);
    EXPECT_EQ(heard, (QStringList{ring, ring + "|repeat", "beep", "stop"}));
}

struct LaunchCase
{
    const char *name;
    const char *mailer;
    const char *desktopDefault; // the desktop's default mail program
    bool works;
    const char *errorStart; // empty: no error
    bool listCleared;
};

TEST_F(Guard, LaunchStartsTheMailProgramOrSaysWhatToFix)
{
    h.general.automatic = true;
    Start();
    const LaunchCase cases[] = {
        {"Started", "thunderbird -mail", "evolution", true, "", true},
        {"DesktopDefault", "  ", "evolution", true, "", true},
        {"NoneAnywhere", "  ", "", true, "", false},
        {"Fails", "no-such-mailer", "", false, "Unable to launch mail program. ", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mailer);
        guard->Messages().Clear();
        Rows({0, -1});
        prompts.calls.clear();
        launched.clear();
        guard->General().mailer = QString::fromLatin1(c.mailer);
        guard->SetDefaultMailProgram([&c] { return QString::fromLatin1(c.desktopDefault); });
        launchWorks = c.works;
        guard->btLaunchClick();
        const QStringList errors = prompts.texts(TPromptCall::Error);
        ASSERT_EQ(errors.size(), *c.errorStart ? 1 : 0);
        if (*c.errorStart) {
            EXPECT_TRUE(errors.first().startsWith(QString::fromLatin1(c.errorStart)));
        }
        const bool none = IsBlankText(QString::fromLatin1(c.mailer)) && !*c.desktopDefault;
        EXPECT_EQ(launched.isEmpty(), none) << c.name;
        if (none) {
            EXPECT_TRUE(guard->StatusText().startsWith(QStringLiteral("No mail program was started"))) << c.name;
        }
        EXPECT_EQ(guard->Messages().IsEmpty(), c.listCleared) << c.name;
        EXPECT_TRUE(guard->Timer1Enabled()) << c.name << ": automatic mode keeps its tick";
    }
}

TEST_F(Guard, ExitHidesInTrayModeOnlyWhenThereIsATray)
{
    const struct { bool sysTray, trayAvailable, fromTray; const char *caption; bool hides; } cases[] = {
        {false, true, false, "Goodbye", false},
        {true, true, false, "Hide", true},
        {true, true, true, "Hide", false},
        {true, false, false, "Goodbye", false},
    };
    h.general.sysTray = true;
    Start();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sysTray * 4 + c.trayAvailable * 2 + c.fromTray);
        guard->General().sysTray = c.sysTray;
        guard->SetTrayAvailable(c.trayAvailable);
        int hides = 0, quits = 0;
        const auto a = QObject::connect(guard.get(), &TMailGuard::hideToTrayRequested, [&] { ++hides; });
        const auto b = QObject::connect(guard.get(), &TMailGuard::quitRequested, [&] { ++quits; });
        EXPECT_EQ(guard->Buttons().exitCaption, QString::fromLatin1(c.caption));
        guard->btExitClick(c.fromTray);
        EXPECT_EQ(hides, c.hides ? 1 : 0);
        EXPECT_EQ(quits, c.hides ? 0 : 1);
        QObject::disconnect(a);
        QObject::disconnect(b);
    }
}

TEST_F(Guard, SlotSettingsReachTheClientWithTheirSecurity)
{
    h.servers.slot(3) = {QStringLiteral("mail.example.org:995"), QStringLiteral("carol"), QStringLiteral("pw"),
                         TlsMode::Implicit, QStringLiteral("00").repeated(32)};
    h.servers.slot(4) = {QStringLiteral("MAIL.example.org:995"), QStringLiteral("CAROL"), QStringLiteral("pw2"),
                         TlsMode::StartTls, QString()};
    h.servers.slot(2) = {QStringLiteral("other.example.org"), QStringLiteral("carol"), QStringLiteral("pw3"), TlsMode::None, QString()};
    Start();
    const auto client = [&]() -> TPop3Client & { return dynamic_cast<TPop3Mailbox &>(guard->Mailbox()).Client(); };
    guard->GetRemotePOPSettings(4);
    EXPECT_EQ(client().UserName(), QStringLiteral("CAROL"));
    EXPECT_EQ(client().Password(), QStringLiteral("pw2"));
    EXPECT_EQ(client().Tls().Mode, TmsTlsMode::StartTls);
    // The per-mailbox rules take the first slot with that server and user, ignoring case.
    EXPECT_EQ(guard->serverToIndex(), 3);
    guard->GetRemotePOPSettings(3);
    EXPECT_EQ(client().Tls().Mode, TmsTlsMode::Implicit);
    EXPECT_EQ(client().Tls().TrustedFingerprint, QStringLiteral("00").repeated(32));
    // Another server with the same user is another mailbox.
    guard->GetRemotePOPSettings(2);
    EXPECT_EQ(guard->serverToIndex(), 2);
}

} // namespace
