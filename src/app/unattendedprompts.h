#pragma once

#include "prompts.h"

#include <QStringList>

// The prompts of a run nobody watches: tarnwick-cli, and the window's demo screenshot under
// Xvfb. Nothing waits for a click that never comes: questions are answered No, the mailbox
// choice keeps the slot being checked, no certificate is trusted, and every text is a line on
// standard error after the program's name.
class TUnattendedPrompts : public TPrompts
{
public:
    // program: the name each line starts with. trustHint: what to do instead about a refused
    // certificate, %1 the slot and %2 its fingerprint; none when empty.
    explicit TUnattendedPrompts(QString program, QString trustHint = {});

    int errors = 0;     // the errors so far, a refused certificate among them
    QString prefix;     // before each text, e.g. "mailbox 2: " when several are checked
    QStringList texts;  // the errors' texts, until the user of this object clears them

    void ErrorBox(const QString &text) override;
    void InfoBox(const QString &text) override;
    bool AskYesNo(const QString &text) override;
    int ChooseMailbox(const QList<TMailboxEntry> &entries, int current) override;
    bool AskTrustCertificate(int slot, const QString &message, const QString &fingerprint) override;

private:
    void line(const QString &text) const;

    QString m_program;
    QString m_trustHint;
};
