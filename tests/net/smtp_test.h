#pragma once

#include "smtp.h"
#include "smtp_env.h"

#include <QStringList>
#include <gtest/gtest.h>

// Base of the tests that run against the fixture's aiosmtpd: loads its description before each
// test (a test whose fixture is not up stops there).
class SmtpServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        std::optional<SmtpEnv> loaded = SmtpEnv::Load(SmtpEnv::DefaultIni(), &error);
        ASSERT_TRUE(loaded) << error.toStdString();
        env = *loaded;
    }

    void Configure(TmsSMTP &smtp, quint16 port, TmsTlsMode mode = TmsTlsMode::None,
                   const QString &trusted = QString())
    {
        smtp.SetServer(env.Server(port));
        smtp.SetTimeOut(5);
        smtp.SetTls({mode, trusted});
        smtp.OnError = [this](QObject *, QString &msg) { errors << msg; };
    }

    SmtpEnv env;
    QStringList errors;
};
