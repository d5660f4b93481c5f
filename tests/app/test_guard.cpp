// The mail guard without a server: the message list, the minute countdown, the decisions
// about alarm, mail program and leaving, and the checks made before anything connects.
#include "guard_test.h"

#include "pop3.h"

#include <vector>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TmsRemoteInfoItem Item(const QStringList &headers, qint64 size = 1234)
{
    TmsRemoteInfoItem item;
    item.Headers = headers;
    item.Size = size;
    return item;
}

struct RowCase
{
    const char *name;
    QStringList headers;
    QString subject;
    QString sender;
    QString date;
};

TEST(MessageListRow, IsFilledFromTheHeaderLines)
{
    // Shown in the user's zone: the sender's -0500 is applied.
    const QString fullDate = TMessageListModel::FormatListDate(
        QDateTime(QDate(1999, 1, 5), QTime(10, 20, 30), Qt::OffsetFromUTC, -5 * 3600).toLocalTime());
    const QString midnight = TMessageListModel::FormatListDate(QDateTime(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC).toLocalTime());
    const RowCase cases[] = {
        {"Plain", {"From: a@b.example", "Subject: Hi", "Date: Tue, 5 Jan 99 10:20:30 -0500"}, "Hi", "a@b.example", fullDate},
        {"DisplayName", {"From: \"Joe Bloggs\" <joe@b.example>", "Subject: x"}, "x", "joe@b.example", ""},
        {"NoSubjectNoDate", {"From: a@b.example"}, "", "a@b.example", ""},
        {"UnreadableDate", {"Subject: s", "Date: sometime soon"}, "s", "", "sometime soon"},
        {"Midnight", {"Date: Thu, 29 Feb 2024 00:00:00 +0000"}, "", "", midnight},
        {"FoldedSubject", {"Subject: Hello", "\tworld"}, "Hello world", "", ""},
        {"EncodedSubject", {"Subject: =?UTF-8?Q?Gr=C3=BC=C3=9Fe?="}, "Grüße", "", ""},
    };
    for (const RowCase &c : cases) {
        const TMessageListRow row = TMessageListRow::FromRemoteInfo(Item(c.headers), 3, 2);
        EXPECT_EQ(row.subject, c.subject) << c.name;
        EXPECT_EQ(row.sender, c.sender) << c.name;
        EXPECT_EQ(row.date, c.date) << c.name;
        EXPECT_EQ(row.sizeText, QStringLiteral("1234")) << c.name;
        EXPECT_EQ(row.headers, c.headers) << c.name;
        EXPECT_EQ(row.slot, 3) << c.name;
        EXPECT_EQ(row.mailbox, 2) << c.name;
        EXPECT_EQ(row.mark, -1) << c.name;
    }
    EXPECT_FALSE(midnight.contains(u':')) << "no time at exactly midnight";
    EXPECT_TRUE(fullDate.contains(QStringLiteral("20"))) << fullDate.toStdString();
}

TEST(MessageListModel, CountsOnlyCheckAndBlacklistMarksAndNotifiesMarkChanges)
{
    TMessageListModel model;
    const QList<int> marks = {-1, 0, 1, 2, 3, 14, 0};
    for (int mark : marks) {
        TMessageListRow row;
        row.mark = mark;
        row.slot = 5;
        model.Append(row);
    }
    EXPECT_EQ(model.MarkedCount(), 3);
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
    EXPECT_EQ(model.data(model.index(0, TMessageListModel::SizeColumn), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              int(Qt::AlignRight));
    EXPECT_EQ(model.headerData(TMessageListModel::SizeColumn, Qt::Horizontal).toString(), QStringLiteral("Size"));
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.ListedSlot(), 0);
}

class Guard : public ::testing::Test
{
protected:
    void Start()
    {
        h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetLauncher([this](const QString &command) {
            launched << command;
            return launchWorks;
        });
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

QString Countdown(int minutes, const char *unit)
{
    return QStringLiteral("Tarnwick - next e-mail check in %1 %2").arg(minutes).arg(QLatin1String(unit));
}

TEST_F(Guard, TenTicksCountDownThenThePassRunsAndTheCountdownStartsAgain)
{
    h.general.automatic = true;
    h.general.minutes = 10;
    Start();
    EXPECT_TRUE(guard->Timer1Enabled());
    EXPECT_EQ(guard->Captions().windowCaption, Countdown(10, "minutes"));
    EXPECT_TRUE(guard->Captions().trayAnimated);
    EXPECT_TRUE(guard->Captions().automatic);

    QStringList captions, titles, hints;
    for (int tick = 1; tick <= 11; ++tick) {
        guard->Timer1Timer();
        captions << guard->Captions().windowCaption;
        titles << guard->Captions().title;
        hints << guard->Captions().trayHint;
        EXPECT_TRUE(guard->Timer1Enabled()) << "tick " << tick;
        EXPECT_FALSE(guard->autoCheckRunning());
    }
    const QStringList expected = {
        Countdown(9, "minutes"), Countdown(8, "minutes"), Countdown(7, "minutes"), Countdown(6, "minutes"),
        Countdown(5, "minutes"), Countdown(4, "minutes"), Countdown(3, "minutes"), Countdown(2, "minutes"),
        Countdown(1, "minute"),  QStringLiteral("Tarnwick - No waiting messages found"), Countdown(9, "minutes"),
    };
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(hints, expected);
    EXPECT_EQ(guard->minutesLeft(), 9);
    EXPECT_TRUE(prompts.calls.isEmpty());
}

TEST_F(Guard, SwitchingTheModeOffAndOnRestartsTheFullInterval)
{
    h.general.automatic = true;
    h.general.minutes = 5;
    Start();
    guard->Timer1Timer();
    guard->Timer1Timer();
    EXPECT_EQ(guard->minutesLeft(), 3);

    guard->EnableAutomatic(false);
    EXPECT_FALSE(guard->Timer1Enabled());
    EXPECT_EQ(guard->Captions().windowCaption, QStringLiteral("Tarnwick"));
    EXPECT_EQ(guard->Captions().title, QStringLiteral("Tarnwick"));
    EXPECT_EQ(guard->Captions().trayHint, QStringLiteral("Tarnwick"));
    EXPECT_FALSE(guard->Captions().trayAnimated);
    EXPECT_FALSE(StoredGeneral().automatic);

    guard->EnableAutomatic(true);
    EXPECT_TRUE(guard->Timer1Enabled());
    EXPECT_EQ(guard->minutesLeft(), 5);
    EXPECT_EQ(guard->Captions().windowCaption, Countdown(5, "minutes"));
    EXPECT_TRUE(StoredGeneral().automatic);
    const QString log = h.readLog();
    EXPECT_EQ(LinesWith(log, QStringLiteral("Automatic mode disabled at ")).size(), 1);
    EXPECT_EQ(LinesWith(log, QStringLiteral("Automatic mode enabled at ")).size(), 1);
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
    EXPECT_EQ(guard->Captions().windowCaption, Countdown(1, "minute"));
    EXPECT_TRUE(guard->Timer1Enabled());
}

struct MissingSetting
{
    const char *server;
    const char *user;
    const char *message;
};

TEST_F(Guard, CheckWithoutUserNameOrServerExplainsAndConnectsNowhere)
{
    Start();
    int settingsRequests = 0;
    QObject::connect(guard.get(), &TMailGuard::generalSettingsRequested, [&] { ++settingsRequests; });
    const MissingSetting cases[] = {
        {"", "", "You need to enter your e-mail username in the settings."},
        {"pop.example.org", "  \r\n", "You need to enter your e-mail username in the settings."},
        {"   ", "alice", "You need to enter the name of your mail server in the settings."},
    };
    for (const MissingSetting &c : cases) {
        prompts.calls.clear();
        guard->Servers().slot(1).server = QString::fromLatin1(c.server);
        guard->Servers().slot(1).mailbox = QString::fromLatin1(c.user);
        EXPECT_FALSE(guard->btListClick()) << c.message;
        EXPECT_EQ(prompts.texts(TPromptCall::Error), QStringList{QString::fromLatin1(c.message)});
        EXPECT_FALSE(guard->IsBusy());
        EXPECT_TRUE(guard->Buttons().checkEnabled);
    }
    EXPECT_EQ(settingsRequests, 3);
    EXPECT_FALSE(QFile::exists(h.logFile())) << "no check, no log entry";
}

struct NothingMarkedCase
{
    bool automatic;
    bool ask;
    bool boxShown;
};

TEST_F(Guard, DeletingWithNothingMarkedSaysSoOnlyWhenAskingInManualMode)
{
    Start();
    Rows({-1, 1, 5});
    const NothingMarkedCase cases[] = {{false, true, true}, {false, false, false}, {true, true, false}};
    for (const NothingMarkedCase &c : cases) {
        prompts.calls.clear();
        guard->General().automatic = c.automatic;
        guard->General().ask = c.ask;
        guard->btDeleteClick();
        EXPECT_EQ(prompts.texts(TPromptCall::Info),
                  c.boxShown ? QStringList{QStringLiteral("There were no messages marked to delete!")} : QStringList{});
        EXPECT_TRUE(prompts.texts(TPromptCall::Question).isEmpty());
        EXPECT_EQ(guard->Messages().Count(), 3);
        EXPECT_FALSE(guard->deleteInProgress());
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
    EXPECT_EQ(guard->Messages().MarkedCount(), 0);
    EXPECT_EQ(guard->StatusText(), QStringLiteral("Message Total: 5 Number Marked: 0"));

    guard->btRemarkClick();
    EXPECT_EQ(prompts.texts(TPromptCall::Info),
              QStringList{QStringLiteral("None of the messages matched any of the spam criteria.")});
}

struct AlarmCase
{
    const char *name;
    bool fileExists;
    bool repeat;
};

TEST_F(Guard, AlarmPlaysAnExistingFileElseBeeps)
{
    Start();
    h.home.write(QStringLiteral("ring.wav"), "RIFF");
    QStringList played;
    // std::vector: comparing two empty QList<bool> passes a null pointer to memcmp.
    std::vector<bool> repeats;
    int beeps = 0, stops = 0;
    QObject::connect(guard.get(), &TMailGuard::alarmRequested, [&](const QString &f, bool r) {
        played << f;
        repeats.push_back(r);
    });
    QObject::connect(guard.get(), &TMailGuard::beepRequested, [&] { ++beeps; });
    QObject::connect(guard.get(), &TMailGuard::alarmStopped, [&] { ++stops; });
    const AlarmCase cases[] = {{"Once", true, false}, {"Repeat", true, true}, {"Missing", false, true}};
    for (const AlarmCase &c : cases) {
        played.clear();
        repeats.clear();
        beeps = 0;
        guard->General().alarmFile = h.home.file(c.fileExists ? QStringLiteral("ring.wav") : QStringLiteral("gone.wav"));
        guard->General().repeat = c.repeat;
        guard->playAlarmSound(true);
        EXPECT_EQ(played, c.fileExists ? QStringList{guard->General().alarmFile} : QStringList{}) << c.name;
        EXPECT_EQ(repeats, c.fileExists ? std::vector<bool>{c.repeat} : std::vector<bool>{}) << c.name;
        EXPECT_EQ(beeps, c.fileExists ? 0 : 1) << c.name;
    }
    guard->playAlarmSound(false);
    EXPECT_GE(stops, 1);
}

struct LaunchCase
{
    const char *name;
    const char *mailer;
    bool works;
    const char *errorStart; // empty: no error
    bool listCleared;
};

TEST_F(Guard, LaunchStartsTheMailProgramOrSaysWhatToFix)
{
    h.general.automatic = true;
    Start();
    const LaunchCase cases[] = {
        {"Started", "thunderbird -mail", true, "", true},
        {"Blank", "  ", true, "Mail program not specified in the general settings. ", false},
        {"Fails", "no-such-mailer", false, "Unable to launch mail program. ", false},
    };
    for (const LaunchCase &c : cases) {
        guard->Messages().Clear();
        Rows({0, -1});
        prompts.calls.clear();
        launched.clear();
        guard->General().mailer = QString::fromLatin1(c.mailer);
        launchWorks = c.works;
        guard->btLaunchClick();
        const QStringList errors = prompts.texts(TPromptCall::Error);
        if (*c.errorStart) {
            ASSERT_EQ(errors.size(), 1) << c.name;
            EXPECT_TRUE(errors.first().startsWith(QString::fromLatin1(c.errorStart))) << c.name;
        } else {
            EXPECT_TRUE(errors.isEmpty()) << c.name;
        }
        EXPECT_EQ(launched.isEmpty(), IsBlankText(QString::fromLatin1(c.mailer))) << c.name;
        EXPECT_EQ(guard->Messages().IsEmpty(), c.listCleared) << c.name;
        EXPECT_TRUE(guard->Timer1Enabled()) << c.name << ": automatic mode keeps its tick";
    }
}

struct ExitCase
{
    const char *name;
    bool sysTray;
    bool trayAvailable;
    bool fromTray;
    const char *caption;
    bool hides;
};

TEST_F(Guard, ExitHidesInTrayModeOnlyWhenThereIsATray)
{
    const ExitCase cases[] = {
        {"Window", false, true, false, "Goodbye", false},
        {"Tray", true, true, false, "Hide", true},
        {"TrayExitItem", true, true, true, "Hide", false},
        {"NoTrayAvailable", true, false, false, "Goodbye", false},
    };
    h.general.sysTray = true;
    Start();
    for (const ExitCase &c : cases) {
        guard->General().sysTray = c.sysTray;
        guard->SetTrayAvailable(c.trayAvailable);
        int hides = 0, quits = 0;
        const auto a = QObject::connect(guard.get(), &TMailGuard::hideToTrayRequested, [&] { ++hides; });
        const auto b = QObject::connect(guard.get(), &TMailGuard::quitRequested, [&] { ++quits; });
        EXPECT_EQ(guard->Buttons().exitCaption, QString::fromLatin1(c.caption)) << c.name;
        guard->btExitClick(c.fromTray);
        EXPECT_EQ(hides, c.hides ? 1 : 0) << c.name;
        EXPECT_EQ(quits, c.hides ? 0 : 1) << c.name;
        QObject::disconnect(a);
        QObject::disconnect(b);
    }
}

TEST_F(Guard, TrustingAFingerprintStoresItForThatSlotOnly)
{
    h.servers.slot(2).server = QStringLiteral("pop.example.org");
    h.servers.slot(2).mailbox = QStringLiteral("bob");
    h.servers.slot(2).password = QStringLiteral("pw");
    Start();
    const QString fp = QStringLiteral("AB:") + QStringLiteral("cd").repeated(31);
    EXPECT_TRUE(guard->TrustCertificate(2, fp));
    const QString normalized = QStringLiteral("ab") + QStringLiteral("cd").repeated(31);
    UserSettings stored;
    const ServerSettings servers = readServerSettings(stored);
    EXPECT_EQ(servers.slot(2).fingerprint, normalized);
    EXPECT_EQ(servers.slot(2).password, QStringLiteral("pw"));
    EXPECT_TRUE(servers.slot(1).fingerprint.isEmpty());

    EXPECT_FALSE(guard->TrustCertificate(2, QStringLiteral("not hex")));
    EXPECT_EQ(prompts.texts(TPromptCall::Error).size(), 1);
    EXPECT_EQ(readServerSettings(UserSettings()).slot(2).fingerprint, normalized);
}

TEST_F(Guard, SlotSettingsReachTheClientWithTheirSecurity)
{
    h.servers.slot(3) = {QStringLiteral("mail.example.org:995"), QStringLiteral("carol"), QStringLiteral("pw"),
                         TlsMode::Implicit, QStringLiteral("00").repeated(32)};
    h.servers.slot(4) = {QStringLiteral("MAIL.example.org:995"), QStringLiteral("CAROL"), QStringLiteral("pw2"),
                         TlsMode::StartTls, QString()};
    Start();
    guard->GetRemotePOPSettings(4);
    TmsRemotePOP &pop = guard->RemotePOP();
    EXPECT_EQ(pop.UserName(), QStringLiteral("CAROL"));
    EXPECT_EQ(pop.Password(), QStringLiteral("pw2"));
    EXPECT_EQ(pop.Tls().Mode, TmsTlsMode::StartTls);
    // The per-mailbox rules take the first slot with that server and user, ignoring case.
    EXPECT_EQ(guard->serverToIndex(), 3);
    guard->GetRemotePOPSettings(3);
    EXPECT_EQ(pop.Tls().Mode, TmsTlsMode::Implicit);
    EXPECT_EQ(pop.Tls().TrustedFingerprint, QStringLiteral("00").repeated(32));
    guard->GetRemotePOPSettings(2);
    pop.SetServer(QStringLiteral("other.example.org"));
    EXPECT_EQ(guard->serverToIndex(), 0);
}

} // namespace
