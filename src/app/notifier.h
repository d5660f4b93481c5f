#pragma once

#include "checktask.h"
#include "encrypt.h"

#include <QCoreApplication>
#include <QString>
#include <array>
#include <optional>

// One desktop notification: a title line and the text under it.
struct TNotice
{
    QString summary;
    QString body;
    bool trouble = false; // a failure or a skipped mailbox, rather than good news

    bool operator==(const TNotice &) const = default;
};

// Decides what a program running hidden in the notification area tells the user about its
// automatic checks. A mailbox that keeps failing is told about once, not at every pass, until
// a check of it succeeds again; spam deleted is told about every time, since it is news.
class TNotifier
{
    Q_DECLARE_TR_FUNCTIONS(TNotifier)

public:
    // Off: nothing is told, but each mailbox's state is still followed, so that switching
    // notifications back on does not bring up a failure the user has lived with for hours.
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }

    // One mailbox's turn in an automatic pass. slot: 1 ... kMailboxSlots; mailbox: the name
    // the user knows it by; skipped: the pass left the mailbox out (its server asked for a
    // pause between log-ins), result is then not looked at.
    std::optional<TNotice> MailboxResult(int slot, const QString &mailbox, const TTaskResult &result, bool skipped);

private:
    enum class State { Fine, Skipped, Failing };
    std::array<State, kMailboxSlots> m_state{};
    bool m_enabled = true;
};
