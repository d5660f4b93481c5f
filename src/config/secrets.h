#pragma once

#include <QString>

// A mailbox's secrets outside the settings file: the desktop keyring (the Secret Service of
// GNOME Keyring or KWallet, through QtKeychain) and a command that prints the secret.
//
// The keyring answers asynchronously; these calls wait for it in a local event loop, at most
// kKeyringWaitMs, so a keyring that never answers (a locked one whose prompt nobody sees)
// costs a bounded wait and an error, never a hang. They need a QCoreApplication.

enum class SecretKind { Password, RefreshToken };

// The name of a secret in the keyring: service "tarnwick", key "mailbox N USER@SERVER password"
// (or "refresh token"). The account is part of it, so that two data folders, or a slot that now
// names another mailbox, never take each other's secret.
QString SecretKey(int slot, const QString &account, SecretKind kind);

struct KeyringRead {
    QString secret;
    bool found = false;
    QString error;   // the keyring could not be asked; empty when it answered (found or not)
};

inline constexpr int kKeyringWaitMs = 20000;

KeyringRead ReadKeyringSecret(int slot, const QString &account, SecretKind kind);
// Empty on success, else what went wrong.
QString WriteKeyringSecret(int slot, const QString &account, SecretKind kind, const QString &secret);
// A secret that is not there is no error.
QString DeleteKeyringSecret(int slot, const QString &account, SecretKind kind);

// Whether a keyring answers at all (an entry that is not there is an answer); the error otherwise.
QString KeyringProblem();

// A secret command's bounds: its wait, and the output read from it.
inline constexpr int kSecretCommandWaitMs = 60000;
inline constexpr qint64 kMaxSecretCommandOutput = 64 * 1024;

struct CommandSecret {
    QString secret;
    QString error;   // names the command and says what went wrong; empty on success
};

// Runs command through /bin/sh -c; the first line of its output is the secret. A command that
// fails, stays silent, prints an empty first line or does not finish in time is an error.
// what: "password command" or "token command", slot: the mailbox, both for the message.
CommandSecret RunSecretCommand(const QString &command, const QString &what, int slot);
