#pragma once

#include "settings.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Add mailbox...": asks for the e-mail address, proposes the server for the protocol chosen
// (the provider's for Gmail, Outlook and iCloud, else pop.DOMAIN or imap.DOMAIN) with implicit
// TLS, lets the user put protocol, server, port and security right by hand, signs in at the provider where it wants OAuth2, and tests the
// connection before the mailbox is added.
class TAddMailboxDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TAddMailboxDialog(QWidget *parent = nullptr);

    // The mailbox as the dialog describes it; after a sign-in with its refresh token.
    MailboxSlot Slot() const;
    // The provider of the sign-in ("google", "microsoft"); empty without one.
    QString ProviderId() const { return m_providerId; }

    // Opens the provider's sign-in page (the desktop's browser by default).
    void SetBrowser(std::function<void(const QUrl &)> open) { m_open = std::move(open); }
    // The slot the mailbox will fill, for the messages.
    void SetSlotNumber(int n) { m_slot = n; }

    QLineEdit *edAddress = nullptr;
    QLabel *lblProvider = nullptr;
    QLineEdit *edUser = nullptr;    // the user name on the server: the address unless changed
    QComboBox *cbProtocol = nullptr;  // indexed by MailProtocol
    QLineEdit *edServer = nullptr;
    QSpinBox *spPort = nullptr;
    QComboBox *cbSecurity = nullptr;
    QRadioButton *rbPassword = nullptr;
    QRadioButton *rbOAuth2 = nullptr;
    QLineEdit *edPassword = nullptr;
    QPushButton *btSignIn = nullptr;
    QPushButton *btCancelSignIn = nullptr;  // shown while the sign-in waits for the browser
    QPushButton *btTest = nullptr;
    QPlainTextEdit *txtResult = nullptr;
    QPushButton *btAdd = nullptr;

    void btSignInClick();
    void btTestClick();

private:
    void addressEdited(const QString &address);
    void protocolChosen();
    void updateLogin();

    std::function<void(const QUrl &)> m_open;
    bool m_serverByHand = false;
    bool m_userByHand = false;
    int m_slot = 1;
    QString m_refreshToken;
    QString m_providerId;
};
