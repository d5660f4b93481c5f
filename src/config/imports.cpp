#include "imports.h"

#include "files.h"
#include "inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

namespace {

// A host name or user name taken from another program's files goes into our own settings
// and later onto the wire: anything with control characters or blanks inside is refused.
bool IsCleanValue(const QString &text)
{
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control || c.isSpace(); });
}

QString HostWithPort(const QString &host, int port, TlsMode tls)
{
    const int usual = tls == TlsMode::Implicit ? 995 : 110;
    if (port <= 0 || port > 65535 || port == usual)
        return host;
    // Only an IPv6 address has colons; it needs brackets before a port.
    const bool ipv6 = host.contains(u':');
    return (ipv6 ? u'[' + host + u']' : host) + u':' + QString::number(port);
}

// ---- prefs.js reading ----

class PrefsScanner
{
public:
    explicit PrefsScanner(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    bool take(QStringView word)
    {
        skipBlanks();
        if (m_text.mid(m_pos).startsWith(word)) {
            m_pos += word.size();
            return true;
        }
        return false;
    }
    void skipLine()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos) != u'\n')
            ++m_pos;
    }
    // A JavaScript string literal in double or single quotes.
    std::optional<QString> string()
    {
        skipBlanks();
        if (m_pos >= m_text.size())
            return std::nullopt;
        const QChar quote = m_text.at(m_pos);
        if (quote != u'"' && quote != u'\'')
            return std::nullopt;
        ++m_pos;
        QString out;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos++);
            if (c == quote)
                return out;
            if (c == u'\n')
                return std::nullopt;
            if (c != u'\\') {
                out.append(c);
                continue;
            }
            if (m_pos >= m_text.size())
                return std::nullopt;
            const QChar e = m_text.at(m_pos++);
            switch (e.unicode()) {
            case u'n': out.append(u'\n'); break;
            case u't': out.append(u'\t'); break;
            case u'r': out.append(u'\r'); break;
            case u'u':
            case u'x': {
                const int digits = e == u'u' ? 4 : 2;
                bool ok = false;
                const uint code = m_text.mid(m_pos, digits).toUInt(&ok, 16);
                if (!ok || m_pos + digits > m_text.size())
                    return std::nullopt;
                out.append(QChar(char16_t(code)));
                m_pos += digits;
                break;
            }
            default: out.append(e); break;
            }
        }
        return std::nullopt;
    }
    // A number, true or false, as written.
    std::optional<QString> bareValue()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()
               && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == u'-'
                   || m_text.at(m_pos) == u'.'))
            ++m_pos;
        if (m_pos == start)
            return std::nullopt;
        return m_text.mid(start, m_pos - start).toString();
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// ---- desktop entries ----

// The general escapes of a desktop-entry string value.
QString UnescapeDesktopValue(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 >= value.size()) {
            out.append(c);
            continue;
        }
        const QChar e = value.at(++i);
        switch (e.unicode()) {
        case u's': out.append(u' '); break;
        case u'n': out.append(u'\n'); break;
        case u't': out.append(u'\t'); break;
        case u'r': out.append(u'\r'); break;
        case u'\\': out.append(u'\\'); break;
        default: out.append(u'\\').append(e); break;
        }
    }
    return out;
}

// Splits an Exec value into arguments: blanks separate, double quotes group, and inside
// quotes a backslash escapes the next character. Nothing when a quote is left open.
std::optional<QStringList> SplitExec(const QString &exec)
{
    QStringList args;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes) {
            if (c == u'"') {
                inQuotes = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                current.append(exec.at(++i));
            } else {
                current.append(c);
            }
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArgument)
                args.append(current);
            current = {};
            inArgument = false;
        } else if (c == u'"') {
            inQuotes = true;
            inArgument = true;
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inQuotes)
        return std::nullopt;
    if (inArgument)
        args.append(current);
    return args;
}

// One argument the way QProcess::splitCommand reads it back.
QString QuoteForSplitCommand(const QString &arg)
{
    const bool plain = !arg.isEmpty()
                       && std::none_of(arg.begin(), arg.end(), [](QChar c) {
                              return c == u' ' || c == u'\t' || c == u'\n' || c == u'"';
                          });
    if (plain)
        return arg;
    QString inner = arg;
    inner.replace(u'"', QStringLiteral("\"\"\""));
    return u'"' + inner + u'"';
}

// The desktop file's [Desktop Entry] group as key -> raw value (first occurrence wins).
QHash<QString, QString> DesktopEntryGroup(const QString &text)
{
    QHash<QString, QString> values;
    bool inGroup = false;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            inGroup = trimmed == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inGroup || trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!values.contains(key))
            values.insert(key, line.mid(eq + 1).trimmed());
    }
    return values;
}

QString ReadSmallTextFile(const QString &path)
{
    const std::optional<QStringList> lines = ReadTextLines(path);
    return lines ? lines->join(u'\n') : QString();
}

} // namespace

// ---- Thunderbird ----

QList<ThunderbirdProfile> ParseThunderbirdProfiles(const QString &profilesIni)
{
    TIniFile ini;
    ini.SetLines(profilesIni.split(u'\n'));

    QList<ThunderbirdProfile> installDefaults;
    QList<ThunderbirdProfile> marked;
    QList<ThunderbirdProfile> others;
    QHash<QString, bool> relativeByPath;
    for (const QString &section : ini.Sections()) {
        if (!section.startsWith(QLatin1String("Profile"), Qt::CaseInsensitive))
            continue;
        const QString path = ini.ReadString(section, QStringLiteral("Path"));
        if (path.isEmpty())
            continue;
        const ThunderbirdProfile profile{path, ini.ReadBool(section, QStringLiteral("IsRelative"), true)};
        relativeByPath.insert(path, profile.isRelative);
        (ini.ReadBool(section, QStringLiteral("Default"), false) ? marked : others).append(profile);
    }
    for (const QString &section : ini.Sections()) {
        if (!section.startsWith(QLatin1String("Install"), Qt::CaseInsensitive))
            continue;
        const QString path = ini.ReadString(section, QStringLiteral("Default"));
        if (!path.isEmpty())
            installDefaults.append({path, relativeByPath.value(path, !QDir::isAbsolutePath(path))});
    }

    QList<ThunderbirdProfile> ordered;
    for (const QList<ThunderbirdProfile> *group : {&installDefaults, &marked, &others})
        for (const ThunderbirdProfile &p : *group)
            if (!ordered.contains(p))
                ordered.append(p);
    return ordered;
}

QHash<QString, QString> ParsePrefsJs(const QString &prefsJs)
{
    QHash<QString, QString> prefs;
    for (const QString &line : prefsJs.split(u'\n')) {
        PrefsScanner scan(line);
        if (!scan.take(u"user_pref") || !scan.take(u"("))
            continue;
        const std::optional<QString> name = scan.string();
        if (!name || !scan.take(u","))
            continue;
        scan.skipBlanks();
        std::optional<QString> value = scan.string();
        if (!value)
            value = scan.bareValue();
        if (!value || !scan.take(u")"))
            continue;
        prefs.insert(*name, *value);
    }
    return prefs;
}

std::optional<ImportedMailbox> FirstPop3Account(const QHash<QString, QString> &prefs)
{
    QStringList servers;
    const QString accounts = prefs.value(QStringLiteral("mail.accountmanager.accounts"));
    for (const QString &account : accounts.split(u',', Qt::SkipEmptyParts)) {
        const QString server =
            prefs.value(QStringLiteral("mail.account.%1.server").arg(account.trimmed()));
        if (!server.isEmpty())
            servers.append(server);
    }
    if (servers.isEmpty()) {
        // No account list (a hand-made or very old profile): go by server number.
        static const QRegularExpression serverKey(QStringLiteral("^mail\\.server\\.(server(\\d+))\\.type$"));
        QList<std::pair<qint64, QString>> numbered;
        for (auto it = prefs.cbegin(); it != prefs.cend(); ++it) {
            const QRegularExpressionMatch m = serverKey.match(it.key());
            if (m.hasMatch())
                numbered.append({m.captured(2).toLongLong(), m.captured(1)});
        }
        std::sort(numbered.begin(), numbered.end());
        for (const auto &entry : numbered)
            servers.append(entry.second);
    }

    for (const QString &server : servers) {
        const auto pref = [&](const char *name) {
            return prefs.value(QStringLiteral("mail.server.%1.%2").arg(server, QLatin1String(name)))
                .trimmed();
        };
        if (pref("type").compare(QLatin1String("pop3"), Qt::CaseInsensitive) != 0)
            continue;
        // The "real" names are those the user changed the account to after creating it.
        QString host = pref("realhostname");
        if (host.isEmpty())
            host = pref("hostname");
        QString user = pref("realuserName");
        if (user.isEmpty())
            user = pref("userName");
        if (host.isEmpty() || !IsCleanValue(host) || !IsCleanValue(user))
            continue;

        ImportedMailbox box;
        switch (pref("socketType").toInt()) {
        case 3: box.tls = TlsMode::Implicit; break;
        // 1 was "STARTTLS when offered"; insisting on it is the safe reading.
        case 1:
        case 2: box.tls = TlsMode::StartTls; break;
        default: box.tls = TlsMode::None; break;
        }
        QString portText = pref("realport");
        if (portText.isEmpty())
            portText = pref("port");
        box.server = HostWithPort(host, portText.toInt(), box.tls);
        box.mailbox = user;
        return box;
    }
    return std::nullopt;
}

std::optional<ImportedMailbox> ImportThunderbirdMailbox(const QString &home)
{
    const QStringList roots{
        home + QStringLiteral("/.thunderbird"),
        home + QStringLiteral("/.var/app/org.mozilla.Thunderbird/.thunderbird"),
        home + QStringLiteral("/snap/thunderbird/common/.thunderbird"),
    };
    for (const QString &root : roots) {
        const QString profilesIni = ReadSmallTextFile(root + QStringLiteral("/profiles.ini"));
        if (profilesIni.isEmpty())
            continue;
        for (const ThunderbirdProfile &profile : ParseThunderbirdProfiles(profilesIni)) {
            const QString folder = profile.isRelative ? root + u'/' + profile.path : profile.path;
            const QString prefs = ReadSmallTextFile(folder + QStringLiteral("/prefs.js"));
            if (prefs.isEmpty())
                continue;
            if (std::optional<ImportedMailbox> box = FirstPop3Account(ParsePrefsJs(prefs)))
                return box;
        }
    }
    return std::nullopt;
}

// ---- the desktop's mail program ----

QString DesktopEntryCommand(const QString &desktopFileText, const QString &desktopFilePath)
{
    const QHash<QString, QString> entry = DesktopEntryGroup(desktopFileText);
    const QString exec = UnescapeDesktopValue(entry.value(QStringLiteral("Exec")));
    const std::optional<QStringList> args = SplitExec(exec);
    if (!args)
        return QString();

    QStringList out;
    for (const QString &arg : *args) {
        // Whole-argument codes that stand for several arguments or none.
        if (arg == QLatin1String("%i")) {
            const QString icon = UnescapeDesktopValue(entry.value(QStringLiteral("Icon")));
            if (!icon.isEmpty())
                out << QStringLiteral("--icon") << icon;
            continue;
        }
        QString text;
        bool dropped = false;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            const QChar c = arg.at(i);
            if (c != u'%' || i + 1 >= arg.size()) {
                text.append(c);
                continue;
            }
            const QChar code = arg.at(++i);
            switch (code.unicode()) {
            case u'%': text.append(u'%'); break;
            case u'c': text.append(UnescapeDesktopValue(entry.value(QStringLiteral("Name")))); break;
            case u'k': text.append(desktopFilePath); break;
            default: dropped = true; break; // %f %F %u %U %d %D %n %N %v %m %i inside a word
            }
        }
        // An argument that was nothing but a file or URL code goes altogether.
        if (dropped && text.isEmpty())
            continue;
        out.append(text);
    }
    if (out.isEmpty())
        return QString();
    QStringList quoted;
    for (const QString &arg : out)
        quoted.append(QuoteForSplitCommand(arg));
    return quoted.join(u' ');
}

QStringList DesktopFileCandidates(const QString &desktopId, const QStringList &dataFolders)
{
    const QString id = desktopId.trimmed();
    if (!id.endsWith(QLatin1String(".desktop")) || id.size() <= 8 || id.contains(u'/')
        || id.contains(u'\\') || id.startsWith(u'.') || id.contains(QLatin1String("..")))
        return {};

    // An id names a file below "applications" with each "/" written as "-".
    QStringList relative{id};
    QString variant = id;
    for (qsizetype dash = variant.indexOf(u'-'); dash > 0 && dash < variant.size() - 9;
         dash = variant.indexOf(u'-', dash + 1)) {
        variant[dash] = u'/';
        relative.append(variant);
    }
    QStringList candidates;
    for (const QString &folder : dataFolders) {
        if (folder.isEmpty())
            continue;
        for (const QString &rel : relative)
            candidates.append(folder + QStringLiteral("/applications/") + rel);
    }
    return candidates;
}

QStringList XdgDataFolders()
{
    QStringList folders;
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    folders.append(dataHome.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : dataHome);
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        folders.append(dir);
    return folders;
}

QString MailtoHandlerCommand()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("x-scheme-handler/mailto")});
    if (!query.waitForStarted(3000))
        return QString();
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return QString();
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return QString();
    // The first line only: some versions print the handlers of several desktops.
    const QString id = QString::fromUtf8(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    for (const QString &path : DesktopFileCandidates(id, XdgDataFolders())) {
        if (!QFileInfo(path).isFile())
            continue;
        return DesktopEntryCommand(ReadSmallTextFile(path), path);
    }
    return QString();
}

// ---- the Windows programs' settings ----

QString TrimMailLinkCommand(const QString &command)
{
    const QString upper = command.toUpper();
    if (upper.contains(QLatin1String("RUNDLL32")))
        return command.left(qMax<qsizetype>(0, command.size() - 3));
    const qsizetype exe = upper.indexOf(QLatin1String("EXE"));
    if (exe >= 0)
        return command.left(exe + 3);
    return command;
}

QString GetMailPath(const SettingsReader &machine, const std::function<QString()> &mailtoHandler)
{
    const QString eudora = machine.readString(MachineKeys::EudoraAppPath, QStringLiteral("Path"));
    if (!eudora.isEmpty() && QFileInfo(eudora).isFile())
        return eudora;
    const QString link = machine.readString(MachineKeys::MailtoCommand, QString());
    if (!link.isEmpty())
        return TrimMailLinkCommand(link);
    return mailtoHandler ? mailtoHandler() : QString();
}

std::optional<ImportedMailbox> CheckEudora(const SettingsReader &machine)
{
    QString folder = machine.readString(MachineKeys::EudoraAppPath, QStringLiteral("Path"));
    if (folder.isEmpty())
        return std::nullopt;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder.append(u'/');
    const QString iniPath = folder + QStringLiteral("Eudora.ini");
    if (!QFileInfo(iniPath).isFile())
        return std::nullopt;
    TIniFile ini;
    if (!ini.Load(iniPath))
        return std::nullopt;
    const QString account = ini.ReadString(QStringLiteral("Settings"), QStringLiteral("POPAccount"));
    if (account.isEmpty())
        return std::nullopt;
    ImportedMailbox box;
    const qsizetype at = account.indexOf(u'@');
    if (at >= 0) {
        box.mailbox = account.left(at);
        box.server = account.mid(at + 1);
    } else {
        box.server = account;
    }
    return box;
}

std::optional<ImportedMailbox> CheckNetscape(const SettingsReader &machine)
{
    const QString name = machine.readString(MachineKeys::NetscapeMail, QStringLiteral("POP Name"));
    if (name.isEmpty())
        return std::nullopt;
    ImportedMailbox box;
    box.mailbox = name;
    box.server = machine.readString(MachineKeys::NetscapeServices, QStringLiteral("POP_Server"));
    return box;
}
