// Other programs' files read on a fresh installation: Thunderbird's profiles.ini and prefs.js
// and the desktop entry of the user's mail program. Any bytes: nothing may crash, and what
// is taken over must be usable.
#include "imports.h"
#include "textutil.h"

#include <QProcess>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Stops the run at a broken expectation, naming its line (the inlined check has none).
void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = DecodeUtf8OrLatin1(bytes);

    for (const ThunderbirdProfile &profile : ParseThunderbirdProfiles(text))
        Check(!profile.path.isEmpty());

    // An empty preference name (user_pref("", ...)) is kept like any other: nothing asks for it.
    const QHash<QString, QString> prefs = ParsePrefsJs(text);
    if (const std::optional<ImportedMailbox> mailbox = FirstPop3Account(prefs))
        Check(!TrimControls(mailbox->server).isEmpty());

    const QString command = DesktopEntryCommand(text, QStringLiteral("/usr/share/applications/x.desktop"));
    if (!command.isEmpty())
        QProcess::splitCommand(command);

    const QStringList candidates = DesktopFileCandidates(text.left(300), {QStringLiteral("/usr/share")});
    for (const QString &file : candidates)
        Check(file.startsWith(QStringLiteral("/usr/share/applications/")) && !file.contains(QStringLiteral("/../")));
    return 0;
}
