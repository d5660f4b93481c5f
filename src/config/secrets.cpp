#include "secrets.h"
#include "wording.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("tarnwick");

struct JobOutcome {
    bool done = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorText;
    QString secret;
};

// Starts job and waits for it, at most kKeyringWaitMs. The job deletes itself when it ends,
// also after the wait gave up on it, so nothing here refers to it afterwards: the outcome is
// shared with its finished handler.
JobOutcome RunJob(QKeychain::Job *job)
{
    auto outcome = std::make_shared<JobOutcome>();
    if (!QCoreApplication::instance()) {
        delete job;
        outcome->done = true;
        outcome->error = QKeychain::OtherError;
        outcome->errorText = Said("Data", "the program has not started its event handling");
        return *outcome;
    }
    job->setAutoDelete(true);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [outcome, &loop](QKeychain::Job *finished) {
        outcome->done = true;
        outcome->error = finished->error();
        outcome->errorText = finished->errorString();
        if (auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(finished))
            outcome->secret = read->textData();
        loop.quit();
    });
    QTimer::singleShot(kKeyringWaitMs, &loop, &QEventLoop::quit);
    job->start();
    if (!outcome->done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!outcome->done) {
        // The job may still end later; its handler is gone with the loop.
        QObject::disconnect(job, nullptr, &loop, nullptr);
        return {true, QKeychain::OtherError,
                Said("Data", "the keyring did not answer within %1 seconds (is it locked?)")
                    .arg(kKeyringWaitMs / 1000),
                {}};
    }
    return *outcome;
}

QString Described(const JobOutcome &outcome)
{
    if (outcome.error == QKeychain::NoBackendAvailable)
        return Said("Data", "no desktop keyring (Secret Service) answers in this session");
    return outcome.errorText.isEmpty() ? Said("Data", "the keyring refused (error %1)").arg(int(outcome.error))
                                       : Said(outcome.errorText);
}

} // namespace

QString SecretKey(int slot, const QString &account, SecretKind kind)
{
    return QStringLiteral("mailbox %1 %2 %3")
        .arg(slot)
        .arg(account, kind == SecretKind::Password ? QStringLiteral("password") : QStringLiteral("refresh token"));
}

KeyringRead ReadKeyringSecret(int slot, const QString &account, SecretKind kind)
{
    auto *job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(SecretKey(slot, account, kind));
    const JobOutcome outcome = RunJob(job);
    KeyringRead read;
    if (outcome.error == QKeychain::NoError) {
        read.found = true;
        read.secret = outcome.secret;
    } else if (outcome.error != QKeychain::EntryNotFound) {
        read.error = Described(outcome);
    }
    return read;
}

QString WriteKeyringSecret(int slot, const QString &account, SecretKind kind, const QString &secret)
{
    auto *job = new QKeychain::WritePasswordJob(kService);
    job->setKey(SecretKey(slot, account, kind));
    job->setTextData(secret);
    const JobOutcome outcome = RunJob(job);
    return outcome.error == QKeychain::NoError ? QString() : Described(outcome);
}

QString DeleteKeyringSecret(int slot, const QString &account, SecretKind kind)
{
    auto *job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(SecretKey(slot, account, kind));
    const JobOutcome outcome = RunJob(job);
    return outcome.error == QKeychain::NoError || outcome.error == QKeychain::EntryNotFound ? QString()
                                                                                             : Described(outcome);
}

QString KeyringProblem()
{
    // Reading a key that is never written asks the keyring without changing it.
    auto *job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(QStringLiteral("availability probe"));
    const JobOutcome outcome = RunJob(job);
    return outcome.error == QKeychain::NoError || outcome.error == QKeychain::EntryNotFound ? QString()
                                                                                             : Described(outcome);
}

CommandSecret RunSecretCommand(const QString &command, const QString &what, int slot)
{
    const Said named = Said("Data", "The %1 of mailbox %2 (%3)").arg(what).arg(slot).arg(command);
    QProcess process;
    // The secret comes on standard output; what the command says to the user (a pinentry's
    // complaint) is read for the message and otherwise dropped.
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!process.waitForStarted(kSecretCommandWaitMs))
        return {{}, Said("Data", "%1 could not be started: %2").arg(named, process.errorString())};
    process.closeWriteChannel();
    // Read as it comes, keeping only the bounded start of each channel: a command that prints
    // without end costs time until the deadline, never memory.
    const QDeadlineTimer deadline(kSecretCommandWaitMs);
    QByteArray output;
    QByteArray errors;
    const auto drain = [&process, &output, &errors] {
        output += process.readAllStandardOutput().left(qMax<qint64>(0, kMaxSecretCommandOutput - output.size()));
        errors += process.readAllStandardError().left(qMax<qint64>(0, 400 - errors.size()));
    };
    // Each wait returns with the little the pipe held, so the buffers never grow past that.
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        process.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 100)));
        drain();
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return {{}, Said("Data", "%1 did not finish within %2 seconds").arg(named, QString::number(kSecretCommandWaitMs / 1000))};
    }
    drain();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(errors).section(u'\n', 0, 0).trimmed();
        return {{},
                (process.exitStatus() != QProcess::NormalExit
                     ? Said("Data", "%1 crashed").arg(named)
                     : Said("Data", "%1 failed with exit status %2").arg(named, QString::number(process.exitCode())))
                    + (said.isEmpty() ? QString() : QStringLiteral(": ") + said)};
    }
    QByteArray line = output.left(output.indexOf('\n') < 0 ? output.size() : output.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        return {{}, Said("Data", "%1 printed no secret: its first line of output is empty").arg(named)};
    if (line.contains('\0'))
        return {{}, Said("Data", "%1 printed a NUL character").arg(named)};
    return {QString::fromUtf8(line), {}};
}
