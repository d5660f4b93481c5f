// The small windows and the adapters: mailbox choice, progress window, tray menu, alarm,
// single-instance guard and the pictures.

#include "alarm.h"
#include "boxprompts.h"
#include "pictures.h"
#include "retrieving.h"
#include "singleinstance.h"
#include "temp_home.h"
#include "trayicon.h"
#include "ui_test.h"
#include "which.h"

#include "mailguard.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QUuid>
#include <gtest/gtest.h>
#include <memory>

namespace {

// ---- mailbox choice ----

TEST(WhichMailbox, PreselectsTheCurrentSlotAndReturnsTheChosenOne)
{
    const QList<TMailboxEntry> entries{{1, "1) Mailbox alice - Server pop.a.example"},
                                       {3, "3) Mailbox carol - Server pop.c.example"},
                                       {12, "12) Mailbox zed - Server pop.z.example"}};
    struct Case
    {
        int current;
        int selectBeforeOk; // -1: leave the preselection
        int expectedIndex;
        int chosen;
    };
    const Case cases[] = {
        {3, -1, 1, 3},  // by slot number, not by position current - 1
        {12, -1, 2, 12},
        {2, -1, 0, 1},  // a slot without an entry: the first
        {1, 2, 0, 12},  // the user picks another
    };
    for (const Case &c : cases) {
        TfrmWhichMailbox which;
        EXPECT_EQ(which.windowTitle(), "Which Mail Box?");
        which.SetEntries(entries, c.current);
        EXPECT_EQ(which.cbWhich->currentIndex(), c.expectedIndex) << c.current;
        EXPECT_EQ(which.cbWhich->count(), 3);
        if (c.selectBeforeOk >= 0)
            which.cbWhich->setCurrentIndex(c.selectBeforeOk);
        which.show();
        which.btOK->click();
        EXPECT_EQ(which.result(), QDialog::Accepted);
        EXPECT_EQ(which.ChosenSlot(), c.chosen);
    }
}

TEST(WhichMailbox, CancelOrNothingToChooseGivesNoSlot)
{
    TfrmWhichMailbox which;
    which.SetEntries({{2, "2) Mailbox b - Server s"}}, 2);
    which.show();
    which.btCancel->click();
    EXPECT_EQ(which.result(), QDialog::Rejected);
    EXPECT_EQ(which.ChosenSlot(), 0);

    TfrmWhichMailbox empty;
    empty.SetEntries({}, 1);
    empty.show();
    empty.btOK->click();
    EXPECT_EQ(empty.result(), QDialog::Rejected);
    EXPECT_EQ(empty.ChosenSlot(), 0);
}

// ---- message boxes ----

// Presses the button with that text on the next message box that comes up; records its texts.
struct BoxAnswer
{
    QString text, informative, title;
    QStringList buttons;
    std::unique_ptr<TPoller> poller;
    explicit BoxAnswer(const QString &press)
    {
        poller = std::make_unique<TPoller>([this, press] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return false;
            text = box->text();
            informative = box->informativeText();
            title = box->windowTitle();
            for (QAbstractButton *b : box->buttons())
                buttons << b->text().remove('&');
            for (QAbstractButton *b : box->buttons())
                if (b->text().remove('&') == press)
                    b->click();
            return true;
        });
    }
};

TEST(BoxPrompts, CertificateRefusalOffersToTrustIt)
{
    TBoxPrompts prompts;
    const QString message = "The server's certificate was refused: self-signed. Its SHA-256 fingerprint is AB:CD.";
    {
        BoxAnswer answer("Trust it");
        EXPECT_TRUE(prompts.AskTrustCertificate(3, message, "abcd"));
        EXPECT_EQ(answer.text, message);
        EXPECT_TRUE(answer.informative.startsWith("Trust this certificate for mailbox 3 from now on?"));
        EXPECT_EQ(answer.buttons.size(), 2);
    }
    {
        BoxAnswer answer("Cancel");
        EXPECT_FALSE(prompts.AskTrustCertificate(3, message, "abcd"));
    }
}

TEST(BoxPrompts, ReallyQuestionsAreYesNoAndActOnlyOnYes)
{
    TBoxPrompts prompts;
    {
        BoxAnswer answer("Yes");
        EXPECT_TRUE(prompts.AskYesNo("Really delete 3 messages from server?"));
        answer.buttons.sort();
        EXPECT_EQ(answer.buttons, (QStringList{"No", "Yes"}));
        EXPECT_EQ(answer.title, "Tarnwick");
    }
    {
        BoxAnswer answer("No");
        EXPECT_FALSE(prompts.AskYesNo("Really delete 3 messages from server?"));
    }
    {
        BoxAnswer answer("OK");
        prompts.ErrorBox("You need to enter your e-mail username in the settings.");
        EXPECT_EQ(answer.text, "You need to enter your e-mail username in the settings.");
        EXPECT_EQ(answer.buttons, QStringList{"OK"});
    }
}

// ---- progress window ----

TEST(Retrieving, FollowsTheGuardsProgress)
{
    TfrmRetrieving window;
    EXPECT_EQ(window.windowTitle(), "Retrieving ...");
    EXPECT_EQ(window.btCancel->text(), "Click to cancel");

    TProgressState state;
    state.visible = true;
    state.title = "Retrieving messages ... standby";
    state.server = "pop.example.org";
    state.mailbox = "alice";
    window.Apply(state);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.anMail->IsRunning());
    EXPECT_FALSE(window.progbar->isVisible());
    EXPECT_EQ(window.lblTitle->text(), state.title);
    EXPECT_EQ(window.lblServer->text(), "pop.example.org");
    EXPECT_EQ(window.lblMailbox->text(), "alice");

    state.message = "Message 3 of 7";
    state.barVisible = true;
    state.barMaximum = 7;
    state.barPosition = 3;
    window.Apply(state);
    EXPECT_TRUE(window.progbar->isVisible());
    EXPECT_EQ(window.progbar->minimum(), 1);
    EXPECT_EQ(window.progbar->maximum(), 7);
    EXPECT_EQ(window.progbar->value(), 3);
    EXPECT_EQ(window.lblMsg->text(), "Message 3 of 7");

    state.visible = false;
    window.Apply(state);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.anMail->IsRunning());
}

TEST(Retrieving, ClosingOrEscapeIsCancelNotLeavingTheWorkRunning)
{
    TfrmRetrieving window;
    QSignalSpy cancel(&window, &TfrmRetrieving::cancelClicked);
    TProgressState state;
    state.visible = true;
    window.Apply(state);
    window.close();
    EXPECT_TRUE(window.isVisible());
    window.btCancel->click();
    EXPECT_EQ(cancel.count(), 2);
}

// ---- tray ----

TEST(Tray, MenuItemsInOrderAndAllOffWhileBusy)
{
    TTrayIcon tray;
    QStringList texts;
    for (QAction *a : tray.Menu()->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"Check e-mail for spam", "Launch e-mail program", "-", "Main screen", "Settings",
                                  "Statistics", "-", "Enable automatic check", "Disable automatic check", "-",
                                  "Help/Info", "-", "Exit"}));
    EXPECT_TRUE(tray.actDisable->isChecked());

    tray.SetAvailable(tray.actStatistics, false);
    tray.SetMenuEnabled(false);
    for (QAction *a : {tray.actCheck, tray.actLaunch, tray.actMainScreen, tray.actSpam, tray.actGeneral,
                       tray.actViewLog, tray.actEnable, tray.actDisable, tray.actHelp, tray.actAbout, tray.actExit})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    tray.SetMenuEnabled(true);
    EXPECT_TRUE(tray.actCheck->isEnabled());
    EXPECT_TRUE(tray.actExit->isEnabled());
    EXPECT_FALSE(tray.actStatistics->isEnabled()); // no such window yet

    tray.SetExitCaption("Cancel");
    EXPECT_EQ(tray.actExit->text(), "Cancel");
    tray.SetAutomatic(true);
    EXPECT_TRUE(tray.actEnable->isChecked());
    EXPECT_FALSE(tray.actDisable->isChecked());
}

TEST(Tray, AnimatedStateAlternatesTheTwoPictures)
{
    TTrayIcon tray;
    EXPECT_EQ(tray.CurrentPicture(), "tray");
    tray.SetAnimated(true);
    QStringList seen{tray.CurrentPicture()};
    TPoller poll([&] {
        if (!seen.contains(tray.CurrentPicture()))
            seen << tray.CurrentPicture();
        return seen.size() == 2;
    });
    ASSERT_TRUE(WaitUntil([&] { return poll.done(); }));
    seen.sort();
    EXPECT_EQ(seen, (QStringList{"anim1", "anim2"}));
    tray.SetAnimated(false);
    EXPECT_EQ(tray.CurrentPicture(), "tray");
}

// ---- alarm ----

TEST(Alarm, BeepsInsteadOfFailing)
{
    TempHome home;
    home.write("alarm.wav", "RIFF this is no sound");
    struct Case
    {
        const char *name;
        QString file;
        bool audio;
    };
    const Case cases[] = {
        {"no file name", QString(), true},
        {"missing file", home.file("gone.wav"), true},
        {"no audio device", home.file("alarm.wav"), false},
    };
    for (const Case &c : cases) {
        TAlarmSound alarm;
        int beeps = 0;
        alarm.SetBeeper([&] { ++beeps; });
        alarm.SetAudioCheck([&] { return c.audio; });
        alarm.Play(c.file, true);
        EXPECT_EQ(beeps, 1) << c.name;
        EXPECT_FALSE(alarm.IsPlaying()) << c.name;
        alarm.Stop();
    }
}

// ---- single instance ----

TEST(SingleInstance, SecondStartBringsTheFirstForwardAndEnds)
{
    const QString key = QUuid::createUuid().toString();
    TSingleInstance first(key);
    ASSERT_TRUE(first.Start());
    QSignalSpy shown(&first, &TSingleInstance::showRequested);

    TSingleInstance second(key);
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(shown.wait(5000));
    EXPECT_EQ(shown.count(), 1);

    TSingleInstance other(QUuid::createUuid().toString());
    EXPECT_TRUE(other.Start());
    EXPECT_NE(other.ServerName(), first.ServerName());
}

TEST(SingleInstance, KeyFollowsTheDataFolder)
{
    QString a, b;
    {
        TempHome home;
        a = TSingleInstance(TSingleInstance::DefaultKey()).ServerName();
    }
    {
        TempHome home;
        b = TSingleInstance(TSingleInstance::DefaultKey()).ServerName();
    }
    EXPECT_NE(a, b);
}

// ---- pictures ----

int OpaquePixels(const QIcon &icon)
{
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    icon.paint(&p, image.rect());
    p.end();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

TEST(Pictures, EveryMarkAndEveryNamedPictureIsThere)
{
    EXPECT_TRUE(MarkPicture(-1).isNull());
    EXPECT_TRUE(MarkPicture(15).isNull());
    QList<QImage> seen;
    for (int mark = 0; mark <= 14; ++mark) {
        EXPECT_GT(OpaquePixels(MarkPicture(mark)), 100) << mark;
        const QImage image = MarkPicture(mark).pixmap(24, 24).toImage();
        EXPECT_FALSE(seen.contains(image)) << "mark " << mark << " looks like another mark";
        seen << image;
    }
    for (const char *name : {"tarnwick", "tray", "anim1", "anim2", "check-up", "check-down", "mark", "delete",
                             "goodbye", "door", "stop", "options", "reset", "remark", "launch", "envelope",
                             "server", "computer", "splash"})
        EXPECT_GT(OpaquePixels(Picture(name)), 50) << name;
    EXPECT_TRUE(QFile::exists(":/harptune.wav"));
}

} // namespace
