// The Mailboxes page of the General settings: the twelve slots, their protocol and folder,
// reading them into settings and back, and the new-mailbox assistant's way in.
#include "general.h"
#include "widgetparts.h"

#include "addmailbox.h"
#include "oauth.h"
#include "prompts.h"
#include "tls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QButtonGroup>
#include <QVBoxLayout>

QStringList TlsModeNames()
{
    return {TfrmGeneral::tr("None"), TfrmGeneral::tr("Implicit TLS"), TfrmGeneral::tr("STARTTLS")};
}

QWidget *TfrmGeneral::makeMailboxesTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(wrapped(
        tr("Enter the name of your mail server, your user name on that server and the "
                       "password you use to get your mail; your internet service provider can "
                       "tell you all three. The selected mailbox is the one checked by "
                       "\"Check e-mail\". A certificate that you trust although it cannot be "
                       "verified (a self-signed one) is kept as its SHA-256 fingerprint."),
        page));

    auto *grid = new QGridLayout();
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    const QStringList headings{QString(), tr("Server"), tr("User Name/Mailbox"),
                               tr("Password"), tr("Security"),
                               tr("Trusted certificate"), tr("Pipelining")};
    for (int c = 0; c < headings.size(); ++c) {
        auto *h = new QLabel(headings.at(c), page);
        QFont bold = h->font();
        bold.setBold(true);
        h->setFont(bold);
        grid->addWidget(h, 0, c);
    }
    m_slotGroup = new QButtonGroup(this);
    m_slotGroup->setExclusive(true);
    for (int i = 0; i < kMailboxSlots; ++i) {
        const int n = i + 1;
        rbMailbox[i] = named(new QRadioButton(tr("Mailbox %1").arg(n), page),
                             QStringLiteral("rbMailbox%1").arg(n));
        m_slotGroup->addButton(rbMailbox[i], n);
        edServe[i] = named(new QLineEdit(page), QStringLiteral("edServe%1").arg(n));
        edServe[i]->setMinimumWidth(170);
        edName[i] = named(new QLineEdit(page), QStringLiteral("edName%1").arg(n));
        edName[i]->setMinimumWidth(150);
        edPass[i] = named(new QLineEdit(page), QStringLiteral("edPass%1").arg(n));
        edPass[i]->setEchoMode(QLineEdit::Password);
        edPass[i]->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        edPass[i]->setMinimumWidth(110);
        cbTls[i] = named(new QComboBox(page), QStringLiteral("cbTls%1").arg(n));
        cbTls[i]->addItems(TlsModeNames());
        edFingerprint[i] = named(new QLineEdit(page), QStringLiteral("edFingerprint%1").arg(n));
        edFingerprint[i]->setMinimumWidth(160);
        edFingerprint[i]->setPlaceholderText(tr("none"));
        edFingerprint[i]->setToolTip(
            tr("The SHA-256 fingerprint of a certificate you trust for this mailbox "
                           "(64 hexadecimal digits, colons allowed). Leave it empty to accept "
                           "only certificates this computer can verify."));
        grid->addWidget(rbMailbox[i], n, 0);
        grid->addWidget(edServe[i], n, 1);
        grid->addWidget(edName[i], n, 2);
        grid->addWidget(edPass[i], n, 3);
        grid->addWidget(cbTls[i], n, 4);
        grid->addWidget(edFingerprint[i], n, 5);
        cbPipelining[i] = named(new QCheckBox(page), QStringLiteral("cbPipelining%1").arg(n));
        cbPipelining[i]->setToolTip(
            tr("Send the commands of a check several at a time when the server allows "
                           "it, which is much faster over a slow line. Untick it for a server that "
                           "stumbles over this."));
        grid->addWidget(cbPipelining[i], n, 6, Qt::AlignCenter);
        addImapControls(page, grid, i);
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 2);
    grid->setColumnStretch(8, 1);
    layout->addLayout(grid);
    btAddMailbox = named(new QPushButton(tr("Add mailbox..."), page), QStringLiteral("btAddMailbox"));
    connect(btAddMailbox, &QPushButton::clicked, this, &TfrmGeneral::btAddMailboxClick);
    layout->addWidget(btAddMailbox, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

void TfrmGeneral::addImapControls(QWidget *page, QGridLayout *grid, int i)
{
    const int n = i + 1;
    if (i == 0) {
        const QStringList headings{tr("Protocol"), tr("Folder"), tr("Deleted mail")};
        for (int c = 0; c < headings.size(); ++c) {
            auto *h = new QLabel(headings.at(c), page);
            QFont bold = h->font();
            bold.setBold(true);
            h->setFont(bold);
            grid->addWidget(h, 0, 7 + c);
        }
    }
    cbProtocol[i] = named(new QComboBox(page), QStringLiteral("cbProtocol%1").arg(n));
    cbProtocol[i]->addItems({tr("POP3"), tr("IMAP")});
    cbProtocol[i]->setToolTip(tr("POP3 reads the mailbox; IMAP reads one folder of it and marks nothing read."));
    edFolder[i] = named(new QLineEdit(page), QStringLiteral("edFolder%1").arg(n));
    edFolder[i]->setMinimumWidth(90);
    edFolder[i]->setPlaceholderText(QStringLiteral("INBOX"));
    edFolder[i]->setToolTip(tr("The IMAP folder that is checked: INBOX, or another folder's name."));
    cbDeletion[i] = named(new QComboBox(page), QStringLiteral("cbDeletion%1").arg(n));
    cbDeletion[i]->addItems({tr("Move to Junk"), tr("Move to Trash"), tr("Delete for good")});
    cbDeletion[i]->setToolTip(tr("What deleting a message does on the IMAP server. Moved to Junk or Trash, a "
                                 "message deleted by mistake can still be found there."));
    // Hidden for a POP3 mailbox, without the columns jumping when the protocol changes.
    for (QWidget *w : std::initializer_list<QWidget *>{edFolder[i], cbDeletion[i]}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    grid->addWidget(cbProtocol[i], n, 7);
    grid->addWidget(edFolder[i], n, 8);
    grid->addWidget(cbDeletion[i], n, 9);
    connect(cbProtocol[i], &QComboBox::activated, this, [this, i](int) { protocolChanged(i); });
}

void TfrmGeneral::showImapControls(int i)
{
    const bool imap = cbProtocol[i]->currentIndex() == int(MailProtocol::Imap);
    edFolder[i]->setVisible(imap);
    cbDeletion[i]->setVisible(imap);
    // IMAP sends its commands ahead of the replies on its own.
    cbPipelining[i]->setVisible(!imap);
}

void TfrmGeneral::protocolChanged(int i)
{
    // A port typed for one protocol's default becomes the other's; without a port the
    // protocol's own default follows by itself.
    const bool imap = cbProtocol[i]->currentIndex() == int(MailProtocol::Imap);
    const QString server = edServe[i]->text().trimmed();
    const qsizetype colon = server.lastIndexOf(u':');
    // "host:port" or "[v6 address]:port"; a bare IPv6 address has no port.
    if (colon > 0 && (colon == server.indexOf(u':') || server.at(colon - 1) == u']')) {
        static const QHash<QString, QString> kToImap{{"110", "143"}, {"995", "993"}};
        static const QHash<QString, QString> kToPop3{{"143", "110"}, {"993", "995"}};
        const QHash<QString, QString> &swap = imap ? kToImap : kToPop3;
        if (const QString port = server.mid(colon + 1); swap.contains(port))
            edServe[i]->setText(server.left(colon + 1) + swap.value(port));
    }
    showImapControls(i);
}

void TfrmGeneral::fillServers(const ServerSettings &servers)
{
    for (int i = 0; i < kMailboxSlots; ++i) {
        const MailboxSlot &slot = servers.slot(i + 1);
        edServe[i]->setText(slot.server);
        edName[i]->setText(slot.mailbox);
        edPass[i]->setText(slot.password);
        cbTls[i]->setCurrentIndex(int(slot.tls));
        // A hand-edited value that is no fingerprint is shown as it stands, for the user to mend.
        const QString normal = NormalizeFingerprint(slot.fingerprint);
        edFingerprint[i]->setText(normal.isEmpty() ? slot.fingerprint : FormatFingerprint(normal));
        edFingerprint[i]->setCursorPosition(0);
        cbPipelining[i]->setChecked(slot.pipelining);
        cbProtocol[i]->setCurrentIndex(int(slot.protocol));
        edFolder[i]->setText(slot.folder);
        cbDeletion[i]->setCurrentIndex(int(slot.imapDelete));
        showImapControls(i);
    }
    if (QAbstractButton *rb = m_slotGroup->button(servers.which))
        rb->setChecked(true);
}

ServerSettings TfrmGeneral::serversFromControls() const
{
    // What the page does not show (the protocol, the folder, where the secrets live) stays as
    // the slot had it.
    ServerSettings s = m_edit.servers;
    s.which = qMax(1, m_slotGroup->checkedId());
    for (int i = 0; i < kMailboxSlots; ++i) {
        MailboxSlot &slot = s.slot(i + 1);
        slot.server = edServe[i]->text();
        slot.mailbox = edName[i]->text();
        slot.password = edPass[i]->text();
        slot.tls = TlsMode(qBound(0, cbTls[i]->currentIndex(), 2));
        slot.fingerprint = edFingerprint[i]->text().trimmed();
        slot.pipelining = cbPipelining[i]->isChecked();
        slot.protocol = cbProtocol[i]->currentIndex() == int(MailProtocol::Imap) ? MailProtocol::Imap : MailProtocol::Pop3;
        const QString folder = edFolder[i]->text().trimmed();
        slot.folder = folder.isEmpty() ? QStringLiteral("INBOX") : folder;
        slot.imapDelete = ImapDeletion(qBound(0, cbDeletion[i]->currentIndex(), 2));
    }
    return s;
}

void TfrmGeneral::showMailboxProblem(int slot, QWidget *box, const QString &message)
{
    Q_UNUSED(slot);
    m_prompts.ErrorBox(message);
    PageControl1->setCurrentIndex(0);
    box->setFocus();
}

int TfrmGeneral::AddMailbox(const MailboxSlot &slot)
{
    for (int i = 0; i < kMailboxSlots; ++i) {
        if (!edServe[i]->text().trimmed().isEmpty() || !edName[i]->text().trimmed().isEmpty())
            continue;
        // What the page does not show (the log-in, the refresh token) rides in the edited copy.
        MailboxSlot &edited = m_edit.servers.slot(i + 1);
        edited.login = slot.login;
        edited.refreshToken = slot.refreshToken;
        edited.secretCommand.clear();
        if (edited.secrets == SecretPlace::Command)
            edited.secrets = SecretPlace::Unchosen;
        edServe[i]->setText(slot.server);
        edName[i]->setText(slot.mailbox);
        edPass[i]->setText(slot.password);
        cbTls[i]->setCurrentIndex(int(slot.tls));
        edFingerprint[i]->setText(slot.fingerprint);
        cbProtocol[i]->setCurrentIndex(int(slot.protocol));
        showImapControls(i);
        rbMailbox[i]->setChecked(true);
        edServe[i]->setFocus();
        return i + 1;
    }
    m_prompts.ErrorBox(tr("All %1 mailboxes are in use. Empty the server and user name of one you no longer "
                          "need, then add the new mailbox.").arg(kMailboxSlots));
    return 0;
}

void TfrmGeneral::btAddMailboxClick()
{
    int free = 0;
    for (int i = 0; i < kMailboxSlots && !free; ++i)
        if (edServe[i]->text().trimmed().isEmpty() && edName[i]->text().trimmed().isEmpty())
            free = i + 1;
    TAddMailboxDialog assistant(this);
    assistant.SetSlotNumber(free ? free : 1);
    if (assistant.exec() != QDialog::Accepted)
        return;
    const int n = AddMailbox(assistant.Slot());
    // Which provider signs in for a server the presets do not know (kept even on Cancel:
    // it names nothing but a provider).
    if (n && !assistant.ProviderId().isEmpty() && RememberSlotProvider(m_store, n, assistant.ProviderId()))
        m_store.flush();
}
