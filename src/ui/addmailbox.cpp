#include "addmailbox.h"

#include "connectiontest.h"
#include "general.h"
#include "mailboxsetup.h"
#include "oauth.h"
#include "settingsstore.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TAddMailboxDialog::TAddMailboxDialog(QWidget *parent)
    : QDialog(parent), m_open([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setWindowTitle(tr("Add mailbox"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Enter your e-mail address. Tarnwick proposes the server and a protected "
                                "connection; put them right if your provider tells you otherwise, then test the "
                                "connection."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout();
    edAddress = new QLineEdit(this);
    edAddress->setObjectName(QStringLiteral("edAddress"));
    edAddress->setPlaceholderText(tr("name@example.org"));
    form->addRow(tr("E-mail &address:"), edAddress);
    lblProvider = new QLabel(this);
    lblProvider->setWordWrap(true);
    lblProvider->setVisible(false);
    form->addRow(lblProvider);
    edUser = new QLineEdit(this);
    edUser->setObjectName(QStringLiteral("edUser"));
    form->addRow(tr("&User name:"), edUser);
    cbProtocol = new QComboBox(this);
    cbProtocol->setObjectName(QStringLiteral("cbProtocol"));
    cbProtocol->addItems({tr("POP3"), tr("IMAP")});
    cbProtocol->setToolTip(tr("POP3 reads the mailbox; IMAP reads one folder of it and marks nothing read."));
    form->addRow(tr("P&rotocol:"), cbProtocol);
    edServer = new QLineEdit(this);
    edServer->setObjectName(QStringLiteral("edServer"));
    form->addRow(tr("&Server:"), edServer);
    spPort = new QSpinBox(this);
    spPort->setObjectName(QStringLiteral("spPort"));
    spPort->setRange(1, 65535);
    spPort->setValue(UsualPort(MailProtocol::Pop3, TlsMode::Implicit));
    form->addRow(tr("&Port:"), spPort);
    cbSecurity = new QComboBox(this);
    cbSecurity->setObjectName(QStringLiteral("cbSecurity"));
    cbSecurity->addItems(TlsModeNames());
    cbSecurity->setCurrentIndex(int(TlsMode::Implicit));
    form->addRow(tr("S&ecurity:"), cbSecurity);
    rbPassword = new QRadioButton(tr("Log in with a pass&word"), this);
    rbOAuth2 = new QRadioButton(tr("Sign in at the provider (&OAuth2)"), this);
    rbPassword->setChecked(true);
    auto *login = new QHBoxLayout();
    login->addWidget(rbPassword);
    login->addWidget(rbOAuth2);
    form->addRow(tr("Log-in:"), login);
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    form->addRow(tr("Pass&word:"), edPassword);
    btSignIn = new QPushButton(tr("Sign &in..."), this);
    btSignIn->setObjectName(QStringLiteral("btSignIn"));
    btCancelSignIn = new QPushButton(tr("&Cancel sign-in"), this);
    btCancelSignIn->setObjectName(QStringLiteral("btCancelSignIn"));
    btCancelSignIn->setVisible(false);
    auto *signIn = new QHBoxLayout();
    signIn->addWidget(btSignIn);
    signIn->addWidget(btCancelSignIn);
    form->addRow(QString(), signIn);
    layout->addLayout(form);

    btTest = new QPushButton(tr("&Test connection"), this);
    btTest->setObjectName(QStringLiteral("btTest"));
    layout->addWidget(btTest, 0, Qt::AlignLeft);
    txtResult = new QPlainTextEdit(this);
    txtResult->setObjectName(QStringLiteral("txtResult"));
    txtResult->setReadOnly(true);
    txtResult->setAccessibleName(tr("Result of the connection test"));
    txtResult->setMinimumHeight(130);
    layout->addWidget(txtResult);

    auto *buttons = new QDialogButtonBox(this);
    btAdd = buttons->addButton(tr("&Add mailbox"), QDialogButtonBox::AcceptRole);
    btAdd->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(edAddress, &QLineEdit::textEdited, this, &TAddMailboxDialog::addressEdited);
    connect(edServer, &QLineEdit::textEdited, this, [this] { m_serverByHand = true; });
    connect(edUser, &QLineEdit::textEdited, this, [this] { m_userByHand = true; });
    connect(cbSecurity, &QComboBox::activated, this, &TAddMailboxDialog::protocolChosen);
    connect(cbProtocol, &QComboBox::activated, this, [this] {
        if (!m_serverByHand)
            addressEdited(edAddress->text());
        protocolChosen();
    });
    connect(rbPassword, &QRadioButton::toggled, this, &TAddMailboxDialog::updateLogin);
    connect(btSignIn, &QPushButton::clicked, this, &TAddMailboxDialog::btSignInClick);
    connect(btTest, &QPushButton::clicked, this, &TAddMailboxDialog::btTestClick);
    updateLogin();
    resize(480, sizeHint().height());
}

void TAddMailboxDialog::addressEdited(const QString &address)
{
    const std::optional<OAuthProvider> provider = OAuthProviderForAddress(address);
    lblProvider->setVisible(bool(provider));
    lblProvider->setText(provider ? tr("%1 wants you to sign in on its own page: Tarnwick never sees your "
                                       "password.").arg(provider->title)
                                  : QString());
    if (!m_userByHand)
        edUser->setText(address.trimmed());
    if (m_serverByHand)
        return;
    const TServerProposal proposal = ProposeServer(address, MailProtocol(cbProtocol->currentIndex()));
    cbProtocol->setCurrentIndex(int(proposal.protocol));
    edServer->setText(proposal.host);
    spPort->setValue(proposal.port);
    (proposal.oauth2 ? rbOAuth2 : rbPassword)->setChecked(true);
    cbSecurity->setCurrentIndex(int(TlsMode::Implicit));
}

void TAddMailboxDialog::protocolChosen()
{
    // The usual port of the protocol and security chosen, unless the user typed another.
    const int port = spPort->value();
    const int usual = UsualPort(MailProtocol(cbProtocol->currentIndex()), TlsMode(cbSecurity->currentIndex()));
    for (const MailProtocol protocol : {MailProtocol::Pop3, MailProtocol::Imap})
        for (const TlsMode tls : {TlsMode::None, TlsMode::Implicit})
            if (port == UsualPort(protocol, tls))
                spPort->setValue(usual);
}

void TAddMailboxDialog::updateLogin()
{
    const bool oauth = rbOAuth2->isChecked();
    edPassword->setEnabled(!oauth);
    btSignIn->setVisible(oauth);
}

MailboxSlot TAddMailboxDialog::Slot() const
{
    MailboxSlot slot;
    const QString host = edServer->text().trimmed();
    const int port = spPort->value();
    const TlsMode tls = TlsMode(qBound(0, cbSecurity->currentIndex(), 2));
    slot.protocol = cbProtocol->currentIndex() == int(MailProtocol::Imap) ? MailProtocol::Imap : MailProtocol::Pop3;
    // The port goes with the server only where it is not the one protocol and security imply.
    const bool usual = port == UsualPort(slot.protocol, tls);
    slot.server = usual ? host : QStringLiteral("%1:%2").arg(host).arg(port);
    slot.mailbox = edUser->text().trimmed();
    slot.tls = tls;
    if (rbOAuth2->isChecked()) {
        slot.login = MailboxLogin::OAuth2;
        slot.refreshToken = m_refreshToken;
    } else {
        slot.password = edPassword->text();
    }
    return slot;
}

void TAddMailboxDialog::btSignInClick()
{
    std::optional<OAuthProvider> provider = OAuthProviderForServer(edServer->text());
    if (!provider)
        provider = OAuthProviderForAddress(edAddress->text());
    if (!provider) {
        txtResult->setPlainText(tr("Tarnwick knows how to sign in at Google and Microsoft only. Log in with a "
                                   "password (or an app password) for this mailbox."));
        return;
    }
    LoadOAuthClient(UserSettings(), *provider);
    txtResult->setPlainText(tr("Waiting for the sign-in in your browser..."));
    // While the browser has the user, only the cancel button takes input here.
    const QList<QWidget *> others = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *w : others)
        if (w != btCancelSignIn)
            w->setEnabled(false);
    btSignIn->setEnabled(false);
    btCancelSignIn->setVisible(true);
    QMetaObject::Connection cancelClicked;
    const OAuthTokens tokens = AuthorizeInBrowser(
        *provider, edAddress->text().trimmed(), m_open, kAuthorizationWaitMs,
        [&](const std::function<void()> &cancel) {
            disconnect(cancelClicked);
            if (cancel)
                cancelClicked = connect(btCancelSignIn, &QPushButton::clicked, this, cancel);
        });
    btCancelSignIn->setVisible(false);
    btSignIn->setEnabled(true);
    for (QWidget *w : others)
        w->setEnabled(true);
    if (!tokens.error.isEmpty()) {
        txtResult->setPlainText(tokens.error);
        return;
    }
    m_refreshToken = tokens.refreshToken;
    m_providerId = provider->id;
    // The first conversation uses the token just handed out.
    TOAuthTokenSource::Remember(tokens.refreshToken, tokens.accessToken, tokens.expires);
    txtResult->setPlainText(tr("Signed in at %1. Test the connection, or add the mailbox.").arg(provider->title));
}

void TAddMailboxDialog::btTestClick()
{
    const MailboxSlot slot = Slot();
    if (slot.server.isEmpty() || slot.mailbox.isEmpty()) {
        txtResult->setPlainText(tr("Enter the e-mail address, the user name and the server first."));
        return;
    }
    if (slot.login == MailboxLogin::OAuth2 && slot.refreshToken.isEmpty()) {
        txtResult->setPlainText(tr("Sign in first: press \"Sign in...\"."));
        return;
    }
    txtResult->setPlainText(tr("Testing the connection to %1...").arg(slot.server));
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TConnectionReport report = TestConnection(slot, m_slot);
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    txtResult->setPlainText(report.Lines().join(u'\n'));
}
