#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace twinfold;

namespace
{

struct MirrorCase {
    const char* sourceRoot;
    const char* current;
    const char* destRoot;
    const char* expected;
};

} // namespace

TEST(MirroredDirectory, WindowsTableHoldsVerbatim)
{
    const MirrorCase cases[] = {
        {"C:\\Data", "C:\\Data", "D:\\Back", "D:\\Back"},
        {"C:\\Data", "C:\\Data\\Sub\\Deep", "D:\\Back", "D:\\Back\\Sub\\Deep"},
        {"C:\\", "C:\\Sub", "D:\\Back", "D:\\Back\\Sub"},
        {"C:\\Data", "C:\\Data\\Sub", "D:\\", "D:\\Sub"},
        {"C:\\Data", "C:\\Data", "D:\\", "D:\\"},
        {"C:\\", "C:\\", "D:\\", "D:\\"},
        {"C:\\", "C:\\Sub\\Deep", "D:\\", "D:\\Sub\\Deep"},
    };
    for (const MirrorCase& c : cases)
        EXPECT_EQ(mirroredDirectory(c.sourceRoot, c.current, c.destRoot, '\\'), c.expected)
            << c.sourceRoot << " + " << c.current << " + " << c.destRoot;
}

TEST(MirroredDirectory, PosixAnalogues)
{
    const MirrorCase cases[] = {
        {"/data", "/data", "/back", "/back"},
        {"/data", "/data/sub", "/back", "/back/sub"},
        {"/data", "/data/sub/deep", "/back", "/back/sub/deep"},
        {"/", "/sub", "/back", "/back/sub"},
        {"/data", "/data/sub", "/", "/sub"},
        {"/data", "/data", "/", "/"},
        {"/", "/", "/", "/"},
        {"/data", "/data/sub", "/back/", "/back/sub"},
    };
    for (const MirrorCase& c : cases)
        EXPECT_EQ(mirroredDirectory(c.sourceRoot, c.current, c.destRoot, '/'), c.expected)
            << c.sourceRoot << " + " << c.current << " + " << c.destRoot;
}

TEST(PathJoin, AddsOneSeparatorUnlessThereIsOne)
{
    EXPECT_EQ(joinPath("/data", "a.txt", '/'), "/data/a.txt");
    EXPECT_EQ(joinPath("/", "a.txt", '/'), "/a.txt");
    EXPECT_EQ(joinPath("/data/", "a.txt", '/'), "/data/a.txt");
    EXPECT_EQ(joinPath("C:\\Data", "A.TXT", '\\'), "C:\\Data\\A.TXT");
    EXPECT_EQ(joinPath("C:\\", "A.TXT", '\\'), "C:\\A.TXT");
    // The other platform's separator is an ordinary character.
    EXPECT_EQ(joinPath("C:/", "A", '\\'), "C:/\\A");
}

TEST(PathParts, FileNameAndDirectoryPart)
{
    EXPECT_EQ(extractFileName("/data/sub/a.txt", '/'), "a.txt");
    EXPECT_EQ(extractFilePath("/data/sub/a.txt", '/'), "/data/sub/");
    EXPECT_EQ(extractFileName("a.txt", '/'), "a.txt");
    EXPECT_EQ(extractFilePath("a.txt", '/'), "");
    EXPECT_EQ(extractFileName("C:\\Data\\A.TXT", '\\'), "A.TXT");
    EXPECT_EQ(extractFilePath("C:\\Data\\A.TXT", '\\'), "C:\\Data\\");
    EXPECT_EQ(extractFileName("C:A.TXT", '\\'), "A.TXT");
    EXPECT_EQ(extractFilePath("C:A.TXT", '\\'), "C:");
    // A colon is an ordinary character in a POSIX name.
    EXPECT_EQ(extractFileName("/data/c:a", '/'), "c:a");
}

TEST(PathParents, RootsAreTheirOwnParents)
{
    EXPECT_TRUE(isRootPath("/", '/'));
    EXPECT_FALSE(isRootPath("/data", '/'));
    EXPECT_TRUE(isRootPath("C:\\", '\\'));
    EXPECT_TRUE(isRootPath("C:", '\\'));
    EXPECT_FALSE(isRootPath("C:\\Data", '\\'));

    EXPECT_EQ(parentPath("/", '/'), "/");
    EXPECT_EQ(parentPath("/data", '/'), "/");
    EXPECT_EQ(parentPath("/data/sub", '/'), "/data");
    EXPECT_EQ(parentPath("/data/sub/", '/'), "/data");
    EXPECT_EQ(parentPath("C:\\", '\\'), "C:\\");
    EXPECT_EQ(parentPath("C:\\Data", '\\'), "C:\\");
    EXPECT_EQ(parentPath("C:\\Data\\Sub", '\\'), "C:\\Data");
}

TEST(PathParents, AncestorChainRunsFromTheRootDown)
{
    EXPECT_EQ(ancestorChain("/", '/'), std::vector<std::string>{"/"});
    EXPECT_EQ(ancestorChain("/a/b/c", '/'),
              (std::vector<std::string>{"/", "/a", "/a/b", "/a/b/c"}));
    EXPECT_EQ(ancestorChain("C:\\Data\\Sub", '\\'),
              (std::vector<std::string>{"C:\\", "C:\\Data", "C:\\Data\\Sub"}));
    // A relative name ends the climb instead of looping.
    EXPECT_EQ(ancestorChain("name", '/'), std::vector<std::string>{"name"});
}

TEST(PathParents, SameOrBelowRespectsComponentBoundaries)
{
    EXPECT_TRUE(isSameOrBelow("/data", "/data", '/'));
    EXPECT_TRUE(isSameOrBelow("/data/sub", "/data", '/'));
    EXPECT_TRUE(isSameOrBelow("/data/sub", "/", '/'));
    EXPECT_FALSE(isSameOrBelow("/database", "/data", '/'));
    EXPECT_FALSE(isSameOrBelow("/data", "/data/sub", '/'));
    EXPECT_FALSE(isSameOrBelow("/Data/sub", "/data", '/'));
    EXPECT_TRUE(isSameOrBelow("c:\\data\\sub", "C:\\Data", '\\'));
}

TEST(PathCase, RecordedPathKeepsPosixCase)
{
#ifdef _WIN32
    EXPECT_EQ(recordedPath("C:\\Data\\a.txt"), "C:\\DATA\\A.TXT");
#else
    EXPECT_EQ(recordedPath("/Data/a.txt"), "/Data/a.txt");
#endif
    EXPECT_EQ(upperAscii("abz-AZ_\xc3\xa9"), "ABZ-AZ_\xc3\xa9");
}

TEST(PathCase, NameOrderIgnoresCaseThenUsesBytes)
{
    std::vector<std::string> names{"gamma", "Beta", "alpha", "beta", "Alpha", "b"};
    std::sort(names.begin(), names.end(), nameLess);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "alpha", "b", "Beta", "beta", "gamma"}));
    EXPECT_FALSE(nameLess("same", "same"));
    EXPECT_TRUE(nameLess("a", "ab"));
    // Bytes above 127 sort after ASCII letters, not before them as signed chars would.
    EXPECT_TRUE(nameLess("z", "\xc3\xa9"));
}
