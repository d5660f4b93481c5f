#include "address.h"
#include "message.h"
#include "textutil.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase { const char *title; const char *in; const char *address; const char *name; };

const AddressCase kAddressCases[] = {
    // A display name never poses as the address.
    {"quoted name holding an angle address", "\"<friend@trusted.example>\" <spam@evil.example>",
     "spam@evil.example", "<friend@trusted.example>"},
    {"quoted name holding a named address", "\"Boss <boss@corp.example>\" <spam@evil.example>",
     "spam@evil.example", "Boss <boss@corp.example>"},
    {"encoded word holding an angle address", "=?UTF-8?Q?=3Cceo@corp.example=3E?= <spam@evil.example>",
     "spam@evil.example", "<ceo@corp.example>"},
    {"comment holding an angle address", "spam@evil.example (<ceo@corp.example>)", "spam@evil.example",
     "<ceo@corp.example>"},
    {"quote that never closes", "\"x <ceo@corp.example>", "", "x <ceo@corp.example>"},
    // The forms mail is written in.
    {"empty text", "", "", ""},
    {"encoded name with a comma", "=?utf-8?Q?Doe,_J=C3=BCrgen?= <j@x>", "j@x", "Doe, J\u00fcrgen"},
    {"encoded and quoted words", "=?utf-8?Q?J=C3=BCrgen?= \"Bauer\" <jb@x>", "jb@x", "J\u00fcrgen Bauer"},
    {"quoted pairs in a name", "\"Jo \\\"the\\\" Boss\" <j@x>", "j@x", "Jo \"the\" Boss"},
    {"8-bit name", "J\u00fcrgen \u00ff <j@x>", "j@x", "J\u00fcrgen \u00ff"},
    {"brackets only", "<j@x>", "j@x", ""},
    {"quoted address inside brackets", "Jo <\"j@x\">", "j@x", "Jo"},
    {"name after the brackets", "<j@x> Jo", "j@x", "Jo"},
    {"comment before the name is dropped", "(c) Jo <j@x>", "j@x", "Jo"},
    {"two mailboxes: the first", "A <a@x>, \"B, C\" <b@y>", "a@x", "A"},
    {"group: its first mailbox", "Friends: \"Ann\" <a@x>, b@y;", "a@x", "Ann"},
    {"comment that never closes", "a@x (Jo", "a@x", "Jo"},
    {"missing closing bracket", "John Doe <john@example.com", "", "John Doe <john@example.com"},
    {"closing bracket before opening", "x> John <j@x", "", "x> John <j@x"},
};

TEST(ParseMailAddress, FindsTheAddressTheMailIsFrom)
{
    for (const AddressCase &c : kAddressCases) {
        TmsMailAddress parsed(QStringLiteral("old name"), QStringLiteral("old@address"));
        ParseMailAddress(QString::fromUtf8(c.in), parsed);
        EXPECT_EQ(parsed.Address(), QString::fromUtf8(c.address)) << c.title;
        EXPECT_EQ(parsed.Name(), QString::fromUtf8(c.name)) << c.title;
        // The same text as a From field, folded after the colon, through the one sender reader.
        const TmsHeaders headers{QStringLiteral("X: y"), QStringLiteral("From:"), u' ' + QString::fromUtf8(c.in)};
        EXPECT_EQ(SenderAddress(headers), parsed.Address()) << c.title;
        TmsMessage message;
        ReadHeaderFields(message, headers);
        EXPECT_EQ(message.Sender(), parsed) << c.title;
    }
}

TEST(MailAddressLimit, FieldsAreCutOnCodePoints)
{
    const QString smile = QString::fromUtf8("\U0001F600");
    const QString name = QString(254, u'n') + smile + smile;
    TmsMailAddress parsed;
    ParseMailAddress(name + QStringLiteral(" <") + QString(300, u'a') + QStringLiteral("@x>"), parsed);
    EXPECT_EQ(parsed.Name(), QString(254, u'n') + smile);
    EXPECT_EQ(parsed.Address(), QString(255, u'a'));
}

} // namespace
