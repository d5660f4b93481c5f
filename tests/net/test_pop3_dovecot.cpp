// The POP3 client against the real Dovecot of the test fixture: listing, log-in failure,
// deletion, retrieval, POP3S and STLS with the fixture's self-signed certificate, and a mailbox
// that another client changed between the listing and the deletion.
//
// Each test uses a user of its own, so tests can run side by side.
#include "dovecot_test.h"

#include "pop3.h"
#include "temp_home.h"

#include <QFile>
#include <QSslCertificate>
#include <gtest/gtest.h>

namespace {

class Dovecot : public DovecotTest
{
protected:
    void Configure(TmsRemotePOP &pop, const QString &user, TmsTlsMode mode = TmsTlsMode::None,
                   const QString &trusted = QString())
    {
        pop.SetServer(env.Server(mode == TmsTlsMode::Implicit ? env.Pop3sPort : env.Pop3Port));
        pop.SetUserName(user);
        pop.SetPassword(env.Password);
        pop.SetTimeOut(5);
        pop.SetTls({mode, trusted});
        pop.OnError = [this](QObject *, QString &msg) { errors << msg; };
    }

    // The subjects' numbers of the listed messages ("Test message 7" gives 7).
    static QList<int> Numbers(const TmsRemotePOP &pop)
    {
        QList<int> numbers;
        for (const TmsRemoteInfoItem &item : pop.RemoteInfo()) {
            const QString subject = GetFieldValue(item.Headers, QStringLiteral("Subject"));
            numbers << subject.section(u' ', 2, 2).toInt();
        }
        return numbers;
    }

    static QList<QByteArray> Messages(int count)
    {
        QList<QByteArray> messages;
        for (int i = 1; i <= count; ++i)
            messages << TestMessage(i, i % 4);
        return messages;
    }

    QStringList errors;
};

TEST_F(Dovecot, ListsAnEmptyMailbox)
{
    Seed("user01", {});
    TmsRemotePOP pop;
    Configure(pop, "user01");
    bool updated = false;
    pop.OnInfoUpdated = [&](QObject *) { updated = true; };
    pop.UpdateInfo();
    EXPECT_TRUE(updated);
    EXPECT_EQ(pop.MessageCount(), 0);
    EXPECT_EQ(pop.TotalSize(), 0);
    EXPECT_EQ(pop.RemoteInfo().Count(), 0);
    EXPECT_FALSE(pop.Connected());
}

TEST_F(Dovecot, ListsADozenMessagesWithSizesAndHeaderLines)
{
    const QList<QByteArray> messages = Messages(12);
    Seed("user02", messages);
    TmsRemotePOP pop;
    Configure(pop, "user02");
    QList<int> announced;
    pop.OnNextInfoUpdated = [&](QObject *, int num) { announced << num; };
    pop.UpdateInfo();
    ASSERT_EQ(pop.RemoteInfo().Count(), 12);
    EXPECT_EQ(announced, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    qint64 total = 0;
    for (int i = 0; i < 12; ++i) {
        const QByteArray wire = ToCrlf(messages[i]);
        total += wire.size();
        const TmsRemoteInfoItem &item = pop.RemoteInfo()[i];
        EXPECT_EQ(item.Size, wire.size()) << "message " << i + 1;
        const QStringList stored = QString::fromLatin1(messages[i].left(messages[i].indexOf("\n\n"))).split(u'\n');
        EXPECT_EQ(item.Headers, stored) << "message " << i + 1;
        EXPECT_FALSE(item.Uidl.isEmpty()) << "Dovecot offers UIDL";
        EXPECT_EQ(item.Flags, 0);
    }
    EXPECT_EQ(pop.MessageCount(), 12);
    EXPECT_EQ(pop.TotalSize(), total);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(Dovecot, WrongPasswordIsAServerRefusal)
{
    Seed("user03", Messages(2));
    TmsRemotePOP pop;
    Configure(pop, "user03");
    pop.SetPassword("not the password");
    try {
        pop.UpdateInfo();
        ADD_FAILURE() << "logged in with a wrong password";
    } catch (const EServerError &e) {
        EXPECT_TRUE(e.Message().startsWith("-ERR")) << e.Message().toStdString();
        EXPECT_EQ(e.Message(), pop.LastReply());
    }
    EXPECT_TRUE(errors.isEmpty()) << "OnError does not fire for a refusal";
    EXPECT_FALSE(pop.Connected());
    EXPECT_EQ(pop.MessageCount(), -1);
}

TEST_F(Dovecot, DeletesExactlyTheMarkedMessages)
{
    Seed("user04", Messages(12));
    TmsRemotePOP pop;
    Configure(pop, "user04");
    pop.UpdateInfo();
    QList<int> deleted;
    pop.OnDeleted = [&](QObject *, int num) { deleted << num; };
    pop.MarkDelete(1);
    pop.MarkDelete(4);
    pop.TransferData();
    EXPECT_EQ(deleted, (QList<int>{1, 4}));
    EXPECT_TRUE(pop.SkippedItems().isEmpty());
    pop.UpdateInfo();
    EXPECT_EQ(Numbers(pop), (QList<int>{1, 3, 4, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(Dovecot, RetrievesAMessageByteForByte)
{
    const QList<QByteArray> messages = Messages(4);
    Seed("user05", messages);
    TempHome home;
    TmsRemotePOP pop;
    Configure(pop, "user05");
    pop.SetMessageDirectory(home.path());
    pop.UpdateInfo();
    pop.MarkRetrieve(2);
    pop.TransferData();
    EXPECT_EQ(home.read("msg_2.eml"), ToCrlf(messages[2]));
    EXPECT_FALSE(QFile::exists(home.file("msg_0.eml")));
    pop.UpdateInfo();
    EXPECT_EQ(pop.RemoteInfo().Count(), 4) << "retrieving does not delete";
}

TEST_F(Dovecot, TlsWithTheFixtureCertificate)
{
    QFile certFile(env.CertPath);
    ASSERT_TRUE(certFile.open(QIODevice::ReadOnly));
    const QSslCertificate cert(certFile.readAll());
    ASSERT_FALSE(cert.isNull());
    const QString otherFingerprint = QString(64, u'0');
    struct Case {
        const char *user;
        TmsTlsMode mode;
        QString trusted;
        bool accepted;
    };
    const Case cases[] = {
        {"user06", TmsTlsMode::Implicit, env.Fingerprint, true},
        {"user07", TmsTlsMode::StartTls, env.Fingerprint.toUpper(), true},
        {"user08", TmsTlsMode::Implicit, QString(), false},
        {"user09", TmsTlsMode::StartTls, QString(), false},
        {"user10", TmsTlsMode::Implicit, otherFingerprint, false},
        {"user11", TmsTlsMode::StartTls, otherFingerprint, false},
    };
    for (const Case &c : cases) {
        Seed(c.user, Messages(3));
        errors.clear();
        TmsRemotePOP pop;
        Configure(pop, c.user, c.mode, c.trusted);
        if (c.accepted) {
            pop.UpdateInfo();
            EXPECT_EQ(Numbers(pop), (QList<int>{1, 2, 3})) << c.user;
            EXPECT_EQ(pop.PeerFingerprint(), env.Fingerprint) << c.user;
            EXPECT_TRUE(errors.isEmpty()) << c.user;
        } else {
            try {
                pop.UpdateInfo();
                ADD_FAILURE() << c.user << ": an untrusted certificate was accepted";
            } catch (const ECertificateError &e) {
                EXPECT_EQ(e.Fingerprint(), env.Fingerprint) << c.user;
                EXPECT_EQ(e.Fingerprint(), CertificateFingerprint(cert)) << c.user;
                EXPECT_FALSE(e.Problems().isEmpty()) << c.user;
                EXPECT_TRUE(e.Message().contains(e.Problems().first())) << c.user << ": the message names the problem";
                EXPECT_EQ(errors, QStringList{e.Message()}) << c.user;
            }
            EXPECT_FALSE(pop.Connected()) << c.user;
            EXPECT_EQ(pop.RemoteInfo().Count(), 0) << c.user;
        }
    }
}

TEST_F(Dovecot, DeletionAfterAnotherClientChangedTheMailbox)
{
    struct Case {
        const char *user;
        bool uidl;
        bool pipelining;
    };
    for (const Case &c : {Case{"user12", true, false}, Case{"user13", false, false}, Case{"user14", true, true}}) {
        SCOPED_TRACE(c.user);
        Seed(c.user, Messages(5));
        TmsRemotePOP pop;
        Configure(pop, c.user);
        pop.SetUseUidl(c.uidl);
        pop.SetUsePipelining(c.pipelining);
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
