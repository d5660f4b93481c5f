// The window of outstanding commands against the real Dovecot of the test fixture, which
// announces PIPELINING: the same listing and the same events as one command at a time, over
// plain POP3 and STLS, and a pipelined deletion.
#include "dovecot_test.h"

#include "pop3.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class PipelineDovecot : public DovecotTest
{
protected:
    void Configure(TmsRemotePOP &pop, const QString &user, bool pipelining, TmsTlsMode mode = TmsTlsMode::None)
    {
        pop.SetServer(Server());
        pop.SetUserName(user);
        pop.SetPassword(env.Password);
        pop.SetTimeOut(10);
        pop.SetTls({mode, env.Fingerprint});
        pop.SetUsePipelining(pipelining);
    }

    // Every event but OnProgress, whose number depends on how the bytes arrive.
    static QStringList Events(TmsRemotePOP &pop, QStringList &log)
    {
        pop.OnOpen = [&log](QObject *) { log << "Open"; };
        pop.OnClosing = [&log](QObject *) { log << "Closing"; };
        pop.OnClosed = [&log](QObject *) { log << "Closed"; };
        pop.OnError = [&log](QObject *, QString &msg) { log << "Error:" + msg; };
        pop.OnUpdatingInfo = [&log](QObject *) { log << "UpdatingInfo"; };
        pop.OnInfoUpdated = [&log](QObject *) { log << "InfoUpdated"; };
        pop.OnNextInfoUpdated = [&log](QObject *, int n) { log << "Next:" + QString::number(n); };
        pop.OnDeleting = [&log](QObject *, int n) { log << "Deleting:" + QString::number(n); };
        pop.OnDeleted = [&log](QObject *, int n) { log << "Deleted:" + QString::number(n); };
        pop.OnItemSkipped = [&log](QObject *, int n) { log << "Skipped:" + QString::number(n); };
        return log;
    }

    static QStringList Items(const TmsRemotePOP &pop)
    {
        QStringList out;
        for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
            out << QString::number(item.Size) + "|" + item.Uidl + "|" + item.Headers.join("\n");
        return out;
    }
};

TEST_F(PipelineDovecot, PipelinedAndSequentialListingsAreIdentical)
{
    QList<QByteArray> messages;
    // Enough messages for several windows' worth of refills, with empty and dot-stuffed bodies.
    for (int i = 1; i <= 1500; ++i)
        messages << TestMessage(i, i % 5);
    Seed("pipe01", messages);
    const std::pair<TmsTlsMode, bool> cases[] = {
        {TmsTlsMode::None, false}, {TmsTlsMode::None, true}, {TmsTlsMode::StartTls, true}};
    for (const auto &[mode, uidl] : cases) {
        {
            SCOPED_TRACE(testing::Message() << "tls " << int(mode) << " uidl " << uidl);
            QList<QStringList> items;
            QList<QStringList> events;
            for (const bool pipelining : {false, true}) {
                TmsRemotePOP pop;
                Configure(pop, "pipe01", pipelining, mode);
                pop.SetUseUidl(uidl);
                QStringList log;
                Events(pop, log);
                pop.UpdateInfo();
                EXPECT_EQ(pop.Pipelining(), pipelining) << "Dovecot announces PIPELINING";
                items << Items(pop);
                events << log;
            }
            ASSERT_EQ(items[0].size(), 1500);
            EXPECT_EQ(items[1], items[0]);
            EXPECT_EQ(events[1], events[0]);
            const bool withIds = std::all_of(items[0].begin(), items[0].end(),
                                             [](const QString &item) { return !item.section(u'|', 1, 1).isEmpty(); });
            EXPECT_EQ(withIds, uidl) << "ids are listed when asked for";
        }
    }
}

TEST_F(PipelineDovecot, PipelinedDeletionRemovesExactlyTheMarkedMessages)
{
    QList<QByteArray> messages;
    for (int i = 1; i <= 40; ++i)
        messages << TestMessage(i, 2);
    Seed("pipe02", messages);
    TmsRemotePOP pop;
    Configure(pop, "pipe02", true);
    pop.UpdateInfo();
    ASSERT_TRUE(pop.Pipelining());
    QList<int> marked;
    for (int index = 0; index < 40; index += 3) {
        pop.MarkDelete(index);
        marked << index;
    }
    QStringList log;
    Events(pop, log);
    pop.TransferData();
    QStringList expected;
    for (const int index : marked)
        expected << "Deleting:" + QString::number(index) << "Deleted:" + QString::number(index);
    EXPECT_EQ(log.filter("Delet"), expected);
    EXPECT_TRUE(pop.SkippedItems().isEmpty());

    TmsRemotePOP check;
    Configure(check, "pipe02", false);
    check.UpdateInfo();
    QStringList subjects;
    for (const TmsRemoteInfoItem &item : check.RemoteInfo())
        subjects << GetFieldValue(item.Headers, QStringLiteral("Subject"));
    QStringList expectedSubjects;
    for (int index = 0; index < 40; ++index) {
        if (!marked.contains(index))
            expectedSubjects << GetFieldValue(pop.RemoteInfo()[index].Headers, QStringLiteral("Subject"));
    }
    EXPECT_EQ(subjects, expectedSubjects);
}

} // namespace
