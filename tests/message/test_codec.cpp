#include "codec.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodeBase64Text, Table)
{
    const struct { const char *in; std::optional<QByteArray> out; } cases[] = {
        {"", QByteArray()}, {"QQ==", QByteArray("A")}, {"QUI=", QByteArray("AB")}, {"QUJD", QByteArray("ABC")},
        {"QUJDRA==", QByteArray("ABCD")}, {"+/+/", QByteArray("\xfb\xff\xbf", 3)}, {"AAAA", QByteArray(3, '\0')},
        {"QUJDRA", QByteArray("ABC")},      // a dangling group is not decoded
        {"QU", QByteArray()},
        {"QQ==QUI=", QByteArray("AAB")},    // padding in the middle adds nothing
        {"====", QByteArray()}, {"QU$D", std::nullopt},
        {"QUJD$", std::nullopt},            // even in a dangling group
        {"QUJ D", std::nullopt}, {"QUJ_", std::nullopt}, {"QUJD\xc3\xa9", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecodeBase64Text(QByteArray(c.in)), c.out) << c.in;
}

TEST(DecodeQPText, Table)
{
    const struct { const char *in; QByteArray out; } cases[] = {
        {"", QByteArray()}, {"plain", QByteArray("plain")}, {"Caf=E9", QByteArray("Caf\xe9")},
        {"=e9=Fc", QByteArray("\xe9\xfc")}, {"a=zzb", QByteArray("a=zzb")},
        {"a=4", QByteArray("a=4")},        // the last character is never an escape
        {"=4", QByteArray("=4")},
        {"ab=", QByteArray("ab")},         // soft line break
        {"=", QByteArray()}, {"a==41", QByteArray("a=A")},
        {"a=0D=0Ab", QByteArray("a")},     // only the text before a line break
        {"x=0Ay", QByteArray("x")}, {"=00z", QByteArray("\0z", 2)}, {"under_score", QByteArray("under_score")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecodeQPText(QByteArray(c.in)), c.out) << c.in;
}

} // namespace
