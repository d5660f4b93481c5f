// tarnwick-cli mailbox: the mailbox slots set up and listed without a window; the password
// only ever comes from standard input.

#include "clitool.h"
#include "files.h"
#include "logformat.h"
#include "mailboxsetup.h"
#include "settings.h"
#include "spamsettings.h"
#include "tls.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace cli {

namespace {

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

} // namespace

// args: the slot number after "set"; the rest comes from the parser's options.
int MailboxSet(const QCommandLineParser &p, const QStringList &args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("mailbox set needs a slot number"));
    int n = 0;
    if (!ParseSlot(args.first(), n))
        return usage(QStringLiteral("mailbox set: the slot must be a number from 1 to %1").arg(kMailboxSlots));
    if (args.size() > 1)
        return usage(QStringLiteral("mailbox set: unknown argument %1").arg(args.at(1)));
    std::optional<QString> server, user, fingerprint;
    std::optional<TlsMode> tls;
    const bool passwordFromStdin = p.isSet(QStringLiteral("password-stdin"));
    if (p.isSet(QStringLiteral("server")))
        server = p.value(QStringLiteral("server")).trimmed();
    if (p.isSet(QStringLiteral("user")))
        user = p.value(QStringLiteral("user"));
    if (p.isSet(QStringLiteral("tls"))) {
        const QString mode = p.value(QStringLiteral("tls")).toLower();
        if (mode == u"none")
            tls = TlsMode::None;
        else if (mode == u"implicit")
            tls = TlsMode::Implicit;
        else if (mode == u"stls" || mode == u"starttls")
            tls = TlsMode::StartTls;
        else
            return usage(QStringLiteral("--tls takes none, implicit or stls"));
    }
    if (p.isSet(QStringLiteral("trust-fingerprint"))) {
        const QString given = p.value(QStringLiteral("trust-fingerprint"));
        if (given.toLower() == u"none") {
            fingerprint = QString();
        } else {
            fingerprint = NormalizeFingerprint(given);
            if (fingerprint->isEmpty())
                return usage(QStringLiteral("--trust-fingerprint needs the certificate's SHA-256 "
                                            "fingerprint: 64 hex digits, with or without colons"));
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
    const MailboxSlot before = slot;
    TFirstRun firstRun(servers);
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
    const QString logFile = ReadGeneralSettings(settings).logFile;
    if (const QString wanted = LogFileOrDefault(logFile); wanted != logFile) {
        if (!settings.writeString(SettingsSection::General, QStringLiteral("Logfile"), wanted) || !settings.flush())
            err(QStringLiteral("warning: no activity log was set up: ") + settings.lastError());
    }
    QString ruleNote;
    if (firstRun.Pending()) {
        TSpamSettings spam;
        spam.readSettings();
        QString error;
        const QString user = servers.slot(1).mailbox; // blank while another slot is set up
        switch (firstRun.AddHeaderRule(user, spam, &error)) {
        case TFirstRun::Rule::Waiting: break;
        case TFirstRun::Rule::Added: ruleNote = QStringLiteral("; ") + FirstMailboxRuleText(user); break;
        case TFirstRun::Rule::Failed:
            err(QStringLiteral("warning: the rule for mail not addressed to %1 was not stored: %2").arg(user, error));
            break;
        }
    }
    if (const QString notice = PlainPasswordNotice(before, slot, n); !notice.isEmpty())
        err(QStringLiteral("warning: ") + notice);
    out(QStringLiteral("Mailbox %1 stored: %2 on %3, security %4%5%6\n")
            .arg(n)
            .arg(slot.mailbox, slot.server, TlsName(slot.tls),
                 slot.fingerprint.isEmpty() ? QString()
                                            : QStringLiteral(", trusted certificate ") + FormatFingerprint(slot.fingerprint),
                 ruleNote));
    return 0;
}

int MailboxList(bool json)
{
    UserSettings settings;
    if (!settings.warning().isEmpty())
        err(QStringLiteral("warning: ") + settings.warning());
    QStringList warnings;
    const ServerSettings servers = readServerSettings(settings, &warnings);
    for (const QString &w : warnings)
        err(QStringLiteral("warning: ") + w);
    QJsonArray chosen;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (slot.server.isEmpty() && slot.mailbox.isEmpty())
            continue;
        // Whether a password is set, never the password.
        chosen.append(QJsonObject{{"slot", n},
                                 {"selected", n == servers.which},
                                 {"server", slot.server},
                                 {"user", slot.mailbox},
                                 {"tls", TlsName(slot.tls)},
                                 {"passwordSet", !slot.password.isEmpty()},
                                 {"fingerprint", slot.fingerprint.isEmpty() ? QJsonValue() : QJsonValue(slot.fingerprint)},
                                 {"pipelining", slot.pipelining}});
        if (!json)
            out(QStringLiteral("%1%2\t%3\t%4\t%5\t%6\t%7\n")
                    .arg(n)
                    .arg(n == servers.which ? QStringLiteral("*") : QString(), slot.server, slot.mailbox,
                         TlsName(slot.tls),
                         slot.password.isEmpty() ? QStringLiteral("no password") : QStringLiteral("password set"),
                         slot.fingerprint.isEmpty() ? QStringLiteral("-") : FormatFingerprint(slot.fingerprint)));
    }
    if (json)
        outJson(QJsonDocument(QJsonObject{{"mailboxes", chosen}}));
    if (chosen.isEmpty())
        err(QStringLiteral("No mailbox is set up. Add one with: tarnwick-cli mailbox set 1 --server HOST "
                           "--user NAME --password-stdin"));
    return 0;
}

} // namespace cli
