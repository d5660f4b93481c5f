// The POP3 client against the fixture's Dovecot (which announces PIPELINING), each test with
// users of its own so that tests can run side by side.
#include "dovecot_test.h"

#include "pop3.h"
#include "temp_home.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class Dovecot : public DovecotTest
{
protected:
    void Configure(TmsRemotePOP &pop, const QString &user, TmsTlsMode mode = TmsTlsMode::None,
                   const QString &trusted = QString(), bool pipelining = false)
    {
        pop.SetServer(env.Server(mode == TmsTlsMode::Implicit ? env.Pop3sPort : env.Pop3Port));
        pop.SetUserName(user);
        pop.SetPassword(env.Password);
        pop.SetTimeOut(10);
        pop.SetTls({mode, trusted});
        pop.SetUsePipelining(pipelining);
        pop.OnError = [this](QObject *, QString &msg) { errors << msg; };
    }

    // The subjects' numbers of the listed messages ("Test message 7" gives 7).
    static QList<int> Numbers(const TmsRemotePOP &pop)
    {
        QList<int> numbers;
        for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
            numbers << GetFieldValue(item.Headers, QStringLiteral("Subject")).section(u' ', 2, 2).toInt();
        return numbers;
    }

    static QList<QByteArray> Messages(int count, int bodyLines = -1)
    {
        QList<QByteArray> messages;
        for (int i = 1; i <= count; ++i)
            messages << TestMessage(i, bodyLines < 0 ? i % 4 : bodyLines);
        return messages;
    }

    QStringList errors;
};

TEST_F(Dovecot, ListingsOneAtATimeAndInAWindowAreIdenticalAndExact)
{
    QList<QByteArray> messages;
    // Enough messages for several windows' worth of refills, with empty and dot-stuffed bodies.
    for (int i = 1; i <= 1500; ++i)
        messages << TestMessage(i, i % 5);
    Seed("pipe01", messages);
    const std::pair<TmsTlsMode, bool> cases[] = {
        {TmsTlsMode::None, false}, {TmsTlsMode::None, true}, {TmsTlsMode::StartTls, true}};
    for (const auto &[mode, uidl] : cases) {
        SCOPED_TRACE(testing::Message() << "tls " << int(mode) << " uidl " << uidl);
        QList<QStringList> items;
        QList<QStringList> events;
        for (const bool pipelining : {false, true}) {
            TmsRemotePOP pop;
            Configure(pop, "pipe01", mode, env.Fingerprint, pipelining);
            pop.SetUseUidl(uidl);
            QStringList log;
            pop.OnNextInfoUpdated = [&log](QObject *, int n) { log << "Next:" + QString::number(n); };
            pop.OnInfoUpdated = [&log](QObject *) { log << "InfoUpdated"; };
            pop.UpdateInfo();
            EXPECT_EQ(pop.Pipelining(), pipelining);
            items << QStringList();
            for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
                items.last() << QString::number(item.Size) + "|" + item.Uidl + "|" + item.Headers.join("\n");
            events << log;
        }
        ASSERT_EQ(items[0].size(), 1500);
        EXPECT_EQ(items[1], items[0]);
        EXPECT_EQ(events[1], events[0]);
        // The size as sent, ids when asked for, the header lines as stored.
        for (int i = 0; i < 1500; i += 97) {
            const QByteArray &m = messages[i];
            EXPECT_EQ(items[0][i].section(u'|', 0, 0).toLongLong(), ToCrlf(m).size());
            EXPECT_EQ(items[0][i].section(u'|', 1, 1).isEmpty(), !uidl);
            EXPECT_EQ(items[0][i].section(u'|', 2), QString::fromLatin1(m.left(m.indexOf("\n\n"))));
        }
    }
    EXPECT_TRUE(errors.isEmpty());
}

// One command at a time: GuardDovecot.WindowDeletionAsksThenDeletesExactlyTheMarkedRows.
TEST_F(Dovecot, DeletesExactlyTheMarkedMessagesInWindows)
{
    Seed("pipe02", Messages(40, 2));
    TmsRemotePOP pop;
    Configure(pop, "pipe02", TmsTlsMode::None, {}, true);
    pop.UpdateInfo();
    QList<int> marked, kept;
    for (int index = 0; index < 40; ++index) {
        if (index % 3 == 0 && pop.MarkDelete(index))
            marked << index;
        else
            kept << index + 1;
    }
    QList<int> deleted;
    pop.OnDeleted = [&](QObject *, int num) { deleted << num; };
    pop.TransferData();
    EXPECT_EQ(deleted, marked);
    EXPECT_TRUE(pop.SkippedItems().isEmpty());
    pop.UpdateInfo();
    EXPECT_EQ(Numbers(pop), kept);
}

TEST_F(Dovecot, RetrievesAMessageByteForByte)
{
    const QList<QByteArray> messages = Messages(4);
    Seed("user05", messages);
    for (const bool handler : {false, true}) {
        TempHome home;
        TmsRemotePOP pop;
        Configure(pop, "user05");
        pop.SetMessageDirectory(home.path());
        QList<QByteArray> handed;
        if (handler)
            pop.OnUserMessageSave = [&](QObject *, int index, const QByteArray &contents) {
                handed << QByteArray::number(index) + ":" + contents;
            };
        pop.UpdateInfo();
        pop.MarkRetrieve(2);
        pop.TransferData();
        EXPECT_EQ(handler ? handed.value(0) : "2:" + home.read("msg_2.eml"), "2:" + ToCrlf(messages[2]));
        EXPECT_EQ(QFile::exists(home.file("msg_2.eml")), !handler);
        EXPECT_FALSE(QFile::exists(home.file("msg_0.eml")));
        pop.UpdateInfo();
        EXPECT_EQ(pop.RemoteInfo().Count(), 4) << "retrieving does not delete";
    }
}

TEST_F(Dovecot, TlsWithTheFixtureCertificate)
{
    const QString otherFingerprint = QString(64, u'0');
    struct Case { const char *user; TmsTlsMode mode; QString trusted; bool accepted; };
    const Case cases[] = {
        {"user06", TmsTlsMode::Implicit, env.Fingerprint, true},
        {"user08", TmsTlsMode::Implicit, QString(), false},
        {"user09", TmsTlsMode::StartTls, QString(), false},
        {"user10", TmsTlsMode::Implicit, otherFingerprint, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.user);
        Seed(c.user, Messages(3));
        errors.clear();
        TmsRemotePOP pop;
        Configure(pop, c.user, c.mode, c.trusted);
        if (c.accepted) {
            pop.UpdateInfo();
            EXPECT_EQ(Numbers(pop), (QList<int>{1, 2, 3}));
            EXPECT_EQ(pop.PeerFingerprint(), env.Fingerprint);
            EXPECT_TRUE(errors.isEmpty());
            continue;
        }
        try {
            pop.UpdateInfo();
            ADD_FAILURE() << "an untrusted certificate was accepted";
        } catch (const ECertificateError &e) {
            EXPECT_EQ(e.Fingerprint(), env.Fingerprint);
            ASSERT_FALSE(e.Problems().isEmpty());
            EXPECT_TRUE(e.Message().contains(e.Problems().first())) << "the message names the problem";
            EXPECT_EQ(errors, QStringList{e.Message()});
        }
        EXPECT_FALSE(pop.Connected());
        EXPECT_EQ(pop.RemoteInfo().Count(), 0);
    }
}

TEST_F(Dovecot, DeletionAfterAnotherClientChangedTheMailbox)
{
    struct Case { const char *user; bool uidl; bool pipelining; };
    for (const Case &c : {Case{"user12", true, false}, Case{"user13", false, false}, Case{"pipe03", true, true}}) {
        SCOPED_TRACE(c.user);
        Seed(c.user, Messages(5));
        TmsRemotePOP pop;
        Configure(pop, c.user, TmsTlsMode::None, {}, c.pipelining);
        pop.SetUseUidl(c.uidl);
        pop.UpdateInfo();
        ASSERT_EQ(Numbers(pop), (QList<int>{1, 2, 3, 4, 5}));

        // Another mail program takes message 2 meanwhile.
        TmsRemotePOP other;
        Configure(other, c.user);
        other.UpdateInfo();
        other.MarkDelete(1);
        other.TransferData();

        // The user marks messages 1 and 4 of the (now stale) list: message 4 is number 3 now,
        // and number 4 is message 5. With ids it is found and deleted there; without, it stays.
        pop.MarkDelete(0);
        pop.MarkDelete(3);
        pop.TransferData();
        EXPECT_EQ(pop.SkippedItems(), c.uidl ? QList<int>{} : QList<int>{3});
        other.UpdateInfo();
        EXPECT_EQ(Numbers(other), c.uidl ? (QList<int>{3, 5}) : (QList<int>{3, 4, 5}));
    }
}

} // namespace
