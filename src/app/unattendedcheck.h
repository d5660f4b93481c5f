#pragma once

#include "activitylog.h"
#include "evaluator.h"
#include "knownlist.h"
#include "messagelistmodel.h"
#include "prompts.h"
#include "ras.h"
#include "settings.h"
#include "spamsettings.h"
#include "checktask.h"

#include <functional>

// Checks that nobody watches (tarnwick-cli): everything a check works with, read as the window
// reads it at start (the settings, the rule lists, the blacklist, the log and the dial-up
// entry), and the check of a slot with the same marks, log entries, counts and hit counts as
// the window's automatic pass.
class TUnattendedCheck
{
public:
    TUnattendedCheck();
    ~TUnattendedCheck();
    TUnattendedCheck(const TUnattendedCheck &) = delete;
    TUnattendedCheck &operator=(const TUnattendedCheck &) = delete;

    // A slot with a server and a user name.
    static bool IsSetUp(const MailboxSlot &slot);

    // Reads everything; returns the problems met (each says which file and what to do).
    QStringList Load();

    // Checks slot n; with deleteMarked the marked messages are deleted in the listing's
    // session. Every failure and problem is told through prompts (ErrorBox, and
    // AskTrustCertificate for a certificate nobody trusted).
    TTaskResult Check(int n, bool deleteMarked, TPrompts &prompts);

    // Checks the chosen slots, all at once (a few conversations per server), with the same
    // rows, marks, log entries, deletions and prompts as Check on each in the order given:
    // starting is told a slot before its prompts come, checked its result after. stop ends the pass: the running
    // conversations are aborted and their slots reported as canceled.
    void CheckAll(const QList<int> &chosen, bool deleteMarked, TPrompts &prompts,
                  const std::function<void(int n)> &starting,
                  const std::function<void(int n, const TTaskResult &result)> &checked,
                  const std::function<bool()> &stop = {});

private:
    // What follows a conversation with slot n: the log, the deletions counted, the failure
    // told, the hit counts stored.
    void conclude(int n, const TTaskResult &out, TPrompts &prompts);

    UserSettings m_settings;
    GeneralSettings m_general;
    ServerSettings m_servers;
    TSpamSettings m_spam;
    TKnownList m_known;
    TMessageListModel m_messages;
    TRuleEvaluator m_evaluator;
    TagRas m_ras;
    ActivityLog m_log;
    QStringList m_problems;
};
