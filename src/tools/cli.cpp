// tarnwick-cli: the mail guard without a window, for people who run Tarnwick from cron or on
// a server. It checks a mailbox with the same code as the main window (same marks, same log
// entries, same hit counts), deletes the marked messages on request, sets up the mailboxes
// (the password from standard input only), classifies saved mail like tarnwick-classify and
// shows what a saved message holds without a mail program, and keeps the rule lists.

#include "classifycore.h"
#include "files.h"
#include "logformat.h"
#include "prompts.h"
#include "unattendedcheck.h"
#include "mspars.h"
#include "oldfolders.h"
#include "settings.h"
#include "settingsstore.h"
#include "activitylog.h"

#include "checktask.h"
#include "clitool.h"
#include "unattendedprompts.h"
#include "language.h"
#include "wording.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>

namespace cli {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void out(const QString &text)
{
    write(stdout, text);
}

void err(const QString &text)
{
    write(stderr, QStringLiteral("tarnwick-cli: ") + text + u'\n');
}

int usage(const QString &problem)
{
    err(problem);
    err(Said("Cli", "run tarnwick-cli --help for the commands and their options"));
    return kExitUsage;
}

void outJson(const QJsonDocument &document)
{
    write(stdout, QString::fromUtf8(document.toJson(QJsonDocument::Indented)));
}

bool ParseSlot(const QString &text, int &slot)
{
    bool ok = false;
    slot = text.toInt(&ok);
    return ok && slot >= 1 && slot <= kMailboxSlots;
}

} // namespace cli

namespace {

using namespace cli;

const char kCommands[] = QT_TRANSLATE_NOOP(
    "Cli",
    "\n"
    "Commands:\n"
    "  check [--slot N | --all] [--delete] [--json]\n"
    "      Checks mailbox slot N (default: the one selected in the settings) and\n"
    "      prints one line per waiting message: mark, sender, subject, separated\n"
    "      by tabs. With --all every configured mailbox is checked, all at once\n"
    "      (at most 4 connections to one server) and printed in mailbox order;\n"
    "      each line then starts with the mailbox number and a tab. With\n"
    "      --delete the messages marked for deletion (marks 0 and 2) are deleted\n"
    "      on the server without a question (an IMAP server that can only flag\n"
    "      them leaves their removal to your mail program: standard error says\n"
    "      so, and --json as \"notice\"). Writes the activity log and keeps\n"
    "      the rules' hit counts, as a check in the window does.\n"
    "  mailbox set N [--server HOST[:PORT]] [--user NAME] [--tls none|implicit|stls]\n"
    "                [--trust-fingerprint HEX|none] [--password-stdin]\n"
    "                [--store keyring|file] [--password-command CMD | --token-command CMD]\n"
    "                [--protocol pop3|imap] [--folder NAME] [--imap-delete junk|trash|delete]\n"
    "                [--junk-folder NAME] [--trash-folder NAME] [--max-unseen N]\n"
    "                [--whole-folder | --unseen-only]\n"
    "                [--auth password|oauth2] [--provider google|microsoft]\n"
    "      Stores mailbox slot N (1-12). The password is read from standard input\n"
    "      (one line), never from the command line. Options left out keep what\n"
    "      the slot had; a new slot needs a server, a user name and a password,\n"
    "      and uses implicit TLS (port 995) unless --tls says otherwise.\n"
    "      The password goes to the desktop keyring; where none answers it is\n"
    "      refused unless --store file keeps it in the settings file (readable\n"
    "      by you only). --password-command runs CMD at each log-in and takes\n"
    "      the first line it prints as the password; --token-command does the\n"
    "      same for an OAuth2 access token (the mailbox then logs in with\n"
    "      XOAUTH2 or OAUTHBEARER). Nothing is stored for a command.\n"
    "      --protocol imap reads an IMAP folder instead (--folder, default INBOX;\n"
    "      port 993 with implicit TLS, else 143). A check looks at the newest\n"
    "      unseen messages only (--max-unseen, default 500; --whole-folder takes\n"
    "      every message, --unseen-only goes back) and marks nothing read.\n"
    "      Deleting moves a message to Junk (--imap-delete junk, the default), to\n"
    "      Trash, or deletes it for good; --junk-folder and --trash-folder name\n"
    "      those folders on a server that marks none as such.\n"
    "      --auth oauth2 signs in at the provider (--provider, else the one of the\n"
    "      server or the address; a new slot gets the provider's server): the\n"
    "      address to open in a browser is printed, and the refresh token goes\n"
    "      where a password would. --auth password logs in with the password.\n"
    "  mailbox test N\n"
    "      Logs in to mailbox N, reads what the server offers and logs out: the\n"
    "      security, the log-in method, pipelining, UIDL (IMAP: IDLE, UIDPLUS and\n"
    "      the folder's messages) and the server's answer.\n"
    "  mailbox list [--json]\n"
    "      Shows the mailbox slots (never their passwords); * marks the selected one.\n"
    "  classify [--why] FILE...\n"
    "      Marks saved mail files with the rules, as tarnwick-classify does.\n"
    "  show FILE [--save-attachments DIR] [--json]\n"
    "      Prints a saved message: sender, recipients, subject, date, the text\n"
    "      body, and one line per attachment (name, content type, size in bytes),\n"
    "      separated by tabs. With --save-attachments the attachments are written\n"
    "      into DIR (created when missing) under their cleaned names; an existing\n"
    "      file is never replaced: the copy is named \"name (1).ext\" and so on.\n"
    "%1"
    "\n"
    "--json prints one JSON document on standard output instead of lines, for\n"
    "scripts; messages for people still go to standard error.\n"
    "--data DIR may also follow the command.\n"
    "\n"
    "Marks: -1 none, 0 delete, 1 suspect, 2 blacklisted (delete), 3-14 accepted\n"
    "by an exception.\n"
    "\n"
    "Exit status:\n"
    "   0  success\n"
    "   1  the command failed (the reason is on standard error)\n"
    "   2  usage error, also a rule the rule dialogs would refuse\n"
    "  75  temporary failure, worth trying again later: the server could not be\n"
    "      reached or did not answer in time, it asked for a pause between\n"
    "      log-ins, or the mailbox was in use\n"
    "  77  permanent failure: the server refused the log-in, or its certificate\n"
    "      was refused; change the settings before trying again\n"
    "With --all: 77 when any mailbox failed permanently, else 1 when any failed\n"
    "otherwise, else 75 when any failed for a while.\n");

enum ExitStatus { kExitFailed = 1, kExitTempFail = 75, kExitNoPerm = 77 };

// The guard's questions, answered by the command line: nothing is asked, the options decide
// (--delete was the user's answer to the deletion). Its messages go to standard error, after
// the mailbox when several are checked.
class TCliPrompts : public TUnattendedPrompts
{
public:
    TCliPrompts()
        : TUnattendedPrompts(QStringLiteral("tarnwick-cli"),
                             Said("Cli", "If this is the certificate you expect, trust it with: tarnwick-cli "
                                            "mailbox set %1 --trust-fingerprint %2"))
    {
    }
};

QString MarkedLine(const TMessageListRow &row)
{
    return QStringLiteral("%1\t%2\t%3\n").arg(row.mark).arg(CleanLogField(row.sender), CleanLogField(row.subject));
}

QString FailureName(TFailureClass failure)
{
    switch (failure) {
    case TFailureClass::None: break;
    case TFailureClass::Temporary: return QStringLiteral("temporary");
    case TFailureClass::Permanent: return QStringLiteral("permanent");
    case TFailureClass::Other: return QStringLiteral("other");
    }
    return QString();
}

QJsonArray MessageNumbers(const QList<int> &indexes)
{
    QJsonArray numbers;
    for (int index : indexes)
        numbers.append(index + 1);
    return numbers;
}

// One mailbox's part of check --json: its rows as listed and marked, what went, the error. The
// date is the Date field as sent, not the list's date in this machine's locale.
QJsonObject CheckJson(int slot, const MailboxSlot &box, const TTaskResult &result, TFailureClass failure,
                      const QStringList &errors)
{
    QJsonArray messages;
    for (qsizetype i = 0; i < result.rows.size(); ++i) {
        const TMessageListRow &row = result.rows.at(i);
        QJsonObject message{{"number", int(i + 1)},     {"mark", row.mark},    {"sender", row.sender},
                            {"subject", row.subject},   {"date", GetFieldValue(row.headers, QStringLiteral("Date"))},    {"size", row.sizeText.toLongLong()}};
        // Row i is listed message i: its id comes from the same listing.
        if (i < result.listing.messages.size() && !result.listing.messages.at(i).uid.isEmpty())
            message.insert(QStringLiteral("uid"), result.listing.messages.at(i).uid);
        messages.append(message);
    }
    QJsonObject json{{"slot", slot},
                     {"server", box.server},
                     {"user", box.mailbox},
                     {"ok", failure == TFailureClass::None},
                     {"messages", messages},
                     {"deleted", MessageNumbers(result.deleted)},
                     {"changed", MessageNumbers(result.changed)}};
    if (failure != TFailureClass::None) {
        json.insert(QStringLiteral("failure"), FailureName(failure));
        // In English whatever the desktop's language, as the log has it: scripts compare it.
        QStringList english;
        for (const QString &error : errors.isEmpty() ? QStringList{result.text} : errors)
            english << LoggedWording(error);
        json.insert(QStringLiteral("error"), english.join(u'\n'));
    }
    if (!result.notice.isEmpty())
        json.insert(QStringLiteral("notice"), LoggedWording(result.notice));
    return json;
}

int Check(const QCommandLineParser &p)
{
    int slot = 0;
    const bool remove = p.isSet(QStringLiteral("delete"));
    const bool all = p.isSet(QStringLiteral("all"));
    const bool json = p.isSet(QStringLiteral("json"));
    if (!p.positionalArguments().isEmpty())
        return usage(Said("Cli", "check: unknown argument %1").arg(p.positionalArguments().first()));
    if (p.isSet(QStringLiteral("slot")) && (all || !ParseSlot(p.value(QStringLiteral("slot")), slot)))
        return usage(all ? Said("Cli", "check takes --slot or --all, not both")
                         : Said("Cli", "--slot needs a mailbox number from 1 to %1").arg(kMailboxSlots));

    // Only which mailboxes there are: the check's own reading looks the secrets up.
    const ServerSettings servers = readServerSettings(UserSettings(), nullptr, SecretLookup::FileOnly);
    QList<int> chosen;
    for (int n = 1; n <= kMailboxSlots && all; ++n)
        if (!servers.slot(n).server.trimmed().isEmpty() && !servers.slot(n).mailbox.isEmpty())
            chosen << n;
    if (!all)
        chosen << (slot != 0 ? slot : std::clamp(servers.which, 1, kMailboxSlots));

    TCliPrompts prompts;
    TUnattendedCheck run;
    for (const QString &problem : run.Load())
        err(problem);
    QJsonArray mailboxes;
    QList<TFailureClass> failures;
    // Checking nothing is no success: a timer would never tell that the set-up was lost.
    if (all && chosen.isEmpty()) {
        err(Said("Cli", "error: No mailbox is set up. Add one with: tarnwick-cli mailbox set 1 --server HOST "
                           "--user NAME --password-stdin"));
        failures << TFailureClass::Other;
    }
    // Every mailbox at once, told in mailbox order as if one after another; a failure does
    // not stop the rest.
    int errorsBefore = 0;
    const auto starting = [&](int n) {
        prompts.prefix = all ? QStringLiteral("mailbox %1: ").arg(n) : QString();
        prompts.texts.clear();
        errorsBefore = prompts.errors;
    };
    // Nobody confirms here: with --delete the marked messages go in the listing's own session.
    const auto checked = [&](int n, const TTaskResult &result) {
        if (!TUnattendedCheck::IsSetUp(servers.slot(n)))
            err(Said("Cli", "Set the mailbox up with: tarnwick-cli mailbox set N --server HOST --user NAME "
                               "--password-stdin"));
        TFailureClass failure = ClassifyFailure(result);
        if (failure == TFailureClass::None && prompts.errors > errorsBefore)
            failure = TFailureClass::Other;
        if (!result.ok && prompts.texts.isEmpty())
            err(prompts.prefix + Said("Cli", "error: %1").arg(result.text));
        failures << failure;
        if (json) {
            mailboxes.append(CheckJson(n, servers.slot(n), result, failure, prompts.texts));
        }
        if (failure != TFailureClass::None)
            return;
        int marked = 0;
        for (const TMessageListRow &row : result.rows) {
            if (!json)
                out((all ? QStringLiteral("%1\t").arg(n) : QString()) + MarkedLine(row));
            if (TRuleEvaluator::IsMarkedForDeletion(row.mark))
                ++marked;
        }
        if (!remove)
            return;
        if (marked == 0)
            err(prompts.prefix + Said("Cli", "No messages are marked for deletion."));
        else
            err(prompts.prefix
                + Said("Cli", "Deleted %1 of %2 marked messages.").arg(result.deleted.size()).arg(marked));
        if (!result.notice.isEmpty())
            err(prompts.prefix + result.notice);
    };
    run.CheckAll(chosen, remove, prompts, starting, checked);
    if (json)
        outJson(QJsonDocument(QJsonObject{{"mailboxes", mailboxes}}));
    // Trying again helps only when every failure was one that passes.
    if (failures.contains(TFailureClass::Permanent))
        return kExitNoPerm;
    if (failures.contains(TFailureClass::Other))
        return kExitFailed;
    if (failures.contains(TFailureClass::Temporary))
        return kExitTempFail;
    return 0;
}

int Classify(const QCommandLineParser &p)
{
    const QStringList files = p.positionalArguments();
    if (files.isEmpty())
        return usage(Said("Cli", "classify: no message files given"));
    return ClassifyFiles(DataFolder(), files, p.isSet(QStringLiteral("why")), out, [](const QString &text) { err(text); });
}

// Text from a message, made harmless for a terminal: control characters (escape sequences
// above all) become "?"; tabs stay where tabs may stand.
QString TerminalText(const QString &text, bool keepTabs)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !(keepTabs && u == u'\t')) || (u >= 0x7F && u <= 0x9F)
            || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            c = u'?';
    }
    return out;
}

QString AddressText(const TmsMailAddress &address)
{
    QString name = address.Name();
    // A name with a comma in it would read as two recipients.
    if (name.contains(u',') || name.contains(u'"'))
        name = u'"' + name.replace(u'"', QStringLiteral("\\\"")) + u'"';
    if (name.isEmpty())
        return address.Address();
    if (address.Address().isEmpty())
        return name;
    return name + QStringLiteral(" <") + address.Address() + u'>';
}

QString AddressListText(const TmsAddressList &list)
{
    QStringList items;
    for (int i = 0; i < list.Count(); ++i)
        items.append(AddressText(list.Item(i)));
    return items.join(QStringLiteral(", "));
}

// Writes data into dir under name, or under "name (1).ext", "name (2).ext", ... when that is
// taken. The file is created exclusively, so neither an existing file nor a link planted under
// the name is ever written through. Returns the path written, or empty with errorText set.
QString SaveAttachment(const QDir &dir, const QString &name, const QByteArray &data, QString &errorText)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    for (int n = 0; n < 1000; ++n) {
        const QString candidate = n == 0 ? name : QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(ext);
        const QString path = dir.filePath(candidate);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
                continue;
            errorText = Said("Cli", "cannot create %1: %2").arg(path, file.errorString());
            return {};
        }
        if (file.write(data) != data.size() || !file.flush()) {
            errorText = Said("Cli", "cannot write %1: %2").arg(path, file.errorString());
            file.close();
            file.remove();
            return {};
        }
        file.close();
        return path;
    }
    errorText = Said("Cli", "%1 and 999 numbered copies of it exist already in %2; clean up the folder or "
                               "choose another one")
                    .arg(name, dir.path());
    return {};
}

// Writes every attachment into saveDir; false when any of them could not be written.
// With saved given, the paths written are collected there instead of printed.
bool SaveAttachments(const TmsMessage &message, const QString &saveDir, QStringList *saved = nullptr)
{
    if (!QDir().mkpath(saveDir)) {
        err(Said("Cli", "cannot create the folder %1; check the path and your permissions").arg(saveDir));
        return false;
    }
    const QDir dir(saveDir);
    bool ok = true;
    for (int i = 0; i < message.Attachments().Count(); ++i) {
        const TmsAttItem &item = message.Attachments().Item(i);
        // The parser cleans names already; cleaning again keeps a name from anywhere else safe.
        QString name = SafeAttachmentFileName(item.FileName());
        if (name.isEmpty())
            name = QStringLiteral("att.%1").arg(i);
        QString errorText;
        const QString path = SaveAttachment(dir, name, item.Data(), errorText);
        if (path.isEmpty()) {
            err(errorText);
            ok = false;
        } else if (saved) {
            saved->append(path);
        } else {
            out(QStringLiteral("Saved\t%1\n").arg(TerminalText(path, false)));
        }
    }
    return ok;
}

// show --json: the header fields, the body and the attachments as they are (JSON escapes what
// a terminal must not see), and the files written with --save-attachments.
int ShowJson(const TmsMessage &message, const QString &saveDir)
{
    auto addresses = [](const TmsAddressList &list) {
        QJsonArray items;
        for (int i = 0; i < list.Count(); ++i)
            items.append(AddressText(list.Item(i)));
        return items;
    };
    QJsonArray attachments;
    for (const TmsAttItem &item : message.Attachments())
        attachments.append(QJsonObject{
            {"name", item.FileName()}, {"contentType", item.ContentType()}, {"size", item.Data().size()}});
    QJsonObject json{{"from", AddressText(message.Sender())},
                     {"to", addresses(message.Recipients())},
                     {"cc", addresses(message.CC())},
                     {"subject", message.Subject()},
                     {"date", GetFieldValue(message.Headers(), QStringLiteral("Date"))},
                     {"body", message.Body().join(u'\n')},
                     {"attachments", attachments}};
    bool ok = true;
    if (!saveDir.isEmpty()) {
        QStringList saved;
        ok = SaveAttachments(message, saveDir, &saved);
        json.insert(QStringLiteral("saved"), QJsonArray::fromStringList(saved));
    }
    outJson(QJsonDocument(json));
    return ok ? 0 : 1;
}

int Show(const QCommandLineParser &p)
{
    const QStringList files = p.positionalArguments();
    const bool json = p.isSet(QStringLiteral("json"));
    const QString saveDir = p.value(QStringLiteral("save-attachments"));
    if (p.isSet(QStringLiteral("save-attachments")) && saveDir.isEmpty())
        return usage(Said("Cli", "--save-attachments needs a folder"));
    if (files.size() > 1)
        return usage(Said("Cli", "show takes one message file"));
    if (files.isEmpty())
        return usage(Said("Cli", "show: no message file given"));
    const QString fileName = files.first();

    TmsMessage message;
    QString parserError;
    QString failure;
    try {
        LoadFromFile(message, fileName, &parserError);
    } catch (const EMessageError &error) {
        // The header is read before the body, so who and what are known even when a body
        // fails to decode; a file that cannot be opened has no header at all.
        if (message.Headers().isEmpty()) {
            err(QStringLiteral("%1: %2").arg(fileName, error.Message()));
            return 1;
        }
        failure = error.Message();
    }

    if (json)
        return ShowJson(message, saveDir);

    QString text;
    text += Said("Cli", "From: %1\n").arg(TerminalText(AddressText(message.Sender()), false));
    text += QStringLiteral("To: %1\n").arg(TerminalText(AddressListText(message.Recipients()), false));
    if (message.CC().Count() > 0)
        text += QStringLiteral("Cc: %1\n").arg(TerminalText(AddressListText(message.CC()), false));
    text += Said("Cli", "Subject: %1\n").arg(TerminalText(message.Subject(), false));
    text += Said("Cli", "Date: %1\n").arg(TerminalText(GetFieldValue(message.Headers(), QStringLiteral("Date")), false));
    text += u'\n';
    QStringList body = message.Body();
    if (!parserError.isEmpty()) {
        // The parser has put its explanation at the end of the body: it comes right after the
        // header fields, before whatever was read.
        const QStringList explanation = body.mid(std::max<qsizetype>(0, body.size() - 3));
        body = body.mid(0, body.size() - explanation.size());
        for (const QString &line : explanation)
            text += TerminalText(line, false) + u'\n';
        if (!body.isEmpty())
            text += u'\n';
    } else if (!failure.isEmpty()) {
        text += Said("Cli", "The body could not be read: %1\n\n").arg(TerminalText(failure, false));
    }
    for (const QString &line : body)
        text += TerminalText(line, true) + u'\n';
    if (message.Attachments().Count() > 0)
        text += u'\n';
    for (const TmsAttItem &item : message.Attachments())
        text += QStringLiteral("Attachment\t%1\t%2\t%3 bytes\n")
                    .arg(TerminalText(item.FileName(), false), TerminalText(item.ContentType(), false))
                    .arg(item.Data().size());
    out(text);

    const bool broken = !parserError.isEmpty() || !failure.isEmpty();
    if (broken) {
        // The explanation also goes to the error output, for scripts that only look there.
        err(QStringLiteral("%1: %2").arg(fileName, TerminalText(failure.isEmpty() ? parserError : failure, false)));
        if (saveDir.isEmpty() && !parserError.isEmpty())
            err(Said("Cli", "(add --save-attachments DIR to write the original message and any attachments read "
                               "before the error)"));
    }
    if (saveDir.isEmpty())
        return broken ? 1 : 0;
    return SaveAttachments(message, saveDir) && !broken ? 0 : 1;
}

// The options each command takes besides --data and --help; false for a command there is not.
bool AddCommandOptions(const QString &command, QCommandLineParser &p)
{
    auto flag = [&p](const char *name) { p.addOption({QString::fromLatin1(name), QString()}); };
    auto valued = [&p](const char *name) {
        p.addOption({QString::fromLatin1(name), QString(), QStringLiteral("value")});
    };
    if (command == u"check") {
        valued("slot");
        for (const char *name : {"all", "delete", "json"})
            flag(name);
    } else if (command == u"mailbox") {
        for (const char *name : {"server", "user", "tls", "trust-fingerprint", "store", "password-command", "token-command",
                                 "auth", "provider"})
            valued(name);
        flag("password-stdin");
        flag("json");
        for (const char *name : kImapValuedOptions)
            valued(name);
        for (const char *name : kImapFlagOptions)
            flag(name);
    } else if (command == u"classify") {
        flag("why");
    } else if (command == u"show") {
        valued("save-attachments");
        flag("json");
    } else if (command == u"rules") {
        AddRulesOptions(p);
    } else {
        return false;
    }
    return true;
}

// The parser's complaint in this program's words: what is unknown, or what a value-taking
// option at the end lacks.
QString ParseProblem(const QString &command, const QCommandLineParser &p, const QStringList &args)
{
    if (!p.unknownOptionNames().isEmpty()) {
        const QString name = p.unknownOptionNames().first();
        return Said("Cli", "%1: unknown option %2%3").arg(command, name.size() == 1 ? "-" : "--", name);
    }
    static const QHash<QString, QString> kNeeds{
        {"--data", "a folder"},       {"--save-attachments", "a folder"}, {"--slot", "a mailbox number"},
        {"--server", "a host name"},  {"--user", "a user name"},          {"--tls", "none, implicit or stls"},
        {"--trust-fingerprint", "the certificate's fingerprint"},          {"--kind", "a kind of rule"},
        {"--op", "an operator"},      {"--mailbox", "a mailbox number"},  {"--picture", "a picture number"},
        {"--store", "keyring or file"}, {"--password-command", "a command line"}, {"--token-command", "a command line"},
        {"--protocol", "pop3 or imap"}, {"--folder", "a folder name"}, {"--imap-delete", "junk, trash or delete"},
        {"--junk-folder", "a folder name"}, {"--trash-folder", "a folder name"}, {"--max-unseen", "a number"},
        {"--auth", "password or oauth2"}, {"--provider", "google or microsoft"}};
    if (!args.isEmpty() && kNeeds.contains(args.last()))
        return QStringLiteral("%1 needs %2").arg(args.last(), kNeeds.value(args.last()));
    return QStringLiteral("%1: %2").arg(command, p.errorText());
}

QString HelpText(const QCommandLineParser &top)
{
    return top.helpText()
         + QCoreApplication::translate("Cli", kCommands).arg(QCoreApplication::translate("Cli", kRulesHelp));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The messages in the language of the desktop, as the window has them.
    InstallTranslators(QLocale::system(), &app);
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));

    const QCommandLineOption dataOption(QStringLiteral("data"),
                                        Said("Cli", "The data folder (settings.ini, rule lists, known.lst, log); "
                                                       "default: $TARNWICK_HOME, else the program's data folder."),
                                        QStringLiteral("DIR"));
    QCommandLineParser top;
    top.setApplicationDescription(Said("Cli",
        "Tarnwick without a window: checks and cleans mailboxes, sets them up, keeps the rules."));
    const QCommandLineOption helpOption = top.addHelpOption();
    const QCommandLineOption versionOption = top.addVersionOption();
    top.addOption(dataOption);
    top.addPositionalArgument(QStringLiteral("command"), Said("Cli", "check, mailbox, classify, show or rules"),
                              QStringLiteral("COMMAND ..."));
    // What follows the command is the command's own.
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(app.arguments()))
        return usage(top.errorText());
    if (top.isSet(helpOption) || top.isSet(QStringLiteral("help-all"))) {
        out(HelpText(top));
        return 0;
    }
    if (top.isSet(versionOption)) {
        out(QStringLiteral("tarnwick-cli %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    QStringList args = top.positionalArguments();
    if (args.isEmpty())
        return usage(Said("Cli", "no command given"));
    const QString command = args.takeFirst();
    // Refused before anything else, also where the option is unknown: the line may already be
    // in a shell history, and the user should learn the safe way at once.
    for (const QString &arg : args) {
        if (arg == u"--")
            break;
        if (arg == u"--password" || arg.startsWith(QStringLiteral("--password=")))
            return usage(Said("Cli", "a password is never given on the command line (other users can see it "
                                        "there): use --password-stdin"));
    }

    QCommandLineParser p;
    p.addOption(dataOption);
    p.addOption(helpOption);
    if (!AddCommandOptions(command, p))
        return usage(Said("Cli", "unknown command %1").arg(command));
    if (!p.parse(QStringList{app.arguments().first()} + args))
        return usage(ParseProblem(command, p, args));
    if (p.isSet(helpOption)) {
        out(HelpText(top));
        return 0;
    }
    const QString dataDir = p.isSet(dataOption) ? p.value(dataOption) : top.value(dataOption);
    QStringList positional = p.positionalArguments();
    const bool setting = command == u"mailbox" && positional.value(0) == u"set";

    if (!dataDir.isEmpty()) {
        // Only setting a mailbox up may start a new data folder; anything else with a folder
        // that is not there is a typing error, not an empty setup.
        if (!QFileInfo(dataDir).isDir() && !(setting && QDir().mkpath(dataDir)))
            return usage(Said("Cli", "no data folder %1").arg(dataDir));
        qputenv("TARNWICK_HOME", QFile::encodeName(QFileInfo(dataDir).absoluteFilePath()));
    }

    // Before anything reads a setting or a rule list: the first builds kept them elsewhere, and
    // a user who only runs the timer after an upgrade must not start with no mailboxes.
    const FolderMove moved = MoveOldFolders();
    if (!moved.moved.isEmpty() || !moved.problems.isEmpty()) {
        ActivityLog log;
        log.setFileName(ReadGeneralSettings(UserSettings()).logFile);
        for (const QString &text : moved.moved + moved.problems)
            log.logFolderMove(text);
        for (const QString &text : moved.problems)
            err(text);
    }
    {
        UserSettings settings;
        const SecretMove secrets = MoveScrambledPasswordsToKeyring(settings);
        if (!secrets.moved.isEmpty() || !secrets.problem.isEmpty()) {
            ActivityLog log;
            log.setFileName(ReadGeneralSettings(settings).logFile);
            for (const QString &text : secrets.moved + QStringList(secrets.problem))
                if (!text.isEmpty())
                    log.logFolderMove(text);
        }
        if (!secrets.problem.isEmpty())
            err(Said("Cli", "warning: %1 To keep a password there and end this warning: tarnwick-cli mailbox set N "
                            "--store file")
                    .arg(secrets.problem));
    }

    if (command == u"check")
        return Check(p);
    if (command == u"mailbox") {
        if (positional.isEmpty())
            return usage(Said("Cli", "mailbox needs set, test or list"));
        const QString sub = positional.takeFirst();
        // An option of the other subcommand would be ignored without a word.
        QStringList allowed = sub == u"set"
            ? QStringList{"server", "user", "tls", "trust-fingerprint", "password-stdin", "store", "password-command",
                          "token-command", "auth", "provider"}
            : sub == u"test" ? QStringList{}
                             : QStringList{"json"};
        if (sub == u"set") {
            for (const char *name : kImapValuedOptions)
                allowed << QString::fromLatin1(name);
            for (const char *name : kImapFlagOptions)
                allowed << QString::fromLatin1(name);
        }
        for (const QString &name : p.optionNames())
            if (name != u"data" && !allowed.contains(name))
                return usage(Said("Cli", "mailbox %1 takes no --%2").arg(sub, name));
        if (sub == u"set")
            return MailboxSet(p, positional);
        if (sub == u"test")
            return MailboxTest(positional);
        if (sub == u"list" && positional.isEmpty())
            return MailboxList(p.isSet(QStringLiteral("json")));
        return usage(Said("Cli", "mailbox: unknown command %1").arg(sub));
    }
    if (command == u"classify")
        return Classify(p);
    if (command == u"show")
        return Show(p);
    return Rules(p);
}
