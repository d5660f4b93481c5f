#include "tls.h"

#include <QCryptographicHash>
#include <QSslCertificate>

TmsTlsMode TlsModeFromInt(int value)
{
    switch (value) {
    case 1: return TmsTlsMode::Implicit;
    case 2: return TmsTlsMode::StartTls;
    default: return TmsTlsMode::None;
    }
}

QString CertificateFingerprint(const QSslCertificate &certificate)
{
    if (certificate.isNull())
        return QString();
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex());
}

QString NormalizeFingerprint(const QString &fingerprint)
{
    QString hex;
    hex.reserve(64);
    for (const QChar c : fingerprint) {
        if (c == u':' || c == u' ' || c == u'\t')
            continue;
        const char16_t u = c.toLower().unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f')))
            return QString();
        hex.append(QChar(u));
    }
    return hex.size() == 64 ? hex : QString();
}

QString FormatFingerprint(const QString &fingerprint)
{
    const QString hex = NormalizeFingerprint(fingerprint).toUpper();
    QString out;
    for (int i = 0; i < hex.size(); i += 2) {
        if (i > 0)
            out.append(u':');
        out.append(hex.mid(i, 2));
    }
    return out;
}
