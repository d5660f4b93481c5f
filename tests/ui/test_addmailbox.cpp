// The assistant for a new mailbox: what it proposes for an address, the connection test
// against the fixture's Dovecot (mailbox pipe04), and the slot it fills in the settings.
#include "addmailbox.h"
#include "dovecot_env.h"
#include "general.h"
#include "spamsettings.h"
#include "ui_test.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

TEST(AddMailbox, ProposesTheServerOfTheAddress)
{
    // The protocol chosen before the address is typed, and what the dialog proposes.
    using P = MailProtocol;
    struct Case { const char *address; P chosen; const char *server; P protocol; int port; bool oauth; };
    for (const Case &c : {Case{"alice@gmail.com", P::Pop3, "pop.gmail.com", P::Pop3, 995, true},
                          Case{"bob@googlemail.com", P::Imap, "imap.gmail.com", P::Imap, 993, true},
                          Case{"carol@hotmail.com", P::Pop3, "outlook.office365.com", P::Pop3, 995, true},
                          Case{"dave@live.com", P::Imap, "outlook.office365.com", P::Imap, 993, true},
                          Case{"erin@example.org", P::Pop3, "pop.example.org", P::Pop3, 995, false},
                          Case{"erin@example.org", P::Imap, "imap.example.org", P::Imap, 993, false},
                          Case{"gina@me.com", P::Pop3, "imap.mail.me.com", P::Imap, 993, false}}) {
        SCOPED_TRACE(c.server);
        TAddMailboxDialog d;
        d.cbSecurity->setCurrentIndex(int(TlsMode::None));
        d.cbProtocol->setCurrentIndex(int(c.chosen));
        QTest::keyClicks(d.edAddress, c.address);
        EXPECT_EQ(d.edServer->text(), c.server);
        EXPECT_EQ(d.spPort->value(), c.port);
        EXPECT_EQ(d.cbSecurity->currentIndex(), int(TlsMode::Implicit)) << "implicit TLS is proposed";
        EXPECT_EQ(d.rbOAuth2->isChecked(), c.oauth);
        const MailboxSlot slot = d.Slot();
        EXPECT_EQ(slot.login, c.oauth ? MailboxLogin::OAuth2 : MailboxLogin::Password);
        EXPECT_EQ(slot.mailbox, c.address);
        EXPECT_EQ(slot.protocol, c.protocol);
        EXPECT_EQ(slot.server, c.server) << "the usual port is not written out";
        Keep(&d, QStringLiteral("add_mailbox_") + c.server);
    }
    // Choosing the other protocol afterwards proposes its server and port.
    TAddMailboxDialog e;
    QTest::keyClicks(e.edAddress, "erin@example.org");
    e.cbProtocol->setCurrentIndex(int(P::Imap));
    emit e.cbProtocol->activated(int(P::Imap));
    EXPECT_EQ(e.Slot().server, "imap.example.org");
    EXPECT_EQ(e.spPort->value(), 993);
    // What the user typed by hand stays when the address changes.
    TAddMailboxDialog d;
    QTest::keyClicks(d.edServer, "mail.example.net");
    QTest::keyClicks(d.edUser, "frank");
    QTest::keyClicks(d.edAddress, "frank@gmail.com");
    EXPECT_EQ(d.edServer->text(), "mail.example.net");
    EXPECT_EQ(d.Slot().mailbox, "frank");
}

// The sign-in through the local authorization server of tests/fixtures, set in the settings
// in place of Google's end points.
TEST(AddMailbox, SignsInAtTheProvider)
{
    TempHome home;
    QProcess server;
    server.start("/usr/bin/python3", {TARNWICK_SOURCE_DIR "/tests/fixtures/authserver.py"});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(QString::fromLatin1(server.readLine().trimmed()));
    {
        UserSettings settings;
        for (const auto &[name, value] : {std::pair{"GoogleClientId", QStringLiteral("tarnwick-test")},
                                          {"GoogleAuthorizationUrl", base + "/authorize"}, {"GoogleTokenUrl", base + "/token"}})
            ASSERT_TRUE(settings.writeString("OAuth2", name, value));
        ASSERT_TRUE(settings.flush());
    }
    TAddMailboxDialog d;
    d.show();
    QNetworkAccessManager browser;
    QUrl opened;
    d.SetBrowser([&](const QUrl &url) {
        opened = url;
        QNetworkReply *reply = browser.get(QNetworkRequest(url));
        QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    });
    QTest::keyClicks(d.edAddress, "dave@gmail.com");
    d.btSignIn->click();
    EXPECT_TRUE(opened.toString().startsWith(base + "/authorize?")) << opened.toString().toStdString();
    EXPECT_EQ(d.txtResult->toPlainText(), "Signed in at Google. Test the connection, or add the mailbox.");
    EXPECT_EQ(d.Slot().refreshToken, "refresh-dave@gmail.com");
    EXPECT_TRUE(d.edAddress->isEnabled() && !d.btCancelSignIn->isVisible());
    // A sign-in the user gives up on in the browser ends with the cancel button.
    d.SetBrowser([&](const QUrl &) { QTimer::singleShot(0, d.btCancelSignIn, &QPushButton::click); });
    d.btSignIn->click();
    EXPECT_EQ(d.txtResult->toPlainText(), "The sign-in at Google was canceled.");
    server.closeWriteChannel();
    server.waitForFinished(5000);
}

TEST(AddMailbox, TestsTheConnectionAndFillsTheFirstFreeSlot)
{
    QString error;
    const std::optional<DovecotEnv> env = DovecotEnv::Load(DovecotEnv::DefaultIni(), &error);
    ASSERT_TRUE(env) << error.toStdString();
    TempHome home;
    ServerSettings servers;
    servers.slot(1) = {"pop.example.org", "someone", "pw", TlsMode::Implicit, {}};
    UserSettings store;
    ASSERT_TRUE(saveServerSettings(store, servers).ok());
    TSpamSettings spam;
    TTestPrompts prompts;
    TfrmGeneral general(store, TSettingsEdit{ReadGeneralSettings(store), readServerSettings(store)}, spam, prompts);
    general.show();

    TAddMailboxDialog d(&general);
    d.show();
    QTest::keyClicks(d.edAddress, "pipe04@example.org");
    d.edUser->setText("pipe04");
    d.edServer->setText(env->Host);
    d.cbSecurity->setCurrentIndex(int(TlsMode::None));
    d.spPort->setValue(env->Pop3Port);
    struct Case { const char *name; QString password; QStringList lines; };
    for (const Case &c : {Case{"wrong", "not-the-password", {"Connection test failed.", "refused the user name or password"}},
                          Case{"right", env->Password,
                               {"Connection test passed.", "Security: none", "Log-in: AUTH PLAIN", "Pipelining: offered",
                                "Unique ids (UIDL): offered", "Messages waiting:"}}}) {
        SCOPED_TRACE(c.name);
        d.edPassword->setText(c.password);
        d.btTest->click();
        const QString shown = d.txtResult->toPlainText();
        for (const QString &line : c.lines)
            EXPECT_TRUE(shown.contains(line)) << line.toStdString() << " not in:\n" << shown.toStdString();
        Keep(&d, QStringLiteral("add_mailbox_test_%1").arg(c.name));
    }
    ASSERT_EQ(general.AddMailbox(d.Slot()), 2);
    EXPECT_EQ(general.edServe[1]->text(), env->Server(env->Pop3Port));
    EXPECT_EQ(general.edName[1]->text(), "pipe04");
    EXPECT_EQ(general.edPass[1]->text(), env->Password);
    EXPECT_EQ(general.cbTls[1]->currentIndex(), int(TlsMode::None));
    EXPECT_TRUE(general.rbMailbox[1]->isChecked());
    EXPECT_EQ(general.edServe[0]->text(), "pop.example.org") << "a slot in use is left alone";
    d.cbProtocol->setCurrentIndex(int(MailProtocol::Imap));
    ASSERT_EQ(general.AddMailbox(d.Slot()), 3);
    EXPECT_EQ(general.cbProtocol[2]->currentIndex(), int(MailProtocol::Imap));
    Keep(&general, "add_mailbox_filled");
}

} // namespace
