#include "platform/text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace platform {
namespace {

using ::testing::ElementsAre;

TEST(Text, TrimBlanksKeepsOtherWhiteSpaceWhileTrimWhitespaceTakesItAll) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimWhitespace(" \t\r\na b\n\v\f "), "a b");
    EXPECT_EQ(trimWhitespace(""), "");
    EXPECT_EQ(trimBlanksAndTabs(" \t1.5\t \r"), "1.5\t \r");
}

TEST(Text, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(equalsIgnoreCase("MasterData", "masterDATA"));
    EXPECT_FALSE(equalsIgnoreCase("abc", "abcd"));
    EXPECT_FALSE(equalsIgnoreCase("\xC4", "\xE4"));  // Latin-1 letters are not folded
    EXPECT_TRUE(startsWithIgnoreCase("SQLite:/tmp/x", "sqlite:"));
    EXPECT_FALSE(startsWithIgnoreCase("sql", "sqlite:"));
    EXPECT_EQ(toLower("AbC-\xC4"), "abc-\xC4");
    EXPECT_EQ(toUpper("AbC-z"), "ABC-Z");
    std::string reused = "a much longer text than the next";
    assignUpper(reused, "cuni");
    EXPECT_EQ(reused, "CUNI");
}

TEST(Text, MidCountsFromOneAndStopsAtTheEnd) {
    EXPECT_EQ(mid("20261207 0905", 5, 2), "12");
    EXPECT_EQ(mid("20261207 0905", 10, 99), "0905");
    EXPECT_EQ(mid("2026", 5, 2), "");
    EXPECT_EQ(mid("2026", 0, 2), "");
    EXPECT_TRUE(isDigits("0123"));
    EXPECT_FALSE(isDigits(""));
    EXPECT_FALSE(isDigits("1 2"));
}

TEST(Text, SplitKeepsEmptyPieces) {
    EXPECT_THAT(split("a;;b", ';'), ElementsAre("a", "", "b"));
    EXPECT_THAT(split("", ';'), ElementsAre(""));
    EXPECT_THAT(split(";", ';'), ElementsAre("", ""));
}

}  // namespace
}  // namespace platform
