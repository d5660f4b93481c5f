// The small windows and the adapters: mailbox choice, progress window, tray animation,
// single-instance guard and the pictures.

#include "boxprompts.h"
#include "pictures.h"
#include "retrieving.h"
#include "singleinstance.h"
#include "trayicon.h"
#include "ui_test.h"
#include "which.h"
#include "mailguard.h"

namespace {


TEST(WhichMailbox, PreselectsTheCurrentSlotAndReturnsTheChosenOne)
{
    const QList<TMailboxEntry> entries{{1, "1) Mailbox alice - Server pop.a.example"},
                                       {3, "3) Mailbox carol - Server pop.c.example"},
                                       {12, "12) Mailbox zed - Server pop.z.example"}};
    const struct { int entries, current, pick, expectedIndex, chosen; bool cancel; } cases[] = {
        {3, 3, -1, 1, 3, false}, // by slot number, not by position current - 1
        {3, 2, -1, 0, 1, false}, // a slot without an entry: the first
        {3, 1, 2, 0, 12, false}, // the user picks another
        {3, 1, -1, 0, 0, true},
        {0, 1, -1, -1, 0, false}, // nothing to choose: OK is Cancel
    };
    for (const auto &c : cases) {
        TfrmWhichMailbox which;
        EXPECT_EQ(which.windowTitle(), "Which Mailbox?");
        which.SetEntries(entries.mid(0, c.entries), c.current);
        EXPECT_EQ(which.cbWhich->currentIndex(), c.expectedIndex) << c.current;
        if (c.pick >= 0)
            which.cbWhich->setCurrentIndex(c.pick);
        which.show();
        (c.cancel ? which.btCancel : which.btOK)->click();
        EXPECT_EQ(which.result(), c.chosen ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(which.ChosenSlot(), c.chosen);
    }
}


TEST(BoxPrompts, EachBoxOffersItsButtonsAndActsOnlyOnYes)
{
    TBoxPrompts prompts;
    const QString message = "The server's certificate was refused: self-signed.";
    const auto keep = [&] { return prompts.AskKeepSecretInFile("The desktop keyring is not available: ..."); };
    const QStringList keepOrNot{"Do not store", "Keep in settings file"};
    const struct { std::function<bool()> ask; const char *press; bool result; QStringList buttons; } cases[] = {
        {[&] { return prompts.AskTrustCertificate(3, message, "abcd"); }, "Trust it", true, {"Cancel", "Trust it"}},
        {[&] { return prompts.AskYesNo("Really delete 3 messages from server?"); }, "Yes", true, {"No", "Yes"}},
        {[&] { return prompts.AskYesNo("Really delete 3 messages from server?"); }, "No", false, {"No", "Yes"}},
        {[&] { prompts.ErrorBox("You need a user name."); return false; }, "OK", false, {"OK"}},
        {keep, "Keep in settings file", true, keepOrNot}, {keep, "Do not store", false, keepOrNot},
    };
    for (const auto &c : cases) {
        QStringList buttons;
        QString title;
        TPoller answer([&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return false;
            title = box->windowTitle();
            Keep(box, QStringLiteral("box_") + QString::fromLatin1(c.press).replace(' ', '_'));
            for (QAbstractButton *b : box->buttons())
                buttons << b->text().remove('&');
            for (QAbstractButton *b : box->buttons())
                if (b->text().remove('&') == c.press)
                    b->click();
            return true;
        });
        EXPECT_EQ(c.ask(), c.result) << c.press;
        buttons.sort();
        EXPECT_EQ(buttons, c.buttons);
        EXPECT_EQ(title, "Tarnwick");
    }
}


TEST(Retrieving, FollowsTheGuardsProgressAndClosingIsCancel)
{
    TfrmRetrieving window;
    QSignalSpy cancel(&window, &TfrmRetrieving::cancelClicked);
    TProgressState state;
    state.visible = true;
    state.title = "Retrieving messages ... standby";
    state.server = "pop.example.org";
    window.Apply(state);
    EXPECT_TRUE(window.anMail->IsRunning());
    EXPECT_EQ(window.lblServer->text(), "pop.example.org");
    // A quick server needs no clock; news from the work clears it.
    const std::pair<qint64, const char *> waits[] = {
        {2, ""}, {3, "Waiting for the server: 3 s so far"}, {61, "Waiting for the server: 1 min 1 s so far"}};
    for (const auto &[seconds, text] : waits) {
        window.ShowWaited(seconds);
        EXPECT_EQ(window.lblWaited->text(), text);
    }
    window.Apply(state);
    EXPECT_TRUE(window.lblWaited->text().isEmpty());
    window.close();
    EXPECT_TRUE(window.isVisible()) << "the window goes when the work has stopped";
    window.btCancel->click();
    EXPECT_EQ(cancel.count(), 2);
    state.visible = false;
    window.Apply(state);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.anMail->IsRunning());
}


TEST(Tray, MenuAllOffWhileBusyAndTheAnimationAlternates)
{
    // The menu off while busy: MainWindow.WhileACheckWaitsOnlyCancelIsOffered.
    TTrayIcon tray;
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


TEST(SingleInstance, SecondStartBringsTheFirstForwardAndEnds)
{
    const QString key = QUuid::createUuid().toString();
    TSingleInstance first(key);
    ASSERT_TRUE(first.Start());
    QSignalSpy shown(&first, &TSingleInstance::showRequested);
    TSingleInstance second(key);
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(shown.wait(5000));
    TSingleInstance other(QUuid::createUuid().toString());
    EXPECT_TRUE(other.Start());
    // The key follows the data folder.
    QStringList names;
    for (int i = 0; i < 2; ++i) {
        TempHome home;
        names << TSingleInstance(TSingleInstance::DefaultKey()).ServerName();
    }
    EXPECT_NE(names.at(0), names.at(1));
}


int OpaquePixels(const QIcon &icon)
{
    const QImage image = icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int i = 0; i < 24 * 24; ++i)
        n += qAlpha(image.pixel(i % 24, i / 24)) > 0;
    return n;
}

TEST(Pictures, EveryMarkAndEveryNamedPictureIsThere)
{
    EXPECT_TRUE(MarkPicture(-1).isNull());
    EXPECT_TRUE(MarkPicture(15).isNull());
    QList<QImage> seen;
    // Each picture in words, for a screen reader.
    const char *names[] = {"marked for deletion", "suspect", "on the blacklist", "accepted by an exception"};
    for (int mark = 0; mark <= 14; ++mark) {
        EXPECT_EQ(MarkName(mark), names[qMin(mark, 3)]);
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
