#include "platform/Wildcard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace twinfold;

TEST(Wildcard, StarMatchesAnyRunIncludingNone)
{
    EXPECT_TRUE(matchesPattern("report.txt", "*.txt"));
    EXPECT_TRUE(matchesPattern(".txt", "*.txt"));
    EXPECT_TRUE(matchesPattern("a.b.txt", "*.txt"));
    EXPECT_FALSE(matchesPattern("report.txt.bak", "*.txt"));
    EXPECT_TRUE(matchesPattern("report.txt", "re*t*.t*t"));
    EXPECT_TRUE(matchesPattern("anything", "*"));
    EXPECT_TRUE(matchesPattern("abc", "a**c"));
    EXPECT_FALSE(matchesPattern("abcd", "a*c"));
}

TEST(Wildcard, QuestionMarkMatchesExactlyOneCharacter)
{
    EXPECT_TRUE(matchesPattern("a1.txt", "a?.txt"));
    EXPECT_FALSE(matchesPattern("a.txt", "a?.txt"));
    EXPECT_FALSE(matchesPattern("a12.txt", "a?.txt"));
    EXPECT_TRUE(matchesPattern("abc", "???"));
    EXPECT_FALSE(matchesPattern("abcd", "???"));
}

TEST(Wildcard, LettersMatchWithoutRegardToCase)
{
    EXPECT_TRUE(matchesPattern("REPORT.TXT", "*.txt"));
    EXPECT_TRUE(matchesPattern("report.txt", "*.TXT"));
    EXPECT_TRUE(matchesPattern("MiXeD.Ini", "mixed.INI"));
    // Only ASCII letters fold; other bytes must be equal.
    EXPECT_FALSE(matchesPattern("\xc3\xa9.txt", "\xc3\x89.txt"));
    EXPECT_FALSE(matchesPattern("a_b", "a-b"));
}

TEST(Wildcard, NameWithoutDotMatchesAsIfEndingInDot)
{
    EXPECT_TRUE(matchesPattern("README", "*.*"));
    EXPECT_TRUE(matchesPattern("a.wk", "*.wk*"));
    EXPECT_TRUE(matchesPattern("a.wk1", "*.wk*"));
    EXPECT_TRUE(matchesPattern("Makefile", "make*."));
    EXPECT_FALSE(matchesPattern("xls", "*.xls"));
    EXPECT_FALSE(matchesPattern("a.txt", "*."));
    EXPECT_TRUE(matchesPattern("noext", "noext."));
}

TEST(Wildcard, EmptyPatternMatchesNothing)
{
    EXPECT_FALSE(matchesPattern("a", ""));
    EXPECT_FALSE(matchesPattern("", ""));
}

TEST(Wildcard, ManyStarsStayFast)
{
    // Exponential backtracking would not finish this within any test timeout.
    const std::string name(2000, 'a');
    const std::string pattern = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
    EXPECT_FALSE(matchesPattern(name, pattern));
    EXPECT_TRUE(matchesPattern(name + "b", pattern));
}

TEST(Wildcard, SplitMaskKeepsEveryPart)
{
    EXPECT_EQ(splitMask("*.txt"), std::vector<std::string>{"*.txt"});
    EXPECT_EQ(splitMask("a;b;"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(splitMask("a;;b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitMask(""), std::vector<std::string>{""});
    EXPECT_EQ(splitMask(";"), (std::vector<std::string>{"", ""}));
}
