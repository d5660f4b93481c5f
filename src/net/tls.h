#pragma once

#include <QString>

class QSslCertificate;

// How a mailbox's connection is secured. The values are those the settings store keeps per
// mailbox slot ("Tls"n): 0 none, 1 implicit TLS, 2 STLS.
enum class TmsTlsMode {
    None = 0,      // plain POP3 on port 110
    Implicit = 1,  // TLS from the first byte, port 995 (RFC 8314)
    StartTls = 2,  // plain connection upgraded with STLS before the log-in (RFC 2595)
};

// The TLS choice of one mailbox. TrustedFingerprint is the SHA-256 fingerprint of a certificate
// the user accepted although it failed the check (a self-signed one, say); empty when none.
// It may be written with or without colons, in either case.
struct TmsTlsSettings {
    TmsTlsMode Mode = TmsTlsMode::None;
    QString TrustedFingerprint;
};

// Maps a stored slot value to a mode; anything unknown means no TLS.
TmsTlsMode TlsModeFromInt(int value);

// SHA-256 over the certificate's DER bytes, as 64 lower-case hex digits.
QString CertificateFingerprint(const QSslCertificate &certificate);

// A fingerprint as the user or the settings file wrote it ("AB:CD:..." or "abcd...") in the form
// CertificateFingerprint gives; empty when it is not 32 bytes of hex.
QString NormalizeFingerprint(const QString &fingerprint);

// "AB:CD:EF:..." for showing a fingerprint to the user.
QString FormatFingerprint(const QString &fingerprint);
