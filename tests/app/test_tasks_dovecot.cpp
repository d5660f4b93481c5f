// The check, deletion and retrieval tasks over the mailbox a slot names, against the fixture's
// Dovecot and without the guard: what each lists, deletes, leaves and fetches, as a client of
// its own then sees the mailbox.
#include "checktask.h"
#include "dovecot_test.h"
#include "guard_test.h"
#include "mailboxes.h"
#include "pop3mailbox.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QStringList Subjects(const TMailboxListing &listing)
{
    QStringList out;
    for (const TMailboxMessage &message : listing.messages)
        out << GetFieldValue(message.headers, QStringLiteral("Subject"));
    return out;
}

class TaskDovecot : public DovecotTest
{
protected:
    MailboxSlot Slot(const QString &user, bool pipelining) const
    {
        return {Server(), user, env.Password, TlsMode::None, {}, pipelining};
    }
    static std::unique_ptr<TMailbox> Make(const MailboxSlot &slot)
    {
        TMailboxOptions options;
        options.timeOutSeconds = 10;
        return MakeMailbox(slot, options);
    }
    std::unique_ptr<TMailbox> Open(const QString &user, bool pipelining) const { return Make(Slot(user, pipelining)); }
    void TakeAway(const QString &user, int index) const { TakeAwayMessage(Server(), user, env.Password, index); }
    QStringList Waiting(const QString &user) const { return WaitingSubjects(Server(), user, env.Password); }
};

} // namespace

TEST_F(TaskDovecot, ACheckListsEveryMessageAndDeletesOnlyWhatItsSessionPicked)
{
    struct Case { bool pipelining; bool deleting; QList<int> pick; };
    for (const Case &c : {Case{false, false, {}}, Case{true, false, {}}, Case{true, true, {3, 0, 3, 9}},
                          Case{false, true, {1}}, Case{true, true, {}}}) {
        SCOPED_TRACE(testing::Message() << "pipelining " << c.pipelining << " picked " << c.pick.size());
        Seed("user24", StandardMailbox());
        TmsRemotePOP own;
        own.SetUsePipelining(c.pipelining);
        OpenOwnClient(own, Server(), "user24", env.Password);
        const std::unique_ptr<TMailbox> mailbox = Open("user24", c.pipelining);
        QList<int> seen;
        const auto listed = [&](int index, int count, const TMailboxMessage &) { seen << index * 10 + count; };
        std::function<QList<int>()> pick;
        if (c.deleting)
            pick = [&] { return c.pick; };
        const TTaskResult out = TCheckTask(*mailbox).Run(listed, pick);
        ASSERT_TRUE(out.ok) << out.text.toStdString();
        EXPECT_EQ(seen, (QList<int>{5, 15, 25, 35, 45})) << "each message as it comes, with the count";
        EXPECT_EQ(out.listed, 5);
        EXPECT_EQ(Subjects(out.listing), StandardSubjects());
        for (const TMailboxMessage &message : out.listing.messages) {
            EXPECT_GT(message.size, 0);
            EXPECT_FALSE(message.uid.isEmpty()) << "Dovecot gives unique ids";
        }
        // Only the listed indexes that exist go, each once, and only because the session ended well.
        QList<int> gone;
        for (int index : c.pick)
            if (index < 5 && !gone.contains(index))
                gone << index;
        std::sort(gone.begin(), gone.end());
        EXPECT_EQ(out.deleted, gone);
        EXPECT_TRUE(out.changed.isEmpty());
        QStringList left = StandardSubjects();
        for (qsizetype k = gone.size(); k-- > 0;)
            left.removeAt(gone.at(k));
        EXPECT_EQ(Waiting("user24"), left);
        // A check costs what the client's own listing costs (QUIT travels with the last window
        // when the session pipelines); a pipelined one that may delete sends QUIT on its own,
        // after one window for all its DELE commands.
        const int roundTrips = dynamic_cast<TPop3Mailbox &>(*mailbox).Client().RoundTrips();
        if (!c.deleting || c.pipelining) {
            EXPECT_EQ(roundTrips, own.RoundTrips() + (c.deleting ? 1 : 0) + (gone.isEmpty() ? 0 : 1));
        }
    }
}

TEST_F(TaskDovecot, ADeletionInALaterSessionLeavesWhatChangedAndFindsWhatMoved)
{
    for (bool pipelining : {false, true}) {
        SCOPED_TRACE(pipelining ? "pipelining" : "one command at a time");
        Seed("user25", StandardMailbox());
        const std::unique_ptr<TMailbox> mailbox = Open("user25", pipelining);
        const TTaskResult check = TCheckTask(*mailbox).Run();
        ASSERT_TRUE(check.ok) << check.text.toStdString();
        // Between the listing and the deletion another program takes the first and the third
        // message: the second is now number 1, the third is gone.
        TakeAway("user25", 2);
        TakeAway("user25", 0);
        const TTaskResult out = TDeleteTask(*mailbox).Run(check.listing, {2, 1});
        ASSERT_TRUE(out.ok) << out.text.toStdString();
        EXPECT_EQ(out.deleted, QList<int>{1});
        EXPECT_EQ(out.changed, QList<int>{2}) << "left and reported";
        EXPECT_EQ(Waiting("user25"), StandardSubjects().mid(3));

        // A session left without Commit takes nothing away, whatever it deleted.
        mailbox->LogIn();
        const TMailboxListing listing = mailbox->List();
        EXPECT_EQ(mailbox->Delete(listing, {0, 1}).deleted, (QList<int>{0, 1}));
        mailbox->LogOut();
        EXPECT_EQ(Waiting("user25"), StandardSubjects().mid(3));
    }
}

TEST_F(TaskDovecot, ARetrievalFetchesTheListedMessageOrSaysItChanged)
{
    Seed("user28", StandardMailbox());
    const std::unique_ptr<TMailbox> mailbox = Open("user28", true);
    const TTaskResult check = TCheckTask(*mailbox).Run();
    ASSERT_TRUE(check.ok) << check.text.toStdString();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fetched.eml"));

    TTaskResult out = TRetrieveTask(*mailbox).Run(check.listing, 3, file);
    ASSERT_TRUE(out.ok) << out.text.toStdString();
    EXPECT_TRUE(out.changed.isEmpty());
    QFile fetched(file);
    ASSERT_TRUE(fetched.open(QIODevice::ReadOnly));
    EXPECT_TRUE(fetched.readAll().contains(("Subject: " + StandardSubjects().at(3)).toUtf8()));
    EXPECT_EQ(Waiting("user28").size(), 5) << "fetching deletes nothing";

    TakeAway("user28", 3);
    const QString second = dir.filePath(QStringLiteral("second.eml"));
    out = TRetrieveTask(*mailbox).Run(check.listing, 3, second);
    ASSERT_TRUE(out.ok) << out.text.toStdString();
    EXPECT_EQ(out.changed, QList<int>{3});
    EXPECT_FALSE(QFile::exists(second)) << "nothing stands in for the message that went";
}

TEST_F(TaskDovecot, FailuresSayWhetherTryingAgainCanHelp)
{
    Seed("user38", StandardMailbox());
    struct Case { MailboxSlot slot; bool loginRefused; TFailureClass failure; };
    MailboxSlot wrongPassword = Slot("user38", true);
    wrongPassword.password = QStringLiteral("not the password");
    MailboxSlot nobodyListens = Slot("user38", true);
    nobodyListens.server = QStringLiteral("127.0.0.1:1");
    for (const Case &c : {Case{wrongPassword, true, TFailureClass::Permanent},
                          Case{nobodyListens, false, TFailureClass::Temporary}}) {
        const std::unique_ptr<TMailbox> mailbox = Make(c.slot);
        const TTaskResult out = TCheckTask(*mailbox).Run();
        EXPECT_FALSE(out.ok);
        EXPECT_FALSE(out.text.isEmpty());
        EXPECT_EQ(out.loginRefused, c.loginRefused) << out.text.toStdString();
        EXPECT_EQ(ClassifyFailure(out), c.failure) << out.text.toStdString();
        EXPECT_EQ(out.listed, 0);
    }
    EXPECT_EQ(Waiting("user38").size(), 5);
}
