#include "unattendedprompts.h"
#include "wording.h"

#include <cstdio>

TUnattendedPrompts::TUnattendedPrompts(QString program, QString trustHint)
    : m_program(std::move(program)), m_trustHint(std::move(trustHint))
{
}

void TUnattendedPrompts::line(const QString &text) const
{
    const QByteArray bytes = (m_program + QStringLiteral(": ") + prefix + text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void TUnattendedPrompts::ErrorBox(const QString &text)
{
    ++errors;
    texts << text;
    line(Said("Guard", "error: %1").arg(text));
}

void TUnattendedPrompts::InfoBox(const QString &text)
{
    line(text);
}

bool TUnattendedPrompts::AskYesNo(const QString &text)
{
    line(Said("Guard", "%1 (answered No)").arg(text));
    return false;
}

int TUnattendedPrompts::ChooseMailbox(const QList<TMailboxEntry> &, int current)
{
    return current;
}

bool TUnattendedPrompts::AskTrustCertificate(int slot, const QString &message, const QString &fingerprint)
{
    ErrorBox(message);
    if (!m_trustHint.isEmpty())
        line(m_trustHint.arg(slot).arg(fingerprint));
    return false;
}
