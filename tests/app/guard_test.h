#pragma once

// Shared pieces of the mail guard tests: prompts answered from a script, settings and rule
// lists written into a fresh data folder, and test mail.

#include "mailguard.h"
#include "pop3.h"
#include "temp_home.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct TPromptCall { enum Kind { Error, Info, Question, Choice, Trust } kind; QString text; };

// Answers the guard's prompts from queues and records every prompt. A question without a
// queued answer is answered No (0 for the mailbox choice), so an unexpected question never
// lets a test delete anything.
class TScriptedPrompts : public TPrompts
{
public:
    QList<TPromptCall> calls;
    QList<bool> yesNo;
    QList<int> choices;
    QList<bool> trust;
    QList<QList<TMailboxEntry>> offeredEntries;
    // Runs at every prompt, after it was recorded (e.g. to act while a modal box is up).
    std::function<void(const TPromptCall &)> onPrompt;

    void ErrorBox(const QString &text) override { record(TPromptCall::Error, text); }
    void InfoBox(const QString &text) override { record(TPromptCall::Info, text); }
    bool AskYesNo(const QString &text) override { record(TPromptCall::Question, text); return !yesNo.isEmpty() && yesNo.takeFirst(); }
    int ChooseMailbox(const QList<TMailboxEntry> &entries, int current) override
    {
        offeredEntries.append(entries);
        record(TPromptCall::Choice, QString::number(current));
        return choices.isEmpty() ? 0 : choices.takeFirst();
    }
    bool AskTrustCertificate(int slot, const QString &message, const QString &fingerprint) override
    {
        record(TPromptCall::Trust, QStringLiteral("%1|%2|%3").arg(slot).arg(fingerprint, message));
        return !trust.isEmpty() && trust.takeFirst();
    }

    QStringList texts(TPromptCall::Kind kind) const
    {
        QStringList out;
        for (const TPromptCall &c : calls)
            if (c.kind == kind)
                out << c.text;
        return out;
    }

private:
    void record(TPromptCall::Kind kind, const QString &text)
    {
        calls.append({kind, text});
        if (onPrompt)
            onPrompt(calls.last());
    }
};

// One rule of a list, cells in column order (the picture column first).
struct TRuleCells { RuleTable::Kind list; QStringList cells; };

// The data folder of one test with everything the guard reads at start.
class TGuardHome
{
public:
    TempHome home;
    GeneralSettings general;
    ServerSettings servers;

    TGuardHome();

    QString logFile() const { return home.file(QStringLiteral("logfile.txt")); }
    QString readLog() const { return QString::fromUtf8(home.read(QStringLiteral("logfile.txt"))); }

    // Writes the settings file, the given rules and known.lst.
    void write(const QList<TRuleCells> &rules = {}, const QStringList &known = {});

    // The rules most tests use: subject "pills" deletes, header "BulkMailer" is suspect,
    // friend@example.org is an exception (picture 5), domain known-spam.example is
    // blacklisted.
    static QList<TRuleCells> StandardRules();
    static QStringList StandardKnown() { return {QStringLiteral("known-spam.example")}; }
};

// The settings as stored now (what the guard wrote).
GeneralSettings StoredGeneral();

// A small message with LF line ends.
QByteArray Mail(const QString &from, const QString &subject, const QStringList &extraHeaders = {});

// The five messages most tests use, and the marks the standard rules give them:
// pills (0), blacklisted (2), exception (5), suspect (1), plain (-1).
QList<QByteArray> StandardMailbox();
QList<int> StandardMarks();
QStringList StandardSubjects();

// The lines of the log that contain text.
QStringList LinesWith(const QString &log, const QString &text);

// The subjects waiting in a mailbox now, seen by a POP3 client of its own (not the guard's).
QStringList WaitingSubjects(const QString &server, const QString &user, const QString &password);

// A client of its own on a mailbox, its listing read.
void OpenOwnClient(TmsRemotePOP &pop, const QString &server, const QString &user, const QString &password);

// Another mail program takes message index (from 0) of a mailbox.
void TakeAwayMessage(const QString &server, const QString &user, const QString &password, int index);
