#include "autostart.h"

#include "files.h"
#include "wording.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// One argument of an Exec key: quoted when it holds anything the desktop would read as
// syntax, with the quoted characters escaped; "%" doubled since it starts a field code.
QString ExecArgument(const QString &arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=");
    QString text = arg;
    text.replace(u'%', QStringLiteral("%%"));
    bool quote = text.isEmpty();
    for (const QChar c : text)
        quote = quote || reserved.contains(c);
    if (!quote)
        return text;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// A string value of a desktop entry: a backslash is written as "\\"; line breaks and tabs
// as their escapes.
QString EscapeValue(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default: out += c; break;
        }
    }
    return out;
}

} // namespace

QString AutostartFile()
{
    return XdgConfigHome() + QStringLiteral("/autostart/tarnwick.desktop");
}

bool IsAutostartEnabled()
{
    const std::optional<QStringList> lines = ReadTextLines(AutostartFile());
    if (!lines)
        return false;
    bool inEntry = false;
    for (const QString &raw : *lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if ((key == QStringLiteral("Hidden") && value == QStringLiteral("true"))
            || (key == QStringLiteral("X-GNOME-Autostart-enabled") && value == QStringLiteral("false")))
            return false;
    }
    return true;
}

QString AutostartEntry(const QString &program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tarnwick\n"
                          "Comment=Checks your POP3 mailboxes for spam\n"
                          "Exec=%1\n"
                          "Icon=tarnwick\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(EscapeValue(ExecArgument(program)));
}

bool SetAutostart(bool enabled, const QString &program, QString *errorText)
{
    if (errorText)
        errorText->clear();
    const QString file = AutostartFile();
    if (!enabled) {
        if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink())
            return true;
        QFile entry(file);
        if (entry.remove())
            return true;
        if (errorText)
            *errorText = Said("Data", "Tarnwick could not stop starting with your desktop: the file "
                                        "\"%1\" cannot be removed (%2). Remove it yourself, or check "
                                        "that you may write to its folder.")
                             .arg(file, entry.errorString());
        return false;
    }
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (errorText)
            *errorText = Said("Data", "Tarnwick could not set itself to start with your desktop: the "
                                        "folder \"%1\" cannot be created. Check that you may write to "
                                        "it, then save again.")
                             .arg(folder);
        return false;
    }
    QString why;
    if (!WriteWholeFile(file, AutostartEntry(program).toUtf8(), &why)) {
        if (errorText)
            *errorText = Said("Data", "Tarnwick could not set itself to start with your desktop. %1. "
                                        "Check that you may write to \"%2\", then save again.")
                             .arg(why, folder);
        return false;
    }
    return true;
}
