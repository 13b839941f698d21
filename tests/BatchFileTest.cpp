// The batch file format.
#include "batch/BatchFile.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace twinfold::test
{
namespace
{

TEST(BatchFileTest, RoundTripsInOrder)
{
    TempDir tmp;
    const std::string path = tmp.pathOf("b.tfw");
    const std::vector<std::string> entries{"/a/One.ini", "/b.ini", "/a/One.ini"};
    WriteBatchFile(path, entries);
    EXPECT_EQ(tmp.readFile("b.tfw"), "[Files]\nFile0=/a/One.ini\nFile1=/b.ini\nFile2=/a/One.ini\n");
    EXPECT_EQ(ReadBatchFile(path), entries);

    // A name with a blank at either end would come back trimmed, naming another file.
    const std::vector<std::string> blanks{"/jobs/night ", " /jobs/day.ini"};
    WriteBatchFile(path, blanks);
    EXPECT_EQ(ReadBatchFile(path), blanks);
}

TEST(BatchFileTest, GapsDoneAndCase)
{
    TempDir tmp;
    EXPECT_EQ(ReadBatchFile(tmp.writeFile("gap.tfw", "[Files]\nFile0=a\nFile1=b\nFile3=d\n")),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(ReadBatchFile(tmp.writeFile("done.tfw", "[Files]\nFile0=Done\nFile1=x\n")).empty());
    EXPECT_EQ(
        ReadBatchFile(tmp.writeFile("other.tfw", "[files]\nfile0=a\nFILE1=done\nFile2=DONE\n")),
        (std::vector<std::string>{"a", "done", "DONE"}));
    EXPECT_EQ(ReadBatchFile(tmp.writeFile("empty.tfw", "[Files]\nFile0=\nFile1=b\n")),
              (std::vector<std::string>{"", "b"}));
    EXPECT_TRUE(ReadBatchFile(tmp.pathOf("missing.tfw")).empty());
    EXPECT_TRUE(ReadBatchFile(tmp.writeFile("nosection.tfw", "File0=a\n")).empty());
}

TEST(BatchFileTest, RewritingDropsOldKeysAndAnEmptyListRemovesTheFile)
{
    TempDir tmp;
    const std::string path =
        tmp.writeFile("b.tfw", "[Other]\nx=1\n[Files]\nFile0=a\nFile1=b\nFile2=c\n");
    WriteBatchFile(path, {"z"});
    EXPECT_EQ(tmp.readFile("b.tfw"), "[Files]\nFile0=z\n");
    WriteBatchFile(path, {});
    EXPECT_FALSE(fileExists(path));
}

TEST(BatchFileTest, FailedWriteKeepsTheOldFile)
{
    TempDir tmp;
    const std::string path = tmp.writeFile("b.tfw", "[Files]\nFile0=keep\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    try {
        WriteBatchFile(path, {"new"});
        FAIL() << "no failure raised";
    } catch (const CommandError& failure) {
        EXPECT_EQ(std::string(failure.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(tmp.readFile("b.tfw"), "[Files]\nFile0=keep\n");
    EXPECT_THROW(WriteBatchFile(tmp.pathOf("no/dir/b.tfw"), {"x"}), CommandError);
}

} // namespace
} // namespace twinfold::test
