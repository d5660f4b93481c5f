// tarnwick-cli mailbox: the mailbox slots set up and listed without a window; the password
// only ever comes from standard input or from a command the user names, and goes to the
// desktop keyring unless the user chose the settings file.

#include "clitool.h"
#include "connectiontest.h"
#include "files.h"
#include "logformat.h"
#include "mailboxsetup.h"
#include "oauth.h"
#include "secrets.h"
#include "settings.h"
#include "spamsettings.h"
#include "tls.h"
#include "wording.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

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

QString ProtocolName(MailProtocol protocol)
{
    return protocol == MailProtocol::Imap ? QStringLiteral("imap") : QStringLiteral("pop3");
}

// The IMAP options of "mailbox set" applied to slot; empty, or what is wrong with them.
QString ApplyImapOptions(const QCommandLineParser &p, MailboxSlot &slot)
{
    const auto given = [&p](const char *name) { return p.isSet(QString::fromLatin1(name)); };
    const auto value = [&p](const char *name) { return p.value(QString::fromLatin1(name)); };
    if (given("protocol")) {
        const QString name = value("protocol").toLower();
        if (name != u"pop3" && name != u"imap")
            return Said("Cli", "--protocol takes pop3 or imap");
        slot.protocol = name == u"imap" ? MailProtocol::Imap : MailProtocol::Pop3;
    }
    for (const auto &[name, folder] : {std::pair{"folder", &slot.folder}, std::pair{"junk-folder", &slot.junkFolder},
                                       std::pair{"trash-folder", &slot.trashFolder}}) {
        if (!given(name))
            continue;
        const QString text = value(name);
        if (IsBlankText(text) || HasLineBreakOrNul(text))
            return Said("Cli", "--%1 needs the name of a folder on the server").arg(QString::fromLatin1(name));
        *folder = text;
    }
    if (given("imap-delete")) {
        const std::optional<ImapDeletion> deletion = ImapDeletionFromName(value("imap-delete"));
        if (!deletion)
            return Said("Cli", "--imap-delete takes junk, trash or delete");
        slot.imapDelete = *deletion;
    }
    if (given("max-unseen")) {
        bool ok = false;
        const int most = value("max-unseen").trimmed().toInt(&ok);
        if (!ok || most < 1 || most > kMostMaxUnseen)
            return Said("Cli", "--max-unseen takes a number from 1 to %1").arg(kMostMaxUnseen);
        slot.maxUnseen = most;
    }
    if (given("whole-folder") && given("unseen-only"))
        return Said("Cli", "give one of --whole-folder and --unseen-only");
    if (given("whole-folder") || given("unseen-only"))
        slot.wholeFolder = given("whole-folder");
    return {};
}

QString PlaceText(const MailboxSlot &slot)
{
    const Said secret = slot.login == MailboxLogin::OAuth2 ? Said("Cli", "token") : Said("Cli", "password");
    switch (slot.secrets) {
    case SecretPlace::Keyring: return Said("Cli", "; %1 in the desktop keyring").arg(secret);
    case SecretPlace::Command: return Said("Cli", "; %1 from a command at each log-in").arg(secret);
    case SecretPlace::File:
    case SecretPlace::Unchosen: break;
    }
    return {};
}

// Shows the address to open and hands it to the desktop's browser where there is a desktop.
void OpenSignInPage(const QUrl &address)
{
    err(Said("Cli", "Open this address in a browser to sign in and allow Tarnwick to read your mail:"));
    write(stderr, address.toString(QUrl::FullyEncoded) + QStringLiteral("\n"));
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {address.toString(QUrl::FullyEncoded)}))
        err(Said("Cli", "(no browser could be started here: open the address on this computer by hand)"));
}

} // namespace

// args: the slot number after "set"; the rest comes from the parser's options.
int MailboxSet(const QCommandLineParser &p, const QStringList &args)
{
    if (args.isEmpty())
        return usage(Said("Cli", "mailbox set needs a slot number"));
    int n = 0;
    if (!ParseSlot(args.first(), n))
        return usage(Said("Cli", "mailbox set: the slot must be a number from 1 to %1").arg(kMailboxSlots));
    if (args.size() > 1)
        return usage(Said("Cli", "mailbox set: unknown argument %1").arg(args.at(1)));
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
            return usage(Said("Cli", "--tls takes none, implicit or stls"));
    }
    if (p.isSet(QStringLiteral("trust-fingerprint"))) {
        const QString given = p.value(QStringLiteral("trust-fingerprint"));
        if (given.toLower() == u"none") {
            fingerprint = QString();
        } else {
            fingerprint = NormalizeFingerprint(given);
            if (fingerprint->isEmpty())
                return usage(Said("Cli", "--trust-fingerprint needs the certificate's SHA-256 "
                                            "fingerprint: 64 hex digits, with or without colons"));
        }
    }
    if (server && (server->isEmpty() || HasLineBreakOrNul(*server) || server->contains(u' ')))
        return usage(Said("Cli", "--server needs a host name, optionally with :PORT"));
    if (user && (IsBlankText(*user) || HasLineBreakOrNul(*user)))
        return usage(Said("Cli", "--user needs the user name of the mailbox on the server"));
    std::optional<SecretPlace> store;
    if (p.isSet(QStringLiteral("store"))) {
        const QString place = p.value(QStringLiteral("store")).toLower();
        if (place == u"keyring")
            store = SecretPlace::Keyring;
        else if (place == u"file")
            store = SecretPlace::File;
        else
            return usage(Said("Cli", "--store takes keyring or file"));
    }
    // One source of the secret: standard input, or a command for a password or for a token.
    std::optional<std::pair<MailboxLogin, QString>> command;
    for (const auto &[name, login] : {std::pair{"password-command", MailboxLogin::Password},
                                      std::pair{"token-command", MailboxLogin::OAuth2}}) {
        if (!p.isSet(QString::fromLatin1(name)))
            continue;
        if (command || passwordFromStdin)
            return usage(Said("Cli", "give one of --password-stdin, --password-command and --token-command"));
        const QString text = p.value(QString::fromLatin1(name)).trimmed();
        if (text.isEmpty() || HasLineBreakOrNul(text))
            return usage(Said("Cli", "--%1 needs a command line").arg(QString::fromLatin1(name)));
        command = {login, text};
    }
    if (command && store)
        return usage(Said("Cli", "--store keeps a password given on standard input; a command's secret is "
                                    "never stored"));
    // --auth oauth2 signs in at the provider now; --auth password only says how to log in.
    bool authPassword = false;
    bool authOAuth2 = false;
    if (p.isSet(QStringLiteral("auth"))) {
        const QString name = p.value(QStringLiteral("auth")).toLower();
        if (name == u"password")
            authPassword = true;
        else if (name == u"oauth2")
            authOAuth2 = true;
        else
            return usage(Said("Cli", "--auth takes password or oauth2"));
        if ((authOAuth2 && (passwordFromStdin || (command && command->first == MailboxLogin::Password)))
            || (authPassword && command && command->first == MailboxLogin::OAuth2))
            return usage(Said("Cli", "--auth %1 does not go with that secret: a password for --auth password "
                                        "(--password-stdin, --password-command), a token for oauth2 (--token-command)")
                             .arg(name));
        if (command)
            authOAuth2 = false;  // the token command is the sign-in
    }
    std::optional<OAuthProvider> provider;
    if (p.isSet(QStringLiteral("provider"))) {
        provider = OAuthProviderByName(p.value(QStringLiteral("provider")));
        if (!provider)
            return usage(Said("Cli", "--provider takes google or microsoft"));
        if (!authOAuth2)
            return usage(Said("Cli", "--provider goes with --auth oauth2"));
    }

    UserSettings settings;
    if (settings.isDamaged()) {
        err(Said("Cli", "error: %1").arg(settings.warning()));
        return 1;
    }
    QStringList warnings;
    // The commands are not run here: setting a mailbox up is no log-in.
    ServerSettings servers = readServerSettings(settings, &warnings, SecretLookup::NoCommands);
    for (const QString &w : warnings)
        err(Said("Cli", "warning: %1").arg(w));
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
    if (const QString problem = ApplyImapOptions(p, slot); !problem.isEmpty())
        return usage(problem);
    if (slot.protocol == MailProtocol::Pop3
        && (p.isSet(QStringLiteral("folder")) || p.isSet(QStringLiteral("imap-delete")) || p.isSet(QStringLiteral("whole-folder"))))
        err(Said("Cli", "warning: mailbox %1 is read over POP3, which has no folders: the IMAP settings are kept "
                           "for when you switch it with --protocol imap").arg(n));
    if (passwordFromStdin) {
        QString password;
        if (!ReadPassword(password) || password.isEmpty()) {
            err(Said("Cli", "error: no password on standard input: give it as one line"));
            return 1;
        }
        if (HasLineBreakOrNul(password)) {
            err(Said("Cli", "error: the password must not contain line breaks or NUL characters"));
            return 1;
        }
        slot.password = password;
        slot.login = MailboxLogin::Password;
        slot.secretCommand.clear();
        // A new password goes where the user said, else where the slot's was, else the keyring.
        if (!store)
            store = slot.secrets == SecretPlace::File ? SecretPlace::File : SecretPlace::Keyring;
    }
    if (authPassword && !passwordFromStdin && !command)
        slot.login = MailboxLogin::Password;
    if (authOAuth2) {
        if (!provider)
            provider = OAuthProviderForServer(slot.server);
        if (!provider)
            provider = OAuthProviderForAddress(slot.mailbox);
        if (!provider) {
            err(Said("Cli", "error: Tarnwick does not know whom to ask for a sign-in to %1: give --provider google "
                               "or --provider microsoft, or --token-command for another provider")
                    .arg(slot.server.isEmpty() ? slot.mailbox : slot.server));
            return 1;
        }
        if (slot.server.isEmpty()) {
            slot.server = slot.protocol == MailProtocol::Imap ? provider->imapServer : provider->server;
            slot.tls = tls.value_or(TlsMode::Implicit);
        }
        LoadOAuthClient(settings, *provider);
        if (IsBlankText(slot.mailbox)) {
            err(Said("Cli", "error: give --user with the mailbox's e-mail address before signing in"));
            return 1;
        }
        if (!store)
            store = slot.secrets == SecretPlace::File ? SecretPlace::File : SecretPlace::Keyring;
        // Asked before the browser opens, so that a sign-in is never thrown away.
        if (*store == SecretPlace::Keyring) {
            if (const QString problem = KeyringProblem(); !problem.isEmpty()) {
                err(Said("Cli", "error: the sign-in of mailbox %1 could not be kept: %2. Start a desktop keyring "
                                   "(GNOME Keyring, KWallet) in this session, or keep it in the settings file, "
                                   "readable by you only, with --store file")
                        .arg(n)
                        .arg(problem));
                return 1;
            }
        }
        const OAuthTokens tokens = AuthorizeInBrowser(*provider, slot.mailbox, OpenSignInPage);
        if (!tokens.error.isEmpty()) {
            err(Said("Cli", "error: %1").arg(tokens.error));
            return 1;
        }
        if (!RememberSlotProvider(settings, n, provider->id)) {
            err(Said("Cli", "error: %1").arg(settings.lastError()));
            return 1;
        }
        slot.login = MailboxLogin::OAuth2;
        slot.refreshToken = tokens.refreshToken;
        slot.password.clear();
        slot.secretCommand.clear();
        slot.secrets = *store;
    }
    if (command) {
        slot.login = command->first;
        slot.secrets = SecretPlace::Command;
        slot.secretCommand = command->second;
        slot.password.clear();
        slot.refreshToken.clear();
    } else if (store && !authOAuth2) {
        if (slot.secrets == SecretPlace::Command && !passwordFromStdin) {
            err(Said("Cli", "error: mailbox %1 gets its secret from a command, so there is nothing to store: give "
                               "the password with --password-stdin").arg(n));
            return 1;
        }
        slot.secrets = *store;
    }
    if (const std::optional<SlotProblem> problem = CheckMailboxSlot(slot, n)) {
        err(Said("Cli", "error: %1: give --server, --user and --password-stdin for a new mailbox").arg(problem->message));
        return 1;
    }
    // Never a silent fallback to the file: without a keyring the user decides.
    if (slot.secrets == SecretPlace::Keyring && before.secrets != SecretPlace::Keyring) {
        if (const QString problem = KeyringProblem(); !problem.isEmpty()) {
            err(Said("Cli", "error: the password of mailbox %1 was not stored: %2. Start a desktop keyring "
                               "(GNOME Keyring, KWallet) in this session, or keep the password in the settings "
                               "file, readable by you only, with --store file")
                    .arg(n)
                    .arg(problem));
            return 1;
        }
    }
    const ServerSaveResult saved = saveServerSettings(settings, servers);
    if (saved.problem) {
        err(Said("Cli", "error: %1: put that mailbox right first (tarnwick-cli mailbox set %2 ...)")
                .arg(saved.problem->message, QString::number(saved.problem->slot)));
        return 1;
    }
    if (!saved.error.isEmpty()) {
        err(Said("Cli", "error: %1").arg(saved.error));
        return 1;
    }
    // The keyring's copy of a secret that now lives elsewhere, or under another name, goes.
    if (before.secrets == SecretPlace::Keyring
        && (slot.secrets != SecretPlace::Keyring || slot.account() != before.account())) {
        for (const SecretKind kind : {SecretKind::Password, SecretKind::RefreshToken})
            if (const QString error = DeleteKeyringSecret(n, before.account(), kind); !error.isEmpty())
                err(Said("Cli", "warning: the old secret of mailbox %1 stays in the desktop keyring: %2").arg(n).arg(error));
    }
    // What the settings window does on its first showing: a log to write into, and the
    // per-mailbox rule for the first mailbox.
    const QString logFile = ReadGeneralSettings(settings).logFile;
    if (const QString wanted = LogFileOrDefault(logFile); wanted != logFile) {
        if (!settings.writeString(SettingsSection::General, QStringLiteral("Logfile"), wanted) || !settings.flush())
            err(Said("Cli", "warning: no activity log was set up: %1").arg(settings.lastError()));
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
            err(Said("Cli", "warning: the rule for mail not addressed to %1 was not stored: %2").arg(user, error));
            break;
        }
    }
    if (const QString notice = PlainPasswordNotice(before, slot, n); !notice.isEmpty())
        err(Said("Cli", "warning: %1").arg(notice));
    out(Said("Cli", "Mailbox %1 stored: %2 on %3%4, security %5%6%7%8\n")
            .arg(n)
            .arg(slot.mailbox, slot.server,
                 slot.protocol == MailProtocol::Imap
                     ? QStringLiteral(" (IMAP, folder \"%1\", deleting %2)").arg(slot.folder, ImapDeletionName(slot.imapDelete))
                     : QString(),
                 TlsName(slot.tls),
                 slot.fingerprint.isEmpty() ? Said(QString())
                                            : Said("Cli", ", trusted certificate ") + FormatFingerprint(slot.fingerprint),
                 PlaceText(slot), ruleNote));
    return 0;
}

int MailboxTest(const QStringList &args)
{
    int n = 0;
    if (args.size() != 1 || !ParseSlot(args.first(), n))
        return usage(Said("Cli", "mailbox test needs one slot number from 1 to %1").arg(kMailboxSlots));
    UserSettings settings;
    if (!settings.warning().isEmpty())
        err(Said("Cli", "warning: %1").arg(settings.warning()));
    QStringList warnings;
    const ServerSettings servers = readServerSettings(settings, &warnings);
    for (const QString &w : warnings)
        err(Said("Cli", "warning: %1").arg(w));
    const MailboxSlot &slot = servers.slot(n);
    if (IsBlankText(slot.server) || IsBlankText(slot.mailbox)) {
        err(Said("Cli", "error: mailbox %1 is not set up: tarnwick-cli mailbox set %1 --server HOST --user NAME "
                           "--password-stdin").arg(n));
        return 1;
    }
    out(QStringLiteral("Mailbox %1: %2 on %3\n").arg(n).arg(slot.mailbox, slot.server.trimmed()));
    const TConnectionReport report = TestConnection(slot, n);
    out(report.Lines().join(u'\n') + u'\n');
    return report.ok ? 0 : 1;
}

int MailboxList(bool json)
{
    UserSettings settings;
    if (!settings.warning().isEmpty())
        err(Said("Cli", "warning: %1").arg(settings.warning()));
    QStringList warnings;
    const ServerSettings servers = readServerSettings(settings, &warnings, SecretLookup::NoCommands);
    for (const QString &w : warnings)
        err(Said("Cli", "warning: %1").arg(w));
    QJsonArray chosen;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (slot.server.isEmpty() && slot.mailbox.isEmpty())
            continue;
        // Whether a password is set, never the password.
        const bool secretSet = !slot.password.isEmpty() || slot.secrets == SecretPlace::Command;
        QJsonObject entry{{"slot", n},
                                 {"selected", n == servers.which},
                                 {"server", slot.server},
                                 {"user", slot.mailbox},
                                 {"tls", TlsName(slot.tls)},
                                 {"passwordSet", secretSet},
                                 {"fingerprint", slot.fingerprint.isEmpty() ? QJsonValue() : QJsonValue(slot.fingerprint)},
                                 {"pipelining", slot.pipelining},
                                 {"protocol", ProtocolName(slot.protocol)}};
        const bool imap = slot.protocol == MailProtocol::Imap;
        if (imap) {
            entry.insert("folder", slot.folder);
            entry.insert("imapDelete", ImapDeletionName(slot.imapDelete));
            entry.insert("junkFolder", slot.junkFolder);
            entry.insert("trashFolder", slot.trashFolder);
            entry.insert("maxUnseen", slot.maxUnseen);
            entry.insert("wholeFolder", slot.wholeFolder);
        }
        chosen.append(entry);
        if (!json)
            out(QStringLiteral("%1%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\n")
                    .arg(n)
                    .arg(n == servers.which ? QStringLiteral("*") : QString(), slot.server, slot.mailbox,
                         TlsName(slot.tls),
                         secretSet ? QStringLiteral("password set") : QStringLiteral("no password"),
                         slot.fingerprint.isEmpty() ? QStringLiteral("-") : FormatFingerprint(slot.fingerprint),
                         ProtocolName(slot.protocol), imap ? slot.folder : QStringLiteral("-")));
    }
    if (json)
        outJson(QJsonDocument(QJsonObject{{"mailboxes", chosen}}));
    if (chosen.isEmpty())
        err(Said("Cli", "No mailbox is set up. Add one with: tarnwick-cli mailbox set 1 --server HOST "
                           "--user NAME --password-stdin"));
    return 0;
}

} // namespace cli
