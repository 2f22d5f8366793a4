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
}

TEST(Text, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(equalsIgnoreCase("MasterData", "masterDATA"));
    EXPECT_FALSE(equalsIgnoreCase("abc", "abcd"));
    EXPECT_FALSE(equalsIgnoreCase("\xC4", "\xE4"));  // Latin-1 letters are not folded
    EXPECT_TRUE(startsWithIgnoreCase("SQLite:/tmp/x", "sqlite:"));
    EXPECT_FALSE(startsWithIgnoreCase("sql", "sqlite:"));
    EXPECT_EQ(toLower("AbC-\xC4"), "abc-\xC4");
    EXPECT_EQ(toUpper("AbC-z"), "ABC-Z");
}

TEST(Text, SplitKeepsEmptyPieces) {
    EXPECT_THAT(split("a;;b", ';'), ElementsAre("a", "", "b"));
    EXPECT_THAT(split("", ';'), ElementsAre(""));
    EXPECT_THAT(split(";", ';'), ElementsAre("", ""));
}

}  // namespace
}  // namespace platform
