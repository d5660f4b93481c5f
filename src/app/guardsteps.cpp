#include "guardsteps.h"

#include "files.h"
#include "textutil.h"
#include "tls.h"
#include "wording.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {
// The first 201 characters of the sound file name are all the alarm ever used.
constexpr int kAlarmNameLength = 201;
} // namespace

QList<TMailboxEntry> MailboxChoices(const ServerSettings &servers)
{
    QList<TMailboxEntry> entries;
    bool otherSlot = false;
    for (int n = 1; n <= kMailboxSlots; ++n) {
        const MailboxSlot &slot = servers.slot(n);
        if (slot.server.isEmpty())
            continue;
        otherSlot = otherSlot || n >= 2;
        entries.append({n, QStringLiteral("%1) Mailbox %2 - Server %3").arg(n).arg(slot.mailbox, slot.server)});
    }
    return otherSlot ? entries : QList<TMailboxEntry>();
}

bool StartDetached(const QString &command)
{
    QStringList parts = QProcess::splitCommand(command);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

QString ViewedMessageFile(int row)
{
    return DataFolder() + QStringLiteral("/msg_%1.eml").arg(row);
}

void RemoveViewedMessages()
{
    // A mailbox of more than a hundred messages leaves "msg_101.eml" and beyond, and those
    // must not pile up either.
    QDir folder(DataFolder());
    for (const QString &name : folder.entryList({QStringLiteral("msg_*.eml")}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

QString AlarmSoundFile(const QString &set)
{
    QString name = set.left(kAlarmNameLength);
    if (IsBlankText(name))
        name = DataFile(QStringLiteral("harptune.wav"));
    return QFileInfo(name).isFile() ? name : QString();
}

void DropFromListing(TMailboxListing &listing, const QList<int> &indexes)
{
    for (qsizetype k = listing.messages.size(); k-- > 0;)
        if (indexes.contains(int(k)))
            listing.messages.removeAt(k);
}

TTrustStored StoreTrustedCertificate(TRunParts &run, int n, const QString &fingerprint)
{
    TTrustStored out;
    const QString normalized = NormalizeFingerprint(fingerprint);
    if (n < 1 || n > kMailboxSlots || normalized.isEmpty()) {
        out.error = Said("Guard", "\"%1\" is not a certificate fingerprint: it must be 64 hex digits "
                                   "(SHA-256), with or without colons.")
                        .arg(fingerprint);
        return out;
    }
    run.servers.slot(n).fingerprint = normalized;
    out.taken = true;
    if (!run.settings.writeString(SettingsSection::Server, QStringLiteral("Fingerprint%1").arg(n), normalized)
        || !run.settings.flush())
        out.error = Said("Guard", "The trusted certificate of mailbox %1 is used until Tarnwick ends, "
                                   "but it could not be stored: %2")
                        .arg(n)
                        .arg(run.settings.lastError());
    return out;
}

QString AdoptSettingsEdit(TRunParts &run, const TSettingsEdit &stored)
{
    const qint64 counted = run.general.count;
    run.general = stored.general;
    run.servers = stored.servers;
    if (stored.countReset || counted == run.general.count)
        return {};
    run.general.count = counted;
    if (SaveSpamCount(run.settings, counted))
        return {};
    return Said("Guard", "The count of deleted spam could not be stored: %1").arg(run.settings.lastError());
}
