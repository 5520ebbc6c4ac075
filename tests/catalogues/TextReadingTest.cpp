#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "catalogues/TextCursor.h"

namespace {

TEST(BoundedLineRead, StopsAfterTheLineEndOrAtItsMaximumAndTheNextReadContinues) {
    TextCursor text("CMa\nAlp1\nK0III \n");
    EXPECT_EQ(text.ReadLine(4), "CMa\n");
    EXPECT_EQ(text.ReadLine(3), "Alp");  // the maximum comes first
    EXPECT_EQ(text.ReadLine(5), "1\n");  // and the rest is the next read's
    EXPECT_EQ(text.ReadLine(21), "K0III \n");
    EXPECT_EQ(text.ReadLine(63), "");  // nothing left: an empty read, never a stale one
    EXPECT_TRUE(text.AtEnd());
}

TEST(BoundedLineRead, SkippingALineLandsAfterItsEndOrAtTheEndOfTheText) {
    TextCursor text("rest of a long line\nnext");
    text.SkipLine();
    EXPECT_EQ(text.ReadLine(10), "next");
    text.SkipLine();
    EXPECT_TRUE(text.AtEnd());
}

TEST(FormattedRead, IntegersSkipBlanksTakeASignAndStopAtTheFirstNonDigit) {
    TextCursor text("  \n 42x -7 +9");
    uint32_t u = 0;
    EXPECT_TRUE(text.ReadUnsigned(u));
    EXPECT_EQ(u, 42u);
    char c = 0;
    EXPECT_TRUE(text.ReadChar(c));
    EXPECT_EQ(c, 'x');
    // A minus sign wraps round, as the C library's unsigned conversion does.
    EXPECT_TRUE(text.ReadUnsigned(u));
    EXPECT_EQ(u, 4294967289u);
    uint16_t h = 0;
    EXPECT_TRUE(text.ReadUnsignedShort(h));
    EXPECT_EQ(h, 9u);
    EXPECT_FALSE(text.ReadUnsigned(u));  // at the end: nothing converted, nothing stored
    EXPECT_EQ(u, 4294967289u);
}

TEST(FormattedRead, AHugeCountSaturatesInsteadOfWrappingToASmallNumber) {
    uint32_t count = 0;
    TextCursor huge("99999999999999999999999\n");
    EXPECT_TRUE(huge.ReadCount(count));
    EXPECT_EQ(count, 4294967295u);
    TextCursor negative("-99999999999999999999999\n");
    EXPECT_TRUE(negative.ReadCount(count));
    EXPECT_EQ(count, 4294967295u);
    TextCursor all("4294967295\n");
    EXPECT_TRUE(all.ReadCount(count));
    EXPECT_EQ(count, 4294967295u);
}

TEST(FormattedRead, AFieldThatIsNotANumberFailsAndLeavesTheTextWhereItStands) {
    TextCursor text("  Ori 5");
    uint32_t u = 7;
    float f = 7.0f;
    EXPECT_FALSE(text.ReadUnsigned(u));
    EXPECT_FALSE(text.ReadFloat(f));
    EXPECT_EQ(u, 7u);
    EXPECT_EQ(f, 7.0f);
    EXPECT_EQ(text.ReadLine(3), "Ori");
}

TEST(FormattedRead, FloatsAreTheCorrectlyRoundedValueOfTheDecimal) {
    // The reader takes a shortcut for short decimals; it must give exactly
    // what the C library gives, digit count and sign notwithstanding.
    std::mt19937_64 random(7);
    char buffer[64];
    for (int i = 0; i < 200000; ++i) {
        const int decimals = static_cast<int>(random() % 10);
        const double magnitude = std::ldexp(static_cast<double>(random() % 1000000007), -static_cast<int>(random() % 30));
        const double v = (random() % 2 ? -1.0 : 1.0) * magnitude;
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
        TextCursor text(buffer);
        float got = 0.0f;
        ASSERT_TRUE(text.ReadFloat(got)) << buffer;
        ASSERT_EQ(got, std::strtof(buffer, nullptr)) << buffer;
        ASSERT_TRUE(text.AtEnd()) << buffer;
    }
}

TEST(FormattedRead, FloatsWithExponentsLeadingPointsOrOverflowAsTheCLibraryReadsThem) {
    for (const char* s : {"1.5e3", "-2.5E-2", ".5", "5.", "-0.0", "1e40", "1e-50", "0.000000000123456789",
                          "123456789012345678", "16777217", "0.1000000000000000055511151231257827"}) {
        TextCursor text(s);
        float got = 0.0f;
        ASSERT_TRUE(text.ReadFloat(got)) << s;
        EXPECT_EQ(got, std::strtof(s, nullptr)) << s;
        EXPECT_EQ(std::signbit(got), std::signbit(std::strtof(s, nullptr))) << s;
    }
}

}  // namespace
