#include "settings.h"

namespace {

using namespace SettingsSection;

QString slotName(const char *base, int n)
{
    return QLatin1String(base) + QString::number(n);
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
        *warning = QStringLiteral("The stored password of mailbox %1 is damaged. Enter the "
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
    return slot;
}

ServerSettings readServerSettings(const SettingsReader &s, QStringList *warnings)
{
    ServerSettings servers;
    const int which = s.readInteger(Server, QStringLiteral("Which"), servers.which);
    // The dialog has exactly twelve radio buttons; anything else selects the first.
    if (which >= 1 && which <= kMailboxSlots)
        servers.which = which;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        QString warning;
        servers.slot(n) = ReadMailboxSlot(s, n, &warning);
        if (!warning.isEmpty() && warnings)
            warnings->append(warning);
    }
    return servers;
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
                           QStringLiteral("Mailbox %1 has a server %2 but no mailbox")
                               .arg(n)
                               .arg(slot.server)};
    if (!hasServer && hasMailbox)
        return SlotProblem{n, SlotField::Server,
                           QStringLiteral("Mailbox %1 %2 has a blank server")
                               .arg(n)
                               .arg(slot.mailbox)};
    if (hasServer && hasMailbox && slot.password.isEmpty())
        return SlotProblem{n, SlotField::Password,
                           QStringLiteral("Mailbox %1 - there is no password set").arg(n)};
    return std::nullopt;
}

ServerSaveResult saveServerSettings(UserSettings &s, const ServerSettings &servers)
{
    ServerSaveResult result;
    bool ok = s.writeInteger(Server, QStringLiteral("Which"), servers.which);
    for (int n = 1; ok && n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        result.problem = CheckMailboxSlot(slot, n);
        if (result.problem)
            break;
        ok = s.writeString(Server, slotName("Server", n), slot.server)
             && s.writeString(Server, slotName("Mailbox", n), slot.mailbox)
             && s.writeString(Server, slotName("Passwd", n), ScramblePassword(slot.password, n))
             && s.writeInteger(Server, slotName("Tls", n), int(slot.tls))
             && s.writeString(Server, slotName("Fingerprint", n), slot.fingerprint)
             && s.writeBool(Server, slotName("Pipelining", n), slot.pipelining);
    }
    // What was written before an incomplete slot is stored all the same.
    if (!ok || !s.flush())
        result.error = s.lastError();
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
