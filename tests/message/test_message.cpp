#include "message.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

QStringList Items(const TmsAddressList &list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out.append(list.Item(i).Name() + u'|' + list.Item(i).Address());
    return out;
}

TEST(ReadHeaderFields, FillsEveryProperty)
{
    const TmsHeaders headers{
        QStringLiteral("Return-Path: <bounce@x>"),
        QStringLiteral("From: =?utf-8?Q?J=C3=BCrgen?= \"Bauer\" <jb@example.com>"),
        QStringLiteral("To: \"Doe, John\" <jd@x.com>, b@x.com,"),
        QStringLiteral("\tc@x.com (Carl)"),
        QStringLiteral("Cc: d@y"),
        QStringLiteral("Bcc: \"E\" <e@z>"),
        QStringLiteral("Subject: =?iso-8859-1?Q?Caf=E9?="),
        QStringLiteral("X-Priority: 1"),
        QStringLiteral("Return-receipt-to: jb@example.com"),
    };
    TmsMessage message;
    ReadHeaderFields(message, headers);

    EXPECT_EQ(message.Sender().Address(), QStringLiteral("jb@example.com"));
    EXPECT_EQ(message.Sender().Name(), QString::fromUtf8("J\u00fcrgen Bauer"));
    EXPECT_EQ(Items(message.Recipients()),
              (QStringList{QStringLiteral("Doe, John|jd@x.com"), QStringLiteral("|b@x.com"),
                           QStringLiteral("Carl|c@x.com")}));
    EXPECT_EQ(Items(message.CC()), QStringList{QStringLiteral("|d@y")});
    EXPECT_EQ(Items(message.BCC()), QStringList{QStringLiteral("E|e@z")});
    EXPECT_EQ(message.Subject(), QString::fromUtf8("Caf\u00e9"));
    EXPECT_EQ(message.Priority(), ptHigh);
    EXPECT_TRUE(message.ReturnReceipt());
    EXPECT_EQ(message.Headers(), headers);
}

TEST(ReadHeaderFields, PriorityTakesOnlyBareNumbers)
{
    const std::pair<const char *, TPriority> cases[] = {{"X-Priority: 1", ptHigh}, {"X-Priority:5", ptLow},
        {"X-Priority: 3", ptNormal}, {"X-Priority: 1 (Highest)", ptNormal}, {"X-Mailer: x", ptNormal}};
    for (const auto &[line, expected] : cases) {
        TmsMessage message;
        message.SetPriority(expected == ptHigh ? ptLow : ptHigh); // a value the line must overwrite
        ReadHeaderFields(message, {QString::fromUtf8(line)});
        EXPECT_EQ(message.Priority(), expected) << line;
    }
}

TEST(ReadHeaderFields, AppendsAndKeepsWhatIsMissing)
{
    TmsMessage message;
    message.SetSubject(QStringLiteral("kept"));
    message.SetReturnReceipt(true);
    message.Recipients().Append(TmsMailAddress(QStringLiteral("Old"), QStringLiteral("old@x")));

    ReadHeaderFields(message, {QStringLiteral("To: new@x"), QStringLiteral("Subject:"),
                               QStringLiteral("Return-receipt-to:")});
    EXPECT_EQ(message.Subject(), QStringLiteral("kept"));
    EXPECT_TRUE(message.ReturnReceipt());
    EXPECT_EQ(Items(message.Recipients()), (QStringList{QStringLiteral("Old|old@x"), QStringLiteral("|new@x")}));
    // The sender is always read; a missing From leaves it empty.
    EXPECT_TRUE(message.Sender().Address().isEmpty());
}

TEST(ReadHeaderFields, MalformedHeadersNeverStopIt)
{
    const TmsHeaders headers{
        QStringLiteral("From: =?utf-8?B?####?= <a@x"),
        QStringLiteral("To: =?utf-8?B?!?=, \"unclosed, <b@y>"),
        QStringLiteral("Subject: =?utf-8?B?@@@@?= =?utf-8?Q?ok"),
        QStringLiteral("TOMATO"),
        QStringLiteral("X-Priority: =?x?Q?1?="),
    };
    TmsMessage message;
    ReadHeaderFields(message, headers);
    EXPECT_EQ(message.Sender().Address(), QString());
    EXPECT_EQ(message.Sender().Name(), QStringLiteral("=?utf-8?B?####?= <a@x"));
    EXPECT_EQ(Items(message.Recipients()),
              (QStringList{QStringLiteral("|=?utf-8?B?!?="), QStringLiteral("unclosed, <b@y>|")}));
    EXPECT_EQ(message.Subject(), QStringLiteral("=?utf-8?B?@@@@?= "));
    EXPECT_EQ(message.Priority(), ptHigh);
}

} // namespace
