#include "guard_test.h"

#include "files.h"
#include "headers.h"

#include <QCryptographicHash>
#include <stdexcept>

TGuardHome::TGuardHome()
{
    general.logFile = logFile();
    // Nothing starts a real program from a test unless it asks for it.
    general.launch = false;
}

void TGuardHome::write(const QList<TRuleCells> &rules, const QStringList &known)
{
    UserSettings settings;
    if (!SaveGeneralSettings(settings, general))
        throw std::runtime_error("cannot write the general settings");
    if (!saveServerSettings(settings, servers).ok())
        throw std::runtime_error("incomplete mailbox slot in a test");

    TSpamSettings spam;
    spam.readSettings();
    for (const TRuleCells &rule : rules) {
        RuleTable &table = rule.list == RuleTable::Kind::Subject ? spam.gridSubject
                         : rule.list == RuleTable::Kind::Header  ? spam.gridHeader
                         : rule.list == RuleTable::Kind::From    ? spam.gridFrom
                                                                 : spam.gridExcept;
        const int row = table.AppendRule();
        for (int col = 0; col < rule.cells.size(); ++col)
            table.SetCells(col, row, rule.cells.at(col));
    }
    if (!spam.Savesettings())
        throw std::runtime_error("cannot write the rule lists");
    if (!known.isEmpty() && !WriteTextLines(DataFile(QStringLiteral("known.lst")), known))
        throw std::runtime_error("cannot write known.lst");
}

QList<TRuleCells> TGuardHome::StandardRules()
{
    using K = RuleTable::Kind;
    return {
        {K::Subject, {"", "Contains", "pills", "No", "Yes", "0"}},
        {K::Header, {"", "Contains", "BulkMailer", "No", "No", "0"}},
        {K::Except, {"E-mail address", "Equals", "friend@example.org", "No", "0", "", "5"}},
    };
}

GeneralSettings StoredGeneral() { UserSettings settings; return ReadGeneralSettings(settings); }

QByteArray Mail(const QString &from, const QString &subject, const QStringList &extraHeaders)
{
    QString text = QStringLiteral("From: ") + from + u'\n' + QStringLiteral("To: me@example.org\n")
                 + QStringLiteral("Subject: ") + subject + u'\n'
                 + QStringLiteral("Date: Sun, 06 Dec 2026 14:05:00 +0100\n")
                 + QStringLiteral("Message-ID: <%1@example.com>\n")
                       .arg(QString::fromLatin1(QCryptographicHash::hash((from + subject).toUtf8(),
                                                                         QCryptographicHash::Sha1).toHex().left(16)));
    for (const QString &line : extraHeaders)
        text += line + u'\n';
    text += QStringLiteral("\nHello,\nthis is the body of \"%1\".\n").arg(subject);
    return text.toUtf8();
}

QList<QByteArray> StandardMailbox()
{
    return {
        Mail(QStringLiteral("Pill Shop <shop@pills.example>"), QStringLiteral("Cheap pills today")),
        Mail(QStringLiteral("spammer@known-spam.example"), QStringLiteral("Hello there")),
        Mail(QStringLiteral("\"A Friend\" <friend@example.org>"), QStringLiteral("Cheap pills for you")),
        Mail(QStringLiteral("someone@example.net"), QStringLiteral("Meeting"), {QStringLiteral("X-Mailer: BulkMailer 2.0")}),
        Mail(QStringLiteral("colleague@example.com"), QStringLiteral("Lunch")),
    };
}

QList<int> StandardMarks() { return {0, 2, 5, 1, -1}; }

QStringList StandardSubjects() { return {"Cheap pills today", "Hello there", "Cheap pills for you", "Meeting", "Lunch"}; }

QStringList LinesWith(const QString &log, const QString &text)
{
    QStringList out;
    for (const QString &line : log.split(u'\n'))
        if (line.contains(text))
            out << line;
    return out;
}

void OpenOwnClient(TmsRemotePOP &pop, const QString &server, const QString &user, const QString &password)
{
    pop.SetServer(server);
    pop.SetUserName(user);
    pop.SetPassword(password);
    pop.SetTimeOut(10);
    pop.UpdateInfo();
}

void TakeAwayMessage(const QString &server, const QString &user, const QString &password, int index)
{
    TmsRemotePOP other;
    OpenOwnClient(other, server, user, password);
    other.MarkDelete(index);
    other.TransferData();
}

QStringList WaitingSubjects(const QString &server, const QString &user, const QString &password)
{
    TmsRemotePOP pop;
    OpenOwnClient(pop, server, user, password);
    QStringList subjects;
    for (const TmsRemoteInfoItem &item : pop.RemoteInfo())
        subjects << GetFieldValue(item.Headers, QStringLiteral("Subject"));
    return subjects;
}
