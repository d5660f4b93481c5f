#pragma once

// The mail guard against the real Dovecot of the test fixture: a guard over the standard
// rules, started on mailboxes the test seeds, with what it showed recorded.
#include "dovecot_test.h"
#include "guard_test.h"

class GuardDovecot : public DovecotTest
{
protected:
    MailboxSlot Slot(const QString &user, TlsMode tls = TlsMode::None) const { return {env.Server(tls == TlsMode::Implicit ? env.Pop3sPort : env.Pop3Port), user, env.Password, tls, {}}; }

    void Start()
    {
        h.write(TGuardHome::StandardRules(), TGuardHome::StandardKnown());
        guard = std::make_unique<TMailGuard>(prompts);
        guard->SetNetworkTimeOut(10);
        guard->SetLauncher([this](const QString &command) { launched << command; return true; });
        QObject::connect(guard.get(), &TMailGuard::statusChanged, [this](const QString &s) { statuses << s; });
        QObject::connect(guard.get(), &TMailGuard::alarmRequested, [this](const QString &file, bool) { alarms << file; });
        QObject::connect(guard.get(), &TMailGuard::showWindowRequested, [this] { ++shown; });
        QObject::connect(guard.get(), &TMailGuard::captionsChanged, [this](const TCaptionState &c) { trayHints << c.trayHint; });
        guard->FormCreate();
    }

    // Seeds user's mailbox, makes it slot 1 and starts the guard over the standard rules.
    void StartWith(const QString &user, const QList<QByteArray> &mail)
    {
        Seed(user, mail);
        h.servers.slot(1) = Slot(user);
        Start();
    }

    // Another mail program takes message index (from 0) of user's mailbox.
    void TakeAway(const QString &user, int index) const { TakeAwayMessage(Server(), user, env.Password, index); }

    // The subjects waiting in a mailbox now, seen by a client of its own.
    QStringList Waiting(const QString &user) const { return WaitingSubjects(Server(), user, env.Password); }

    QStringList RowSubjects() const
    {
        QStringList out;
        for (int i = 0; i < guard->Messages().Count(); ++i)
            out << guard->Messages().Row(i).subject;
        return out;
    }

    QList<int> RowMarks() const
    {
        QList<int> out;
        for (int i = 0; i < guard->Messages().Count(); ++i)
            out << guard->Messages().data(guard->Messages().index(i, 0), TMessageListModel::MarkRole).toInt();
        return out;
    }

    void ExpectIdle() const
    {
        EXPECT_FALSE(guard->IsBusy());
        EXPECT_FALSE(guard->Mailbox().Connected());
        const TButtonState &b = guard->Buttons();
        EXPECT_TRUE(b.checkEnabled && b.optionsEnabled && b.trayMenuEnabled);
        EXPECT_FALSE(b.exitIsCancel);
        EXPECT_EQ(b.exitCaption, QStringLiteral("Goodbye"));
        EXPECT_EQ(b.trayExitCaption, QStringLiteral("Exit"));
        EXPECT_EQ(b.messageButtonsVisible, !guard->Messages().IsEmpty());
        EXPECT_EQ(b.bannerVisible, guard->Messages().IsEmpty());
        EXPECT_FALSE(guard->Progress().visible);
    }

    // Hit count of the first rule of a list as stored in its file.
    static int StoredHits(RuleTable::Kind kind)
    {
        TSpamSettings spam;
        spam.readSettings();
        const RuleTable &t = kind == RuleTable::Kind::Subject ? spam.gridSubject
                           : kind == RuleTable::Kind::Header  ? spam.gridHeader
                                                              : spam.gridExcept;
        return t.Cells(t.HitColumn(), 1).toInt();
    }

    TGuardHome h;
    TScriptedPrompts prompts;
    std::unique_ptr<TMailGuard> guard;
    QStringList statuses, launched, alarms, trayHints;
    int shown = 0;
};
