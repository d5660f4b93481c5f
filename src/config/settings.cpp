#include "settings.h"

#include "secrets.h"
#include "wording.h"

#include <algorithm>

namespace {

using namespace SettingsSection;

QString slotName(const char *base, int n)
{
    return QLatin1String(base) + QString::number(n);
}

QString LoginName(MailboxLogin login)
{
    return login == MailboxLogin::OAuth2 ? QStringLiteral("oauth2") : QStringLiteral("password");
}

QString PlaceName(SecretPlace place)
{
    switch (place) {
    case SecretPlace::File: return QStringLiteral("file");
    case SecretPlace::Keyring: return QStringLiteral("keyring");
    case SecretPlace::Command: return QStringLiteral("command");
    case SecretPlace::Unchosen: break;
    }
    return {};
}

SecretPlace ReadPlace(const QString &text)
{
    for (SecretPlace place : {SecretPlace::File, SecretPlace::Keyring, SecretPlace::Command})
        if (text.compare(PlaceName(place), Qt::CaseInsensitive) == 0)
            return place;
    return SecretPlace::Unchosen;
}

// A stored folder name, or the default for none.
QString FolderOr(const QString &stored, const QString &fallback)
{
    return IsBlankText(stored) ? fallback : stored;
}

QString SecretName(const MailboxSlot &slot)
{
    return slot.login == MailboxLogin::OAuth2 ? Said("Data", "token command") : Said("Data", "password command");
}

// Fills slot n's secrets from the keyring or its command; what failed goes to warning. Once the
// keyring failed (keyringError), the later slots do not wait for it again.
void LookUpSecrets(MailboxSlot &slot, int n, SecretLookup lookup, QString &warning, QString &keyringError)
{
    if (slot.secrets == SecretPlace::Command && lookup == SecretLookup::All) {
        const CommandSecret got = RunSecretCommand(slot.secretCommand, SecretName(slot), n);
        slot.password = got.secret;
        warning = got.error;
        return;
    }
    if (slot.secrets != SecretPlace::Keyring || lookup == SecretLookup::FileOnly)
        return;
    KeyringRead password;
    if (keyringError.isEmpty())
        password = ReadKeyringSecret(n, slot.account(), SecretKind::Password);
    else
        password.error = keyringError;
    slot.password = password.secret;
    keyringError = password.error;
    if (!password.error.isEmpty()) {
        warning = Said("Data", "The password of mailbox %1 could not be read from the desktop keyring: %2. "
                                 "Start the keyring in this session, or enter the password again.")
                      .arg(n)
                      .arg(password.error);
        return;
    }
    if (slot.login == MailboxLogin::OAuth2) {
        const KeyringRead token = ReadKeyringSecret(n, slot.account(), SecretKind::RefreshToken);
        slot.refreshToken = token.secret;
        if (!token.error.isEmpty())
            warning = Said("Data", "The sign-in of mailbox %1 could not be read from the desktop keyring: %2. "
                                     "Start the keyring in this session.")
                          .arg(n)
                          .arg(token.error);
    } else if (!password.found) {
        warning = Said("Data", "The desktop keyring holds no password for mailbox %1. Enter the password again.")
                      .arg(n);
    }
}

// Slot n's secrets where its place says, keyring first: the file keeps its copy until the
// keyring has taken the new one. An unstored keyring slot's secrets go nowhere: the file drops
// its copy, the keyring keeps what it held. Empty on success, else why not.
QString StoreSecrets(UserSettings &s, const MailboxSlot &slot, int n, bool unstored = false)
{
    QString fileSecret;
    QString fileToken;
    if (slot.secrets == SecretPlace::Keyring && unstored) {
        // Nothing to write but the file's empty values.
    } else if (slot.secrets == SecretPlace::Keyring) {
        QString error = WriteKeyringSecret(n, slot.account(), SecretKind::Password, slot.password);
        // A slot read without its token (a form that does not show it) must not drop the stored
        // one: a token leaves the keyring only with its mailbox's secrets as a whole.
        if (error.isEmpty() && !slot.refreshToken.isEmpty())
            error = WriteKeyringSecret(n, slot.account(), SecretKind::RefreshToken, slot.refreshToken);
        if (!error.isEmpty())
            return Said("Data", "The desktop keyring did not take the password of mailbox %1: %2").arg(n).arg(error);
    } else if (slot.secrets != SecretPlace::Command) {
        fileSecret = ScramblePassword(slot.password, n);
        fileToken = slot.refreshToken.isEmpty() ? QString() : ScramblePassword(slot.refreshToken, n);
    }
    const bool ok = s.writeString(Server, slotName("Passwd", n), fileSecret)
                    && s.writeString(Server, slotName("Refresh", n), fileToken);
    return ok ? QString() : s.lastError();
}

// A width below this hides the column; above it no screen shows it.
constexpr int kMinColumnWidth = 8;
constexpr int kMaxColumnWidth = 10000;

} // namespace

GeneralSettings ReadGeneralSettings(const SettingsReader &s)
{
    GeneralSettings g;
    g.logFile = s.readString(General, QStringLiteral("Logfile"));
    g.mailer = s.readString(General, QStringLiteral("Mailer"));
    g.alarmFile = s.readString(General, QStringLiteral("AlarmFile"));
    g.automatic = s.readBool(General, QStringLiteral("Automatic"), g.automatic);
    g.ask = s.readBool(General, QStringLiteral("Ask"), g.ask);
    g.kill = s.readBool(General, QStringLiteral("Kill"), g.kill);
    // No interval would mean a check at every minute tick for ever; fall back to the default.
    const int minutes = s.readInteger(General, QStringLiteral("Minutes"), g.minutes);
    if (minutes >= 1)
        g.minutes = minutes;
    g.launch = s.readBool(General, QStringLiteral("Launch"), g.launch);
    g.exitAfterCheck = s.readBool(General, QStringLiteral("Exit"), g.exitAfterCheck);
    g.alarm = s.readBool(General, QStringLiteral("Alarm"), g.alarm);
    g.repeat = s.readBool(General, QStringLiteral("Repeat"), g.repeat);
    g.ras = qMax(0, s.readInteger(General, QStringLiteral("RAS"), g.ras));
    g.count = qMax<qint64>(0, s.readInteger64(General, QStringLiteral("Count"), g.count));
    g.sysTray = s.readBool(General, QStringLiteral("SysTray"), g.sysTray);
    g.notify = s.readBool(General, QStringLiteral("Notify"), g.notify);

    // The dialog sets one radio button per value in the order Asis, Quarter, Month, so when
    // a hand-edited file has several switched on, the last one set wins.
    if (s.readBool(Logfile, QStringLiteral("Month"), false))
        g.logNaming = LogNaming::Month;
    else if (s.readBool(Logfile, QStringLiteral("Quarter"), false))
        g.logNaming = LogNaming::Quarter;
    else
        g.logNaming = LogNaming::AsIs;
    return g;
}

bool SaveGeneralSettings(UserSettings &s, const GeneralSettings &g)
{
    bool ok = s.writeString(General, QStringLiteral("Logfile"), g.logFile);
    ok = ok && s.writeString(General, QStringLiteral("Mailer"), g.mailer);
    ok = ok && s.writeString(General, QStringLiteral("AlarmFile"), g.alarmFile);
    ok = ok && s.writeBool(General, QStringLiteral("Automatic"), g.automatic);
    ok = ok && s.writeBool(General, QStringLiteral("Ask"), g.ask);
    ok = ok && s.writeBool(General, QStringLiteral("Kill"), g.kill);
    ok = ok && s.writeInteger(General, QStringLiteral("Minutes"), g.minutes);
    ok = ok && s.writeBool(General, QStringLiteral("Launch"), g.launch);
    ok = ok && s.writeBool(General, QStringLiteral("Exit"), g.exitAfterCheck);
    ok = ok && s.writeBool(General, QStringLiteral("Alarm"), g.alarm);
    ok = ok && s.writeBool(General, QStringLiteral("Repeat"), g.repeat);
    ok = ok && s.writeInteger(General, QStringLiteral("RAS"), g.ras);
    ok = ok && s.writeInteger(General, QStringLiteral("Count"), g.count);
    ok = ok && s.writeBool(General, QStringLiteral("SysTray"), g.sysTray);
    ok = ok && s.writeBool(General, QStringLiteral("Notify"), g.notify);
    ok = ok && s.writeBool(Logfile, QStringLiteral("Asis"), g.logNaming == LogNaming::AsIs);
    ok = ok && s.writeBool(Logfile, QStringLiteral("Month"), g.logNaming == LogNaming::Month);
    ok = ok && s.writeBool(Logfile, QStringLiteral("Quarter"), g.logNaming == LogNaming::Quarter);
    return ok && s.flush();
}

MailboxSlot ReadMailboxSlot(const SettingsReader &s, int n, QString *warning)
{
    if (warning)
        warning->clear();
    MailboxSlot slot;
    slot.server = s.readString(Server, slotName("Server", n));
    slot.mailbox = s.readString(Server, slotName("Mailbox", n));
    const std::optional<QString> password =
        UnscramblePassword(s.readString(Server, slotName("Passwd", n)), n);
    if (password)
        slot.password = *password;
    else if (warning)
        *warning = Said("Data", "The stored password of mailbox %1 is damaged. Enter the "
                                  "password again in the General settings.")
                       .arg(n);
    // A slot without server and user name holds no mailbox yet: the one set up there starts
    // with TLS. A stored mailbox keeps its choice; before "Tls"n existed, all were plain POP3.
    // A value that names no security keeps TLS: a damaged file must not send the password
    // in plain text.
    const int tls = s.readInteger(Server, slotName("Tls", n), int(TlsMode::None));
    if (slot.server.isEmpty() && slot.mailbox.isEmpty())
        slot.tls = TlsMode::Implicit;
    else if (tls >= int(TlsMode::None) && tls <= int(TlsMode::StartTls))
        slot.tls = TlsMode(tls);
    slot.fingerprint = s.readString(Server, slotName("Fingerprint", n));
    slot.pipelining = s.readBool(Server, slotName("Pipelining", n), slot.pipelining);
    if (s.readInteger(Server, slotName("Protocol", n), int(MailProtocol::Pop3)) == int(MailProtocol::Imap))
        slot.protocol = MailProtocol::Imap;
    slot.folder = FolderOr(s.readString(Server, slotName("Folder", n)), slot.folder);
    slot.imapDelete = ImapDeletionFromName(s.readString(Server, slotName("ImapDelete", n))).value_or(slot.imapDelete);
    slot.junkFolder = FolderOr(s.readString(Server, slotName("JunkFolder", n)), slot.junkFolder);
    slot.trashFolder = FolderOr(s.readString(Server, slotName("TrashFolder", n)), slot.trashFolder);
    const qint64 maxUnseen = s.readInteger64(Server, slotName("MaxUnseen", n), kDefaultMaxUnseen);
    slot.maxUnseen = maxUnseen < 1 ? kDefaultMaxUnseen : int(std::min<qint64>(maxUnseen, kMostMaxUnseen));
    slot.wholeFolder = s.readBool(Server, slotName("WholeFolder", n), slot.wholeFolder);
    if (s.readString(Server, slotName("Login", n)).compare(LoginName(MailboxLogin::OAuth2), Qt::CaseInsensitive) == 0)
        slot.login = MailboxLogin::OAuth2;
    slot.secrets = ReadPlace(s.readString(Server, slotName("Secrets", n)));
    slot.secretCommand = s.readString(Server, slotName("SecretCommand", n));
    // A command slot without its command has nothing to run; it asks for a password instead.
    if (slot.secrets == SecretPlace::Command && slot.secretCommand.isEmpty())
        slot.secrets = SecretPlace::Unchosen;
    if (slot.secrets == SecretPlace::Keyring || slot.secrets == SecretPlace::Command) {
        // Whatever the file still holds is not this mailbox's secret.
        slot.password.clear();
        if (warning)
            warning->clear();
    } else if (const std::optional<QString> token =
                   UnscramblePassword(s.readString(Server, slotName("Refresh", n)), n)) {
        slot.refreshToken = *token;
    }
    return slot;
}

QString ImapDeletionName(ImapDeletion deletion)
{
    switch (deletion) {
    case ImapDeletion::Trash: return QStringLiteral("trash");
    case ImapDeletion::Delete: return QStringLiteral("delete");
    case ImapDeletion::Junk: break;
    }
    return QStringLiteral("junk");
}

std::optional<ImapDeletion> ImapDeletionFromName(const QString &name)
{
    for (ImapDeletion deletion : {ImapDeletion::Junk, ImapDeletion::Trash, ImapDeletion::Delete})
        if (name.compare(ImapDeletionName(deletion), Qt::CaseInsensitive) == 0)
            return deletion;
    return std::nullopt;
}

ServerSettings readServerSettings(const SettingsReader &s, QStringList *warnings, SecretLookup lookup)
{
    ServerSettings servers;
    const int which = s.readInteger(Server, QStringLiteral("Which"), servers.which);
    // The dialog has exactly twelve radio buttons; anything else selects the first.
    if (which >= 1 && which <= kMailboxSlots)
        servers.which = which;
    QString keyringError;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        QString warning;
        servers.slot(n) = ReadMailboxSlot(s, n, &warning);
        LookUpSecrets(servers.slot(n), n, lookup, warning, keyringError);
        if (!warning.isEmpty() && warnings)
            warnings->append(warning);
    }
    return servers;
}

SecretMove MoveScrambledPasswordsToKeyring(UserSettings &s)
{
    SecretMove result;
    if (s.isDamaged())
        return result;
    QList<int> waiting;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot slot = ReadMailboxSlot(s, n);
        if (slot.secrets == SecretPlace::Unchosen && (!slot.password.isEmpty() || !slot.refreshToken.isEmpty()))
            waiting << n;
    }
    if (waiting.isEmpty())
        return result;
    if (const QString problem = KeyringProblem(); !problem.isEmpty()) {
        result.problem = Said("Data", "The mailbox passwords stay scrambled in the settings file (readable by you "
                                        "only): %1.")
                             .arg(problem);
        return result;
    }
    for (int n : waiting) {
        MailboxSlot slot = ReadMailboxSlot(s, n);
        slot.secrets = SecretPlace::Keyring;
        // The file loses its copy in the same flush that records the keyring as the place,
        // and only after the keyring took the secret.
        QString error = StoreSecrets(s, slot, n);
        if (error.isEmpty()
            && (!s.writeString(Server, slotName("Secrets", n), PlaceName(slot.secrets)) || !s.flush()))
            error = s.lastError();
        if (!error.isEmpty()) {
            result.problem = error;
            break;
        }
        result.moved << Said("Data", "The password of mailbox %1 moved from the settings file into the desktop "
                                       "keyring.")
                            .arg(n);
    }
    return result;
}

bool IsBlankText(const QString &text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u != u' ' && u != u'\r' && u != u'\n' && u != 8)
            return false;
    }
    return true;
}

std::optional<SlotProblem> CheckMailboxSlot(const MailboxSlot &slot, int n)
{
    const bool hasServer = !IsBlankText(slot.server);
    const bool hasMailbox = !IsBlankText(slot.mailbox);
    if (hasServer && !hasMailbox)
        return SlotProblem{n, SlotField::Mailbox,
                           Said("Data", "Mailbox %1 has a server %2 but no mailbox")
                               .arg(n)
                               .arg(slot.server)};
    if (!hasServer && hasMailbox)
        return SlotProblem{n, SlotField::Server,
                           Said("Data", "Mailbox %1 %2 has a blank server")
                               .arg(n)
                               .arg(slot.mailbox)};
    const bool hasSecret = !slot.password.isEmpty()
                           || (slot.secrets == SecretPlace::Command && !slot.secretCommand.isEmpty())
                           || (slot.login == MailboxLogin::OAuth2 && !slot.refreshToken.isEmpty());
    if (hasServer && hasMailbox && !hasSecret)
        return SlotProblem{n, SlotField::Password,
                           Said("Data", "Mailbox %1 - there is no password set").arg(n)};
    return std::nullopt;
}

ServerSaveResult saveServerSettings(UserSettings &s, const ServerSettings &servers, const QSet<int> &unstored)
{
    ServerSaveResult result;
    bool ok = s.writeInteger(Server, QStringLiteral("Which"), servers.which);
    QString keyringError;
    for (int n = 1; ok && n <= kMailboxSlots; ++n) {
        MailboxSlot slot = servers.slot(n);
        // A form that knows only a password box leaves the place unchosen: the mailbox keeps
        // where its secrets live, how it logs in and its command, rather than falling back to
        // the file and a password log-in behind the user's back.
        if (slot.secrets == SecretPlace::Unchosen && !(slot.server.isEmpty() && slot.mailbox.isEmpty())) {
            const MailboxSlot stored = ReadMailboxSlot(s, n);
            slot.secrets = stored.secrets;
            if (slot.login == MailboxLogin::Password)
                slot.login = stored.login;
            if (slot.secretCommand.isEmpty())
                slot.secretCommand = stored.secretCommand;
            if (slot.refreshToken.isEmpty())
                slot.refreshToken = stored.refreshToken;
        }
        result.problem = CheckMailboxSlot(slot, n);
        if (result.problem)
            break;
        keyringError = StoreSecrets(s, slot, n, slot.secrets == SecretPlace::Keyring && unstored.contains(n));
        if (!keyringError.isEmpty())
            break;
        ok = s.writeString(Server, slotName("Server", n), slot.server)
             && s.writeString(Server, slotName("Mailbox", n), slot.mailbox)
             && s.writeInteger(Server, slotName("Tls", n), int(slot.tls))
             && s.writeString(Server, slotName("Fingerprint", n), slot.fingerprint)
             && s.writeBool(Server, slotName("Pipelining", n), slot.pipelining)
             && s.writeInteger(Server, slotName("Protocol", n), int(slot.protocol))
             && s.writeString(Server, slotName("Folder", n), slot.folder)
             && s.writeString(Server, slotName("ImapDelete", n), ImapDeletionName(slot.imapDelete))
             && s.writeString(Server, slotName("JunkFolder", n), slot.junkFolder)
             && s.writeString(Server, slotName("TrashFolder", n), slot.trashFolder)
             && s.writeInteger(Server, slotName("MaxUnseen", n), slot.maxUnseen)
             && s.writeBool(Server, slotName("WholeFolder", n), slot.wholeFolder)
             && s.writeString(Server, slotName("Login", n), LoginName(slot.login))
             && s.writeString(Server, slotName("Secrets", n), PlaceName(slot.secrets))
             && s.writeString(Server, slotName("SecretCommand", n),
                              slot.secrets == SecretPlace::Command ? slot.secretCommand : QString());
    }
    // What was written before an incomplete slot is stored all the same.
    if (!ok || !s.flush())
        result.error = s.lastError();
    else if (!keyringError.isEmpty())
        result.error = keyringError;
    return result;
}

bool SaveSpamCount(UserSettings &s, qint64 count)
{
    return s.writeInteger(General, QStringLiteral("Count"), count) && s.flush();
}

bool SaveAutomatic(UserSettings &s, bool automatic)
{
    return s.writeBool(General, QStringLiteral("Automatic"), automatic) && s.flush();
}

int ReadPoints(const SettingsReader &s)
{
    return s.readInteger(General, QStringLiteral("Points"), 0);
}

bool SavePoints(UserSettings &s, int points)
{
    return s.writeInteger(General, QStringLiteral("Points"), points) && s.flush();
}

QList<int> ReadColumnWidths(const SettingsReader &s, const QString &section,
                            const QList<int> &defaults)
{
    QList<int> widths = defaults;
    for (qsizetype i = 0; i < widths.size(); ++i) {
        const int width = s.readInteger(section, slotName("Col", int(i + 1)), -1);
        if (width >= kMinColumnWidth && width <= kMaxColumnWidth)
            widths[i] = width;
    }
    return widths;
}

bool SaveColumnWidths(UserSettings &s, const QString &section, const QList<int> &widths)
{
    bool ok = true;
    for (qsizetype i = 0; ok && i < widths.size(); ++i)
        ok = s.writeInteger(section, slotName("Col", int(i + 1)), widths.at(i));
    return ok && s.flush();
}
