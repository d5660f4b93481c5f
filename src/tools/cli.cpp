// tarnwick-cli: the mail guard without a window, for people who run Tarnwick from cron or on
// a server. It checks a mailbox with the same code as the main window (same marks, same log
// entries, same hit counts), deletes the marked messages on request, sets up the mailboxes
// (the password from standard input only), classifies saved mail like tarnwick-classify and
// shows what a saved message holds without a mail program.

#include "classifycore.h"
#include "files.h"
#include "logformat.h"
#include "mailguard.h"
#include "mspars.h"
#include "tls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "Usage: tarnwick-cli [--data DIR] COMMAND ...\n"
    "\n"
    "  check [--slot N] [--delete]\n"
    "      Checks mailbox slot N (default: the one selected in the settings) and\n"
    "      prints one line per waiting message: mark, sender, subject, separated\n"
    "      by tabs. With --delete the messages marked for deletion (marks 0 and 2)\n"
    "      are deleted on the server without a question. Writes the activity log\n"
    "      and keeps the rules' hit counts, as a check in the window does.\n"
    "  mailbox set N [--server HOST[:PORT]] [--user NAME] [--tls none|implicit|stls]\n"
    "                [--trust-fingerprint HEX|none] [--password-stdin]\n"
    "      Stores mailbox slot N (1-12). The password is read from standard input\n"
    "      (one line), never from the command line. Options left out keep what\n"
    "      the slot had; a new slot needs a server, a user name and a password.\n"
    "  mailbox list\n"
    "      Shows the mailbox slots (never their passwords); * marks the selected one.\n"
    "  classify [--why] FILE...\n"
    "      Marks saved mail files with the rules, as tarnwick-classify does.\n"
    "  show FILE [--save-attachments DIR]\n"
    "      Prints a saved message: sender, recipients, subject, date, the text\n"
    "      body, and one line per attachment (name, content type, size in bytes),\n"
    "      separated by tabs. With --save-attachments the attachments are written\n"
    "      into DIR (created when missing) under their cleaned names; an existing\n"
    "      file is never replaced: the copy is named \"name (1).ext\" and so on.\n"
    "\n"
    "  --data DIR  the data folder (settings.ini, rule lists, known.lst, log);\n"
    "              default: $TARNWICK_HOME, else the program's data folder\n"
    "  --help      this text\n"
    "\n"
    "Marks: -1 none, 0 delete, 1 suspect, 2 blacklisted (delete), 3-14 accepted\n"
    "by an exception.\n"
    "Exit status: 0 on success, 1 when the command failed (the reason is on\n"
    "standard error), 2 on a usage error.\n";

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
    write(stderr, QString::fromLatin1(kUsage));
    return 2;
}

// The guard's questions, answered by the command line: nothing is asked, the options decide.
class TCliPrompts : public TPrompts
{
public:
    int errors = 0;

    void ErrorBox(const QString &text) override
    {
        ++errors;
        err(QStringLiteral("error: ") + text);
    }
    void InfoBox(const QString &text) override { err(text); }
    // Only a deletion asks, and --delete was the user's answer; nothing else is wanted.
    bool AskYesNo(const QString &) override { return false; }
    // The slot was chosen on the command line already.
    int ChooseMailbox(const QList<TMailboxEntry> &, int current) override { return current; }
    bool AskTrustCertificate(int slot, const QString &message, const QString &fingerprint) override
    {
        ++errors;
        err(QStringLiteral("error: ") + message);
        err(QStringLiteral("If this is the certificate you expect, trust it with: tarnwick-cli mailbox set %1 "
                           "--trust-fingerprint %2")
                .arg(slot)
                .arg(fingerprint));
        return false;
    }
};

QString MarkedLine(const TMessageListRow &row)
{
    return QStringLiteral("%1\t%2\t%3\n").arg(row.mark).arg(CleanLogField(row.sender), CleanLogField(row.subject));
}

bool ParseSlot(const QString &text, int &slot)
{
    bool ok = false;
    slot = text.toInt(&ok);
    return ok && slot >= 1 && slot <= kMailboxSlots;
}

int Check(const QStringList &args)
{
    int slot = 0;
    bool remove = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == u"--delete") {
            remove = true;
        } else if (arg == u"--slot" && i + 1 < args.size()) {
            if (!ParseSlot(args.at(++i), slot))
                return usage(QStringLiteral("--slot needs a mailbox number from 1 to %1").arg(kMailboxSlots));
        } else {
            return usage(QStringLiteral("check: unknown argument %1").arg(arg));
        }
    }

    TCliPrompts prompts;
    TMailGuard guard(prompts);
    QObject::connect(&guard, &TMailGuard::generalSettingsRequested, [] {
        err(QStringLiteral("Set the mailbox up with: tarnwick-cli mailbox set N --server HOST --user NAME "
                           "--password-stdin"));
    });
    guard.FormCreate();
    const int warningsAtStart = prompts.errors;
    // Unattended: no mail program, no leaving, no minute tick, no question before deleting.
    guard.General().launch = false;
    guard.General().exitAfterCheck = false;
    guard.General().ask = false;
    guard.General().automatic = false;
    guard.UpdateAutomaticCaptions(false, guard.General().minutes);
    if (slot != 0)
        guard.SelectMailbox(slot);

    if (!guard.btListClick() || prompts.errors > warningsAtStart)
        return 1;
    const TMessageListModel &rows = guard.Messages();
    for (int i = 0; i < rows.Count(); ++i)
        out(MarkedLine(rows.Row(i)));
    if (!remove)
        return 0;

    const int marked = rows.MarkedCount();
    if (marked == 0) {
        err(QStringLiteral("No messages are marked for deletion."));
        return 0;
    }
    const qint64 countBefore = guard.General().count;
    guard.btDeleteClick();
    const qint64 deleted = guard.General().count - countBefore;
    err(QStringLiteral("Deleted %1 of %2 marked messages.").arg(deleted).arg(marked));
    return prompts.errors > warningsAtStart ? 1 : 0;
}

// One line from standard input, without echo when it is a terminal.
bool ReadPassword(QString &password)
{
    const bool terminal = ::isatty(STDIN_FILENO);
    termios saved{};
    if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        write(stderr, QStringLiteral("Password: "));
    }
    std::string line;
    const bool got = bool(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        write(stderr, QStringLiteral("\n"));
    }
    if (!got && line.empty())
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    password = QString::fromStdString(line);
    return true;
}

bool HasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

QString TlsName(TlsMode mode)
{
    switch (mode) {
    case TlsMode::Implicit: return QStringLiteral("implicit");
    case TlsMode::StartTls: return QStringLiteral("stls");
    case TlsMode::None: break;
    }
    return QStringLiteral("none");
}

int MailboxSet(const QStringList &args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("mailbox set needs a slot number"));
    int n = 0;
    if (!ParseSlot(args.first(), n))
        return usage(QStringLiteral("mailbox set: the slot must be a number from 1 to %1").arg(kMailboxSlots));
    std::optional<QString> server, user, fingerprint;
    std::optional<TlsMode> tls;
    bool passwordFromStdin = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == u"--password-stdin") {
            passwordFromStdin = true;
        } else if (arg == u"--password" || arg.startsWith(QStringLiteral("--password="))) {
            return usage(QStringLiteral("a password is never given on the command line (other users can see it "
                                        "there): use --password-stdin"));
        } else if (arg == u"--server" && hasValue) {
            server = args.at(++i).trimmed();
        } else if (arg == u"--user" && hasValue) {
            user = args.at(++i);
        } else if (arg == u"--tls" && hasValue) {
            const QString mode = args.at(++i).toLower();
            if (mode == u"none")
                tls = TlsMode::None;
            else if (mode == u"implicit")
                tls = TlsMode::Implicit;
            else if (mode == u"stls" || mode == u"starttls")
                tls = TlsMode::StartTls;
            else
                return usage(QStringLiteral("--tls takes none, implicit or stls"));
        } else if (arg == u"--trust-fingerprint" && hasValue) {
            const QString given = args.at(++i);
            if (given.toLower() == u"none") {
                fingerprint = QString();
            } else {
                fingerprint = NormalizeFingerprint(given);
                if (fingerprint->isEmpty())
                    return usage(QStringLiteral("--trust-fingerprint needs the certificate's SHA-256 "
                                                "fingerprint: 64 hex digits, with or without colons"));
            }
        } else {
            return usage(QStringLiteral("mailbox set: unknown argument %1").arg(arg));
        }
    }
    if (server && (server->isEmpty() || HasLineBreakOrNul(*server) || server->contains(u' ')))
        return usage(QStringLiteral("--server needs a host name, optionally with :PORT"));
    if (user && (IsBlankText(*user) || HasLineBreakOrNul(*user)))
        return usage(QStringLiteral("--user needs the user name of the mailbox on the server"));

    UserSettings settings;
    if (settings.isDamaged()) {
        err(QStringLiteral("error: ") + settings.warning());
        return 1;
    }
    QStringList warnings;
    ServerSettings servers = readServerSettings(settings, &warnings);
    MailboxSlot &slot = servers.slot(n);
    const bool firstMailbox = n == 1 && slot.server.isEmpty() && slot.mailbox.isEmpty();
    if (server)
        slot.server = *server;
    if (user)
        slot.mailbox = *user;
    if (tls)
        slot.tls = *tls;
    if (fingerprint)
        slot.fingerprint = *fingerprint;
    if (passwordFromStdin) {
        QString password;
        if (!ReadPassword(password) || password.isEmpty()) {
            err(QStringLiteral("error: no password on standard input: give it as one line"));
            return 1;
        }
        if (HasLineBreakOrNul(password)) {
            err(QStringLiteral("error: the password must not contain line breaks or NUL characters"));
            return 1;
        }
        slot.password = password;
    }
    if (const std::optional<SlotProblem> problem = CheckMailboxSlot(slot, n)) {
        err(QStringLiteral("error: ") + problem->message + QStringLiteral(
                ": give --server, --user and --password-stdin for a new mailbox"));
        return 1;
    }
    const ServerSaveResult saved = saveServerSettings(settings, servers);
    if (saved.problem) {
        err(QStringLiteral("error: ") + saved.problem->message
            + QStringLiteral(": put that mailbox right first (tarnwick-cli mailbox set %1 ...)").arg(saved.problem->slot));
        return 1;
    }
    if (!saved.error.isEmpty()) {
        err(QStringLiteral("error: ") + saved.error);
        return 1;
    }
    // What the settings window does on its first showing: a log to write into, and the
    // per-mailbox rule for the first mailbox.
    if (!settings.value(SettingsSection::General, QStringLiteral("Logfile"))) {
        if (!settings.writeString(SettingsSection::General, QStringLiteral("Logfile"), DefaultLogFileName())
            || !settings.flush())
            err(QStringLiteral("warning: no activity log was set up: ") + settings.lastError());
    }
    if (firstMailbox) {
        TSpamSettings spam;
        spam.readSettings();
        QString error;
        if (!spam.AddFirstRunHeaderRule(slot.mailbox, &error))
            err(QStringLiteral("warning: the rule for mail not addressed to %1 was not stored: %2")
                    .arg(slot.mailbox, error));
    }
    out(QStringLiteral("Mailbox %1 stored: %2 on %3, security %4%5\n")
            .arg(n)
            .arg(slot.mailbox, slot.server, TlsName(slot.tls),
                 slot.fingerprint.isEmpty() ? QString()
                                            : QStringLiteral(", trusted certificate ") + FormatFingerprint(slot.fingerprint)));
    return 0;
}

int MailboxList()
{
    UserSettings settings;
    if (!settings.warning().isEmpty())
        err(QStringLiteral("warning: ") + settings.warning());
    QStringList warnings;
    const ServerSettings servers = readServerSettings(settings, &warnings);
    for (const QString &w : warnings)
        err(QStringLiteral("warning: ") + w);
    bool any = false;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (slot.server.isEmpty() && slot.mailbox.isEmpty())
            continue;
        any = true;
        out(QStringLiteral("%1%2\t%3\t%4\t%5\t%6\t%7\n")
                .arg(n)
                .arg(n == servers.which ? QStringLiteral("*") : QString(), slot.server, slot.mailbox, TlsName(slot.tls),
                     slot.password.isEmpty() ? QStringLiteral("no password") : QStringLiteral("password set"),
                     slot.fingerprint.isEmpty() ? QStringLiteral("-") : FormatFingerprint(slot.fingerprint)));
    }
    if (!any)
        err(QStringLiteral("No mailbox is set up. Add one with: tarnwick-cli mailbox set 1 --server HOST "
                           "--user NAME --password-stdin"));
    return 0;
}

int Classify(const QStringList &args)
{
    ClassifyArguments request;
    for (const QString &arg : args) {
        if (!request.Take(arg))
            return usage(QStringLiteral("classify: unknown option %1").arg(arg));
    }
    if (request.files.isEmpty())
        return usage(QStringLiteral("classify: no message files given"));
    return ClassifyFiles(DataFolder(), request.files, request.why, out, [](const QString &text) { err(text); });
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
            errorText = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
            return {};
        }
        if (file.write(data) != data.size() || !file.flush()) {
            errorText = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            file.close();
            file.remove();
            return {};
        }
        file.close();
        return path;
    }
    errorText = QStringLiteral("%1 and 999 numbered copies of it exist already in %2; clean up the folder or "
                               "choose another one")
                    .arg(name, dir.path());
    return {};
}

// Writes every attachment into saveDir; false when any of them could not be written.
bool SaveAttachments(const TmsMessage &message, const QString &saveDir)
{
    if (!QDir().mkpath(saveDir)) {
        err(QStringLiteral("cannot create the folder %1; check the path and your permissions").arg(saveDir));
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
        } else {
            out(QStringLiteral("Saved\t%1\n").arg(TerminalText(path, false)));
        }
    }
    return ok;
}

int Show(const QStringList &args)
{
    QString fileName;
    QString saveDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == u"--save-attachments") {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("--save-attachments needs a folder"));
            saveDir = args.at(++i);
        } else if (arg.startsWith(QStringLiteral("--save-attachments="))) {
            saveDir = arg.mid(19);
            if (saveDir.isEmpty())
                return usage(QStringLiteral("--save-attachments needs a folder"));
        } else if (arg.startsWith(u'-') && arg != u"-") {
            return usage(QStringLiteral("show: unknown option %1").arg(arg));
        } else if (fileName.isEmpty()) {
            fileName = arg;
        } else {
            return usage(QStringLiteral("show takes one message file"));
        }
    }
    if (fileName.isEmpty())
        return usage(QStringLiteral("show: no message file given"));

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

    QString text;
    text += QStringLiteral("From: %1\n").arg(TerminalText(AddressText(message.Sender()), false));
    text += QStringLiteral("To: %1\n").arg(TerminalText(AddressListText(message.Recipients()), false));
    if (message.CC().Count() > 0)
        text += QStringLiteral("Cc: %1\n").arg(TerminalText(AddressListText(message.CC()), false));
    text += QStringLiteral("Subject: %1\n").arg(TerminalText(message.Subject(), false));
    text += QStringLiteral("Date: %1\n").arg(TerminalText(GetFieldValue(message.Headers(), QStringLiteral("Date")), false));
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
        text += QStringLiteral("The body could not be read: %1\n\n").arg(TerminalText(failure, false));
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
            err(QStringLiteral("(add --save-attachments DIR to write the original message and any attachments read "
                               "before the error)"));
    }
    if (saveDir.isEmpty())
        return broken ? 1 : 0;
    return SaveAttachments(message, saveDir) && !broken ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    // --data may stand anywhere before a "--".
    QString dataDir;
    for (qsizetype i = 0; i < args.size();) {
        const QString arg = args.at(i);
        if (arg == u"--")
            break;
        if (arg == u"--help" || arg == u"-h") {
            write(stdout, QString::fromLatin1(kUsage));
            return 0;
        }
        if (arg == u"--data") {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("--data needs a folder"));
            dataDir = args.at(i + 1);
            args.remove(i, 2);
        } else if (arg.startsWith(QStringLiteral("--data="))) {
            dataDir = arg.mid(7);
            args.remove(i);
        } else {
            ++i;
        }
    }
    if (args.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    const bool setting = command == u"mailbox" && !args.isEmpty() && args.first() == u"set";

    if (!dataDir.isEmpty()) {
        // Only setting a mailbox up may start a new data folder; anything else with a folder
        // that is not there is a typing error, not an empty setup.
        if (!QFileInfo(dataDir).isDir() && !(setting && QDir().mkpath(dataDir)))
            return usage(QStringLiteral("no data folder %1").arg(dataDir));
        qputenv("TARNWICK_HOME", QFile::encodeName(QFileInfo(dataDir).absoluteFilePath()));
    }

    if (command == u"check")
        return Check(args);
    if (command == u"mailbox") {
        if (args.isEmpty())
            return usage(QStringLiteral("mailbox needs set or list"));
        const QString sub = args.takeFirst();
        if (sub == u"set")
            return MailboxSet(args);
        if (sub == u"list" && args.isEmpty())
            return MailboxList();
        return usage(QStringLiteral("mailbox: unknown command %1").arg(sub));
    }
    if (command == u"classify")
        return Classify(args);
    if (command == u"show")
        return Show(args);
    return usage(QStringLiteral("unknown command %1").arg(command));
}
