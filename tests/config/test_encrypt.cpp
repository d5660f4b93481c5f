#include "encrypt.h"

#include <gtest/gtest.h>

namespace {

TEST(Scramble, EveryByteValueRoundTripsInEverySlot)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    for (int slot = 1; slot <= kMailboxSlots; ++slot) {
        const quint16 key = ScrambleStartKey(slot);
        const QByteArray scrambled = ScrambleBytes(all, key);
        ASSERT_EQ(scrambled.size(), all.size());
        EXPECT_NE(scrambled, all);
        EXPECT_EQ(UnscrambleBytes(scrambled, key), all) << "slot " << slot;
        // Every value also in first place, before the key has moved.
        for (int b = 0; b < 256; ++b) {
            const QByteArray one(1, char(b));
            EXPECT_EQ(UnscrambleBytes(ScrambleBytes(one, key), key), one);
        }
    }
}

TEST(Scramble, StoredFormIsStableAcrossVersions)
{
    // Worked out by hand from the scheme and this program's constants. Should one of these
    // change, every password users have saved becomes unreadable.
    EXPECT_EQ(ScramblePassword("Sesam-öffne-dich", 1), "6f7926e0985f9f261c6d725692af5bed47");
    EXPECT_EQ(ScramblePassword("Sesam-öffne-dich", 12), "6f37cb3f03eb3ad06ad92079241ac8c6ba");
    EXPECT_EQ(UnscramblePassword("4F14717129D0", 3), "secret");
    // Past the classic 255-byte range the key keeps running: nothing is cut.
    const QString longPassword(300, u'ä');
    EXPECT_EQ(UnscramblePassword(ScramblePassword(longPassword, 7), 7), longPassword);
}

TEST(Scramble, EmptyAndDamagedStoredForms)
{
    EXPECT_EQ(ScramblePassword(QString(), 5), QString());
    EXPECT_EQ(UnscramblePassword(QString(), 5), QString());
    for (const char *text : {"abc", "zz", "12 34", "secret", "０１"})
        EXPECT_FALSE(UnscramblePassword(QString::fromUtf8(text), 5).has_value()) << text;
}

} // namespace
