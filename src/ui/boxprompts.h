#pragma once

#include "prompts.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

// The mail guard's questions answered with message boxes: errors and notices with an OK
// button, "Really ..." questions with Yes and No (acting only on Yes), the mailbox choice
// with TfrmWhichMailbox, a refused certificate with its fingerprint and the offer to trust it
// for that mailbox, and a secret no keyring takes with the offer to keep it in the settings file.
class TBoxPrompts final : public TPrompts
{
    Q_DECLARE_TR_FUNCTIONS(TBoxPrompts)

public:
    // The boxes are centred on parent while it is on screen, on the screen otherwise.
    void SetParent(QWidget *parent) { m_parent = parent; }

    void ErrorBox(const QString &text) override;
    void InfoBox(const QString &text) override;
    bool AskYesNo(const QString &text) override;
    int ChooseMailbox(const QList<TMailboxEntry> &entries, int current) override;
    bool AskTrustCertificate(int slot, const QString &message, const QString &fingerprint) override;
    bool AskKeepSecretInFile(const QString &text) override;

private:
    QWidget *parent() const;

    QPointer<QWidget> m_parent;
};

// The window a new box or window opened now belongs over: the dialog open at the moment,
// else fallback while it is on screen, else none (centred on the screen).
QWidget *FrontWindow(QWidget *fallback);

// The caption of every message box.
inline const QString kBoxCaption = QStringLiteral("Tarnwick");
