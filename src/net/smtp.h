#pragma once

#include "mailbase.h"

// An SMTP client (RFC 821 / 5321) that opens and closes a session: the greeting, HELO with this
// machine's name, and QUIT. With TLS it either speaks TLS from the first byte (implicit TLS,
// port 465, RFC 8314) or upgrades the plain connection with EHLO and STARTTLS (RFC 3207) before
// its HELO.
//
// Replies are numbered; a reply may continue over several lines ("220-..." up to "220 ...", or a
// last line that is the code alone) and is read whole with ReadReply. A reply is accepted when
// its code is 2xx.
//
// The program sends no mail through this client, so it has no envelope, recipient or data
// members; a test that needs a message on a server writes MAIL, RCPT and DATA itself with
// SendLine and ReadReply after Connect.
class TmsSMTP : public TmsMailBase
{
    Q_OBJECT

public:
    explicit TmsSMTP(QObject *parent = nullptr);

    // Refuses an empty Server before anything else happens, then opens the connection.
    void Open() override;
    // Greeting, (EHLO and STARTTLS when asked for,) HELO with the local host name, and a bare
    // HELO when the server refuses the first. A refusal raises EServerError with the server's
    // line; any failure closes the connection, so that a later Connect starts afresh instead of
    // taking a half-opened session for a logged-in one.
    void Login() override;
    // QUIT; a refusal raises EServerError with the server's line.
    void Quit() override;

    // A reply code counts as accepted when it is 2xx.
    static bool Accepted(int code) { return code / 100 == 2; }

private:
    // Sends a command and reads its whole reply; returns the reply's code.
    int Command(const QString &line);
    void RequireAccepted(int code);
};
