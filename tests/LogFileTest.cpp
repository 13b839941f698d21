// The result lists: recording, clearing and saving.
#include "engine/LogFile.h"
#include "platform/ErrorText.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace twinfold::test
{
namespace
{

TEST(LogFileTest, KeepsOrderDuplicatesAndCase)
{
    ScriptedServices ui;
    TLogFilebx log(ui);
    log.AddLog(log.FileSuccess, "/Data/b.txt");
    log.AddLog(log.FileSuccess, "/Data/a.txt");
    log.AddLog(log.FileSuccess, "/Data/b.txt");
    log.AddLog(log.FileFailed, "/x");
    log.AddLog(log.FileOld, "/y");
    // POSIX names are case-sensitive: an upper-cased path would name another file.
    EXPECT_EQ(log.FileSuccess,
              (std::vector<std::string>{"/Data/b.txt", "/Data/a.txt", "/Data/b.txt"}));
    log.BitBtn2Click();
    EXPECT_TRUE(log.FileSuccess.empty());
    EXPECT_TRUE(log.FileFailed.empty());
    EXPECT_TRUE(log.FileOld.empty());
}

TEST(LogFileTest, HasNoFixedCapacity)
{
    ScriptedServices ui;
    TLogFilebx log(ui);
    for (int i = 0; i < 100000; ++i)
        log.AddLog(log.FileOld, "/f" + std::to_string(i));
    EXPECT_EQ(log.FileOld.size(), 100000u);
    EXPECT_EQ(log.FileOld.front(), "/f0");
}

TEST(LogFileTest, SavesEachEntryWithCrLfThroughTheDialog)
{
    TempDir tmp;
    ScriptedServices ui;
    TLogFilebx log(ui);
    log.AddLog(log.FileSuccess, "/a/One.txt");
    log.AddLog(log.FileSuccess, "/a/two.txt");
    ui.answerDialog(tmp.pathOf("ok.txt"));
    log.SaveSuccessClick();
    EXPECT_EQ(tmp.readFile("ok.txt"), "/a/One.txt\r\n/a/two.txt\r\n");
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].fileName, "TFSuccess.txt");
    EXPECT_EQ(ui.dialogs[0].defaultExtension, "txt");
    EXPECT_EQ(ui.dialogs[0].filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_TRUE(ui.dialogs[0].confirmOverwrite);

    tmp.writeFile("old.txt", "previous contents that are longer");
    ui.answerDialog(tmp.pathOf("old.txt"));
    log.SaveOldClick();
    EXPECT_EQ(tmp.readFile("old.txt"), "");
    EXPECT_EQ(ui.dialogs[1].fileName, "TFOlder.txt");

    ui.answerDialog(std::nullopt);
    log.SaveFailClick();
    EXPECT_EQ(ui.dialogs[2].fileName, "TFFailed.txt");
}

TEST(LogFileTest, UnwritableFileRaisesCannotCreate)
{
    TempDir tmp;
    const std::string path = tmp.pathOf("missing/dir/log.txt");
    try {
        TLogFilebx::saveList({"x"}, path);
        FAIL() << "no failure raised";
    } catch (const CommandError& failure) {
        EXPECT_EQ(std::string(failure.what()), "Cannot create file " + path);
    }
}

} // namespace
} // namespace twinfold::test
