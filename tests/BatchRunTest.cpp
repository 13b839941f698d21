// Batch runs: each listed settings file loaded and synchronised in turn.
#include "support/AppFixture.h"

#include "batch/BatchFile.h"
#include "platform/FileSystem.h"

namespace twinfold::test
{
namespace
{

class BatchRunTest : public AppFixture
{
protected:
    // A settings file for one job; extra holds further lines, e.g. "[Options]\nFiletype=2\n".
    std::string job(const std::string& name, const std::string& source, const std::string& dest,
                    const std::string& settings = "", const std::string& options = "")
    {
        return tmp.writeFile("jobs/" + name, "[Settings]\nSourceDir=" + source + "\nDestDir=" +
                                                 dest + "\n" + settings + "[Options]\n" + options);
    }
    std::string batch(const std::vector<std::string>& entries)
    {
        std::string path = tmp.pathOf("run.tfw");
        WriteBatchFile(path, entries);
        return path;
    }
    void run(const std::string& batchPath)
    {
        ASSERT_TRUE(app->mainCommand([&] { app->Main.ExecuteBatch(batchPath); }));
    }
};

TEST_F(BatchRunTest, ValidMissingValid)
{
    tmp.writeFile("a/one.txt", "1");
    tmp.writeFile("c/two.txt", "2");
    tmp.makeDir("outA");
    tmp.makeDir("outC");
    const std::string a =
        job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA"), "SelectAll=1\n", "Filetype=0\n");
    const std::string b = tmp.pathOf("jobs/missing.ini");
    const std::string c = job("c.ini", tmp.pathOf("c"), tmp.pathOf("outC"), "SyncAll=1\n");
    run(batch({a, b, c}));

    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The ini file: " + b +
                                                   " is invalid...process will be skipped!"});
    EXPECT_EQ(ui.messages[0].form, MessageForm::Information);
    EXPECT_EQ(ui.messages[0].caption, "Information");
    EXPECT_EQ(app->LogFilebx.FileSuccess,
              (std::vector<std::string>{tmp.pathOf("a/one.txt"), tmp.pathOf("c/two.txt")}));
    EXPECT_EQ(tmp.readFile("outA/one.txt"), "1");
    EXPECT_EQ(tmp.readFile("outC/two.txt"), "2");
    EXPECT_FALSE(app->Main.BatchMode);
    EXPECT_EQ(app->Main.batchSkipped(), 1);
    EXPECT_EQ(app->Settings.BatchDir, tmp.pathOf("run.tfw"));

    // A sync started by hand afterwards shows its success message again.
    ui.restart();
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Directory Sync Successful!"});
}

TEST_F(BatchRunTest, MissingDirectoryMessageKeepsCase)
{
    const std::string entry = job("j.ini", src(), tmp.pathOf("Gone"));
    run(batch({entry}));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"The source: " + src() + " or dest: " + tmp.pathOf("Gone") +
                                       " dir is invalid...process will be skipped!"});
}

TEST_F(BatchRunTest, EmptyOrMissingDirectoryKeysAreInvalid)
{
    const std::string noDest = tmp.writeFile("jobs/nodest.ini", "[Settings]\nSourceDir=/\n");
    const std::string empty = job("empty.ini", "", dst());
    tmp.makeDir("jobs/adir");
    tmp.writeFile("jobs/binary.ini", std::string("\0\x01\xff[\x00garbage", 12));
    run(batch({noDest, empty, tmp.pathOf("jobs/adir"), tmp.pathOf("jobs/binary.ini")}));
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text,
              "The ini file: " + noDest + " is invalid...process will be skipped!");
    EXPECT_EQ(ui.messages[1].text,
              "The source:  or dest: " + dst() + " dir is invalid...process will be skipped!");
    EXPECT_EQ(ui.messages[2].text, "The ini file: " + tmp.pathOf("jobs/adir") +
                                       " is invalid...process will be skipped!");
    EXPECT_EQ(app->Main.batchSkipped(), 4);
}

// A value cut at the read limit can name an existing directory (here the source itself, its
// extra separators dropped by the cut): the entry must be skipped, never run on the cut text.
TEST_F(BatchRunTest, CutDirectoryValueIsSkippedAsInvalid)
{
    tmp.writeFile("src/one.txt", "1");
    const std::string longSource = src() + std::string(3000, '/') + "elsewhere";
    run(batch({job("long.ini", longSource, dst())}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(" dir is invalid...process will be skipped!"),
              std::string::npos);
    EXPECT_EQ(app->Main.batchSkipped(), 1);
    EXPECT_TRUE(app->LogFilebx.FileSuccess.empty());
}

TEST_F(BatchRunTest, RootSourceRunsByItsTrailingSeparator)
{
    const std::string entry = job("root.ini", "/", dst());
    run(batch({entry}));
    // Nothing is selected in the root's list, so the run has nothing to do.
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No items selected to sync!"});
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), "/");
}

TEST_F(BatchRunTest, TrailingSeparatorOnAMissingDirectoryEndsTheBatch)
{
    tmp.writeFile("a/one.txt", "1");
    const std::string bad = job("bad.ini", tmp.pathOf("a"), tmp.pathOf("nowhere") + "/");
    const std::string good = job("good.ini", tmp.pathOf("a"), dst(), "SelectAll=1\n");
    EXPECT_FALSE(app->mainCommand([&] { app->Main.ExecuteBatch(batch({bad, good})); }));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"File not found.\n" + tmp.pathOf("nowhere") + "/"});
    EXPECT_FALSE(app->Main.BatchMode);
    EXPECT_FALSE(fileExists(dst("one.txt")));
    EXPECT_FALSE(directoryExists(tmp.pathOf("nowhere")));
}

TEST_F(BatchRunTest, SkippedEntryStillLoadsItsOptions)
{
    const std::string entry = job("skip.ini", tmp.pathOf("gone"), dst(), "SyncAll=1\n",
                                  "Filetype=2\nInclude=*.a;*.b;\nExclude=x*;\nCopyBuffer=131072\n"
                                  "TimeShift=1\nJobs=5\n");
    run(batch({entry}));
    EXPECT_TRUE(app->Main.SyncAll.checked());
    EXPECT_FALSE(app->Main.cbSelectAll.enabled());
    EXPECT_EQ(app->Main.EditFilter.itemIndex(), 2);
    EXPECT_EQ(app->Settings.Include, "*.a;*.b;");
    EXPECT_EQ(app->Settings.Exclude, "x*;");
    EXPECT_EQ(app->Settings.CopyBuffer, 131072);
    EXPECT_EQ(app->Optionsbx.IncludeList.items(), (std::vector<std::string>{"*.a", "*.b"}));
    EXPECT_EQ(app->Optionsbx.ExcludeList.items(), std::vector<std::string>{"x*"});
    EXPECT_EQ(app->Optionsbx.CopyBuffer.checkedIndex(), 1);
    EXPECT_EQ(app->Settings.TimeShift, 1);
    EXPECT_EQ(app->Optionsbx.EditTimeShift.text(), "1");
    EXPECT_EQ(app->Settings.Jobs, 5);
}

TEST_F(BatchRunTest, NoOptionsSectionMeansDefaults)
{
    tmp.writeFile("a/one.txt", "1");
    app->Settings.Include = "*.zzz;";
    app->Settings.CopyBuffer = 1048576;
    app->Main.EditFilter.setItemIndex(3);
    const std::string entry =
        tmp.writeFile("jobs/plain.ini", "[Settings]\nSourceDir=" + tmp.pathOf("a") +
                                            "\nDestDir=" + dst() + "\nSelectAll=1\n");
    run(batch({entry}));
    EXPECT_EQ(app->Main.EditFilter.itemIndex(), 0);
    EXPECT_EQ(app->Settings.Include, "");
    EXPECT_EQ(app->Settings.CopyBuffer, 32768);
    EXPECT_EQ(tmp.readFile("dst/one.txt"), "1");
}

TEST_F(BatchRunTest, FiletypeOutOfRangeLeavesTheMask)
{
    tmp.writeFile("a/one.txt", "1");
    tmp.writeFile("a/two.xls", "2");
    app->Main.EditFilter.setItemIndex(2);
    app->Main.EditFilterChange();
    const std::string entry =
        job("seven.ini", tmp.pathOf("a"), dst(), "SelectAll=1\n", "Filetype=7\n");
    run(batch({entry}));
    EXPECT_EQ(app->Main.EditFilter.itemIndex(), -1);
    EXPECT_EQ(app->Main.FileList.mask(), "*.xls");
    EXPECT_TRUE(fileExists(dst("two.xls")));
    EXPECT_FALSE(fileExists(dst("one.txt")));
}

TEST_F(BatchRunTest, SyncAllQuestionAnsweredNoSkipsThatEntryOnly)
{
    tmp.writeFile("a/one.txt", "1");
    tmp.writeFile("b/two.txt", "2");
    tmp.makeDir("outA");
    tmp.makeDir("outB");
    const std::string first =
        job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA"), "SyncAll=1\nSelectAll=1\n");
    const std::string second = job("b.ini", tmp.pathOf("b"), tmp.pathOf("outB"), "SyncAll=1\n");
    ui.answer(Answer::No);
    run(batch({first, second}));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"You have files selected and Sync All is "
                                                   "checked. All files will be copied...Do you "
                                                   "wish to continue?"});
    EXPECT_FALSE(fileExists(tmp.pathOf("outA/one.txt")));
    EXPECT_TRUE(fileExists(tmp.pathOf("outB/two.txt")));
}

TEST_F(BatchRunTest, CancelEndsOnlyTheCurrentEntry)
{
    tmp.writeFile("a/one.txt", "1");
    tmp.writeFile("a/two.txt", "2");
    tmp.writeFile("b/three.txt", "3");
    tmp.makeDir("outA");
    tmp.makeDir("outB");
    const std::string first = job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA"), "SelectAll=1\n");
    const std::string second = job("b.ini", tmp.pathOf("b"), tmp.pathOf("outB"), "SelectAll=1\n");
    ui.atPoll(2, [this] {
        ui.answer(Answer::Yes);
        app->SyncBox.CancelClick();
    });
    run(batch({first, second}));
    EXPECT_TRUE(ui.saw("Operation Canceled!"));
    EXPECT_FALSE(fileExists(tmp.pathOf("outA/two.txt")));
    EXPECT_TRUE(fileExists(tmp.pathOf("outB/three.txt")));
}

TEST_F(BatchRunTest, EmptyBatchOnlySetsBatchDir)
{
    const std::string path = tmp.writeFile("none.tfw", "[Files]\nFile0=Done\n");
    run(path);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app->Settings.BatchDir, path);
    run(tmp.pathOf("missing.tfw"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BatchRunTest, ASecondBatchWhileOneRunsIsRefused)
{
    tmp.writeFile("a/one.txt", "1");
    const std::string entry = job("a.ini", tmp.pathOf("a"), dst(), "SelectAll=1\n");
    const std::string path = batch({entry});
    ui.atPoll(1, [&] { app->Main.ExecuteBatch(path); });
    run(path);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"A batch file is already running."});
    EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 1u);
}

TEST_F(BatchRunTest, TenThousandEntriesRunWithoutHanging)
{
    const std::string entry = job("j.ini", tmp.pathOf("gone"), dst());
    run(batch(std::vector<std::string>(10000, entry)));
    EXPECT_EQ(ui.messages.size(), 10000u);
    EXPECT_EQ(app->Main.batchSkipped(), 10000);
}

} // namespace
} // namespace twinfold::test
