// Settings files: filter texts, Load Settings, the saves, Save Settings on Exit and bad input.
#include "support/StartedApp.h"

#include "platform/IniFile.h"
#include "settings/FilterText.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>

namespace twinfold::test
{
namespace
{

std::vector<std::string> split(const std::string& text, std::vector<std::string> list = {})
{
    parseString(text, list);
    return list;
}

TEST(FilterText, SplitKeepsOnlyEntriesFollowedByASemicolon)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(split("*.txt;*.doc;"), (List{"*.txt", "*.doc"}));
    EXPECT_EQ(split("*.txt;*.doc"), List{"*.txt"});
    EXPECT_EQ(split("*.txt;;*.doc;"), (List{"*.txt", "", "*.doc"}));
    EXPECT_EQ(split(""), List{});
    EXPECT_EQ(split("no separator"), List{});
    EXPECT_EQ(split("b;", {"a"}), (List{"a", "b"})) << "splitting appends";
}

TEST(FilterText, JoinFollowsEveryEntryWithASemicolon)
{
    EXPECT_EQ(joinFilter({"*.txt", "*.doc"}), "*.txt;*.doc;");
    EXPECT_EQ(joinFilter({}), "");
    EXPECT_EQ(joinFilter({""}), ";");
    // An entry typed with a ";" in it comes back as two.
    EXPECT_EQ(split(joinFilter({"a;b"})), (std::vector<std::string>{"a", "b"}));
}

class SettingsFileTest : public StartedAppFixture
{
protected:
    void SetUp() override
    {
        writeSettings("[Settings]\nSourceDir=" + src() + "\nDestDir=" + dst() + "\n");
        start();
        ASSERT_TRUE(activate());
    }

    // Writes a settings file into the configuration directory; returns its path.
    std::string put(const std::string& name, const std::string& contents) const
    {
        return tmp.writeFile("config/" + name, contents);
    }
    bool load(const std::string& path)
    {
        return run([this, path] { main().LoadSettingsFile(path); });
    }
    bool saveAs(const std::string& path)
    {
        ui.answerDialog(path);
        return run([this] { main().SaveSettingsAs1Click(); });
    }
    std::string read(const std::string& path, const char* section, const char* key)
    {
        return IniFile::readString(path, section, key, "<missing>");
    }

    // A state in which every key differs from its default.
    void setEverything()
    {
        main().SourceDirListBox.setDirectory(dst());
        main().DestDirListBox.setDirectory(src());
        main().SyncAll.setChecked(true);
        main().cbSelectAll.setChecked(true);
        app->Optionsbx.AutoContinue.setChecked(true);
        app->Settings.Include = "*.txt;";
        app->Settings.Exclude = "b*;";
        app->Optionsbx.IncludeList.add("stale");
        app->Optionsbx.ExcludeList.add("stale");
        app->Settings.CopyBuffer = 262144;
        app->Optionsbx.CopyBuffer.setCheckedIndex(2);
        app->Settings.BatchDir = "/batches/nightly.tfw";
        main().EditFilter.setItemIndex(3);
        app->Optionsbx.EditTimeShift.setText("-1");
        app->Optionsbx.EditTimeShiftChange();
        app->Optionsbx.EditJobs.setText("3");
        app->Optionsbx.EditJobsChange();
    }
};

TEST_F(SettingsFileTest, SaveWritesEveryKeyInItsOrder)
{
    setEverything();
    const std::string file = config("new.ini");
    ASSERT_TRUE(saveAs(file));
    EXPECT_EQ(tmp.readFile("config/new.ini"), "[Settings]\n"
                                              "SourceDir=" +
                                                  dst() +
                                                  "\n"
                                                  "DestDir=" +
                                                  src() +
                                                  "\n"
                                                  "SaveSettings=1\n"
                                                  "BatchDir=/batches/nightly.tfw\n"
                                                  "SyncAll=1\n"
                                                  "SelectAll=1\n"
                                                  "\n"
                                                  "[Options]\n"
                                                  "AutoContinue=1\n"
                                                  "Exclude=b*;\n"
                                                  "Include=*.txt;\n"
                                                  "CopyBuffer=262144\n"
                                                  "Filetype=3\n"
                                                  "TimeShift=-1\n"
                                                  "Jobs=3\n");
    EXPECT_TRUE(ui.messages.empty()) << "no message confirms a save";
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(ui.dialogs[0].confirmOverwrite);
}

TEST_F(SettingsFileTest, SaveAsIntoAFileWithOtherSectionsKeepsThem)
{
    const std::string before = "; mine\r\n[Window]\r\nLeft=10\r\n[Settings]\r\nSyncAll=7\r\n"
                               "Extra = kept \r\n[options]\r\nFiletype=4\r\n";
    const std::string file = put("shared.ini", before);
    ASSERT_TRUE(saveAs(file));
    const std::string after = tmp.readFile("config/shared.ini");
    EXPECT_EQ(after.rfind("; mine\r\n[Window]\r\nLeft=10\r\n[Settings]\r\nSyncAll=0\r\n"
                          "Extra = kept \r\n",
                          0),
              0u)
        << after;
    EXPECT_EQ(read(file, "Options", "Filetype"), "0");
    EXPECT_EQ(read(file, "Settings", "SourceDir"), src());
    EXPECT_EQ(read(file, "Options", "CopyBuffer"), "32768");
    EXPECT_EQ(after.find('\n', 0), after.find("\r\n", 0) + 1) << "CRLF kept";
}

TEST_F(SettingsFileTest, SaveAsCancelledWritesNothing)
{
    ui.answerDialog(std::nullopt);
    ASSERT_TRUE(run([this] { main().SaveSettingsAs1Click(); }));
    ui.answerDialog(std::nullopt);
    ASSERT_TRUE(run([this] { main().LoadSettingsClick(); }));
    EXPECT_EQ(main().SourceDirListBox.directory(), src());
    EXPECT_EQ(ui.dialogs.size(), 2u);
}

TEST_F(SettingsFileTest, SavedSettingsLoadBackIntoEveryHolder)
{
    tmp.writeFile("dst/x.txt", "x");
    tmp.writeFile("dst/bx.txt", "x");
    setEverything();
    main().EditFilter.setItemIndex(1);
    const std::string file = config("job.ini");
    ASSERT_TRUE(saveAs(file));

    // Back to a plain state, with other filter texts in force.
    main().SourceDirListBox.setDirectory(src());
    main().SyncAll.setChecked(false);
    main().cbSelectAll.setChecked(false);
    app->Optionsbx.AutoContinue.setChecked(false);
    app->Settings.Include = "*.doc;";
    app->Settings.Exclude = "";
    app->Settings.CopyBuffer = 32768;
    app->Optionsbx.CopyBuffer.setCheckedIndex(0);
    main().EditFilter.setItemIndex(0);
    app->Optionsbx.showTimeShift(2);

    ui.answerDialog(file);
    ASSERT_TRUE(run([this] { main().LoadSettingsClick(); }));
    EXPECT_EQ(main().SourceDirListBox.directory(), dst());
    EXPECT_EQ(main().DestDirListBox.directory(), src());
    EXPECT_TRUE(main().SaveSettingsonExit);
    EXPECT_EQ(app->Settings.BatchDir, "/batches/nightly.tfw");
    EXPECT_TRUE(main().SyncAll.checked());
    EXPECT_FALSE(main().cbSelectAll.enabled());
    EXPECT_TRUE(app->Optionsbx.AutoContinue.checked());
    EXPECT_TRUE(app->Settings.AutoContinue);
    EXPECT_EQ(app->Settings.Include, "*.txt;");
    EXPECT_EQ(app->Settings.Exclude, "b*;");
    EXPECT_EQ(app->Optionsbx.IncludeList.items(), std::vector<std::string>{"*.txt"});
    EXPECT_EQ(app->Optionsbx.ExcludeList.items(), std::vector<std::string>{"b*"});
    EXPECT_EQ(app->Settings.CopyBuffer, 262144);
    EXPECT_EQ(app->Optionsbx.CopyBuffer.checkedIndex(), 2);
    EXPECT_EQ(app->Settings.TimeShift, -1);
    EXPECT_EQ(app->Optionsbx.EditTimeShift.text(), "-1");
    // Custom was applied with the texts from before the load; the loaded ones come next time.
    EXPECT_EQ(main().EditFilter.itemIndex(), 1);
    EXPECT_TRUE(main().FileList.items().empty());
    EXPECT_TRUE(main().cbSelectAll.checked());
    main().EditFilterChange();
    EXPECT_EQ(main().FileList.items(), std::vector<std::string>{"x.txt"});
}

TEST_F(SettingsFileTest, LoadingAFileWithNoKeysAppliesEveryDefault)
{
    setEverything();
    main().SaveSettingsonExit = true;
    const std::string file = put("bare.ini", "[Other]\nSourceDir=/nowhere\n");
    ASSERT_TRUE(load(file));
    // "c:\" of a Windows settings file is the root here.
    EXPECT_EQ(main().SourceDirListBox.directory(), "/");
    EXPECT_EQ(main().DestDirListBox.directory(), "/");
    EXPECT_FALSE(main().SaveSettingsonExit);
    EXPECT_EQ(app->Settings.BatchDir, config("tfoldw.tfw"));
    EXPECT_FALSE(main().SyncAll.checked());
    EXPECT_FALSE(main().cbSelectAll.checked());
    EXPECT_FALSE(app->Optionsbx.AutoContinue.checked());
    EXPECT_FALSE(app->Settings.AutoContinue);
    EXPECT_EQ(main().EditFilter.text(), "All files (*.*)");
    EXPECT_EQ(main().FileList.directory(), "/");
    EXPECT_EQ(main().FileList.mask(), "*.*");
    EXPECT_EQ(app->Settings.Include, "");
    EXPECT_EQ(app->Settings.Exclude, "");
    EXPECT_EQ(app->Optionsbx.IncludeList.count(), 0);
    EXPECT_EQ(app->Optionsbx.ExcludeList.count(), 0);
    EXPECT_EQ(app->Settings.CopyBuffer, 32768);
    EXPECT_EQ(app->Optionsbx.CopyBuffer.checkedIndex(), 0);
    EXPECT_EQ(app->Settings.TimeShift, 0);
    EXPECT_EQ(app->Optionsbx.EditTimeShift.text(), "0");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SettingsFileTest, MissingFileLoadsTheDefaultsAndEmptyPathNothing)
{
    main().SyncAll.setChecked(true);
    ASSERT_TRUE(load(""));
    EXPECT_TRUE(main().SyncAll.checked());
    ASSERT_TRUE(load(config("absent.ini")));
    EXPECT_FALSE(main().SyncAll.checked());
    EXPECT_EQ(main().SourceDirListBox.directory(), "/");
}

TEST_F(SettingsFileTest, FilterTextLongerThanAReadComesBackCut)
{
    std::string include;
    char entry[16];
    for (int i = 0; i < 300; ++i) {
        std::snprintf(entry, sizeof entry, "m%04d.txt;", i);
        include += entry;
    }
    app->Settings.Include = include;
    const std::string file = config("long.ini");
    ASSERT_TRUE(saveAs(file));
    ASSERT_TRUE(load(file));
    EXPECT_EQ(app->Settings.Include, include.substr(0, 2047));
    // 204 whole entries fit; the one the cut divides is dropped.
    ASSERT_EQ(app->Optionsbx.IncludeList.count(), 204);
    EXPECT_EQ(app->Optionsbx.IncludeList.item(203), "m0203.txt");
}

TEST_F(SettingsFileTest, SaveSettingsOnExitTogglesAndStoresOnlyThatKeyInTheDefaultFile)
{
    const std::string other = put("other.ini", "[Settings]\nSaveSettings=1\nSyncAll=1\n");
    ASSERT_TRUE(load(other));
    ASSERT_TRUE(main().SaveSettingsonExit);
    const std::string before = settingsText();
    ASSERT_EQ(before.find("SaveSettings"), std::string::npos);

    ASSERT_TRUE(run([this] { main().SaveSettingsonExitClick(); }));
    EXPECT_FALSE(main().SaveSettingsonExit);
    EXPECT_EQ(settingsText(), before + "SaveSettings=0\n");
    EXPECT_EQ(tmp.readFile("config/other.ini"), "[Settings]\nSaveSettings=1\nSyncAll=1\n");
    ASSERT_TRUE(run([this] { main().SaveSettingsonExitClick(); }));
    EXPECT_EQ(settingsText(), before + "SaveSettings=1\n");
}

TEST_F(SettingsFileTest, ExitAfterLoadingWritesTheLoadedSettingsAsDefault)
{
    const std::string other =
        put("other.ini", "[Settings]\nSourceDir=" + dst() + "\nSaveSettings=1\nSyncAll=1\n");
    ASSERT_TRUE(load(other));
    ASSERT_TRUE(run([this] { main().Exit1Click(); }));
    EXPECT_EQ(read(settingsFile(), "Settings", "SourceDir"), dst());
    EXPECT_EQ(read(settingsFile(), "Settings", "DestDir"), "/");
    EXPECT_EQ(read(settingsFile(), "Settings", "SyncAll"), "1");
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheFileAsItWas)
{
    const std::string before = settingsText();
    ASSERT_EQ(::chmod(settingsFile().c_str(), 0444), 0);
    EXPECT_FALSE(run([this] { main().SaveDefaultSettings1Click(); }));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to write to " + settingsFile() + "."});
    EXPECT_EQ(settingsText(), before);
}

// A save rewrites only its own keys: comments, foreign keys, other sections, a duplicate
// section and the CRLF ends all come back as they were.
TEST_F(SettingsFileTest, SaveIntoAnEditedFileKeepsEveryOtherByte)
{
    const std::string file = put("edited.ini", "; Twinfold settings\r\n"
                                               "[Settings]\r\n"
                                               "SourceDir = /old/source \r\n"
                                               "Window=12,40\r\n"
                                               "SYNCALL=0\r\n"
                                               "; the batch\r\n"
                                               "\r\n"
                                               "[Extra]\r\n"
                                               "SourceDir=not this one\r\n"
                                               "[Options]\r\n"
                                               "include=\"*.old;\"\r\n"
                                               "Filetype=2\r\n"
                                               "Theme=dark\r\n"
                                               "[settings]\r\n"
                                               "SelectAll=0\r\n");
    setEverything();
    ASSERT_TRUE(saveAs(file));
    EXPECT_EQ(tmp.readFile("config/edited.ini"), "; Twinfold settings\r\n"
                                                 "[Settings]\r\n"
                                                 "SourceDir = " +
                                                     dst() +
                                                     "\r\n"
                                                     "Window=12,40\r\n"
                                                     "SYNCALL=1\r\n"
                                                     "; the batch\r\n"
                                                     "DestDir=" +
                                                     src() +
                                                     "\r\n"
                                                     "SaveSettings=1\r\n"
                                                     "BatchDir=/batches/nightly.tfw\r\n"
                                                     "SelectAll=1\r\n"
                                                     "\r\n"
                                                     "[Extra]\r\n"
                                                     "SourceDir=not this one\r\n"
                                                     "[Options]\r\n"
                                                     "include=*.txt;\r\n"
                                                     "Filetype=3\r\n"
                                                     "Theme=dark\r\n"
                                                     "AutoContinue=1\r\n"
                                                     "Exclude=b*;\r\n"
                                                     "CopyBuffer=262144\r\n"
                                                     "TimeShift=-1\r\n"
                                                     "Jobs=3\r\n"
                                                     "[settings]\r\n"
                                                     "SelectAll=0\r\n");
}

// A size limit lets the first keys of a save fit and a later one fail: the file must then hold
// the old settings alone, never some keys old and some new.
TEST_F(SettingsFileTest, SaveThatFailsPartWayLeavesTheOldFileWhole)
{
    const std::string before = settingsText();
    setEverything();
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = before.size() + 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool savedOk = run([this] { main().SaveDefaultSettings1Click(); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(savedOk);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to write to " + settingsFile() + "."});
    EXPECT_EQ(settingsText(), before);
}

// ---- Bad input ----

TEST_F(SettingsFileTest, DirectoryThatCannotBeEnteredStopsTheLoad)
{
    const std::string plain = tmp.writeFile("src/plain", "x");
    for (const std::string& bad : {plain, src("gone")}) {
        ui.restart();
        main().SaveSettingsonExit = true;
        const std::string file =
            put("bad.ini", "[Settings]\nDestDir=" + bad + "\nSourceDir=" + dst() +
                               "\nSaveSettings=0\nSyncAll=1\n");
        EXPECT_FALSE(load(file));
        EXPECT_EQ(ui.messages.size(), 1u) << bad;
        EXPECT_EQ(main().SourceDirListBox.directory(), dst()) << "keys before it apply";
        EXPECT_EQ(main().DestDirListBox.directory(), dst());
        EXPECT_TRUE(main().SaveSettingsonExit) << "keys after it do not";
        EXPECT_FALSE(main().SyncAll.checked());
        main().SourceDirListBox.setDirectory(src());
    }
}

TEST_F(SettingsFileTest, CutDirectoryValueFailsLikeADirectoryThatCannotBeEntered)
{
    const std::string file =
        put("long.ini", "[Settings]\nSourceDir=" + dst() + std::string(3000, '/') + "x\n");
    EXPECT_FALSE(load(file));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid filename."});
    EXPECT_EQ(main().SourceDirListBox.directory(), src()) << "the cut text names dst()";
}

TEST_F(SettingsFileTest, FileTypeOutsideTheListChoosesNoEntryAndIsSavedAsZero)
{
    for (const char* value : {"7", "-1", "5"}) {
        ASSERT_TRUE(load(put("t.ini", std::string("[Options]\nFiletype=") + value + "\n")));
        EXPECT_EQ(main().EditFilter.itemIndex(), -1) << value;
        ASSERT_TRUE(run([this] { main().SaveDefaultSettings1Click(); }));
        EXPECT_EQ(read(settingsFile(), "Options", "Filetype"), "0");
    }
    // Not a number: the default of the read, the first entry.
    ASSERT_TRUE(load(put("t.ini", "[Options]\nFiletype=abc\n")));
    EXPECT_EQ(main().EditFilter.itemIndex(), 0);
}

TEST_F(SettingsFileTest, OddBufferSizesAreKeptAsReadWithoutMovingTheButtons)
{
    struct Case {
        const char* text;
        std::int32_t size;
        int button;
    };
    app->Optionsbx.CopyBuffer.setCheckedIndex(3);
    for (const Case& c : {Case{"0", 0, 3}, Case{"-5", -5, 3}, Case{"2147483647", 2147483647, 3},
                          Case{"1048576", 1048576, 4}, Case{"0x8000", 32768, 0},
                          Case{"big", 32768, 0}, Case{"99999999999", 32768, 0}}) {
        ASSERT_TRUE(load(put("b.ini", std::string("[Options]\nCopyBuffer=") + c.text + "\n")));
        EXPECT_EQ(app->Settings.CopyBuffer, c.size) << c.text;
        EXPECT_EQ(app->Optionsbx.CopyBuffer.checkedIndex(), c.button) << c.text;
    }
    ASSERT_TRUE(load(put("b.ini", "[Options]\nCopyBuffer=-5\n")));
    ASSERT_TRUE(run([this] { main().SaveDefaultSettings1Click(); }));
    EXPECT_EQ(read(settingsFile(), "Options", "CopyBuffer"), "-5");
}

TEST_F(SettingsFileTest, BooleansThatAreNotNumbersTakeTheDefault)
{
    ASSERT_TRUE(load(put("b.ini", "[Settings]\nSaveSettings=yes\nSyncAll=2\n"
                                  "[Options]\nAutoContinue=true\n")));
    EXPECT_FALSE(main().SaveSettingsonExit);
    EXPECT_TRUE(main().SyncAll.checked());
    EXPECT_FALSE(app->Optionsbx.AutoContinue.checked());
}

TEST_F(SettingsFileTest, CrlfAndByteOrderMarkFilesAreRead)
{
    for (const std::string& start : {std::string(), std::string("\xEF\xBB\xBF")}) {
        main().SyncAll.setChecked(false);
        ASSERT_TRUE(load(put("w.ini", start + "[Settings]\r\nSourceDir=" + dst() +
                                          "\r\nSyncAll=1\r\n[Options]\r\nFiletype=2\r\n"
                                          "CopyBuffer=131072\r\nInclude=*.a;*.b;\r\n")));
        EXPECT_EQ(main().SourceDirListBox.directory(), dst());
        EXPECT_TRUE(main().SyncAll.checked());
        EXPECT_EQ(main().EditFilter.itemIndex(), 2);
        EXPECT_EQ(app->Settings.CopyBuffer, 131072);
        EXPECT_EQ(app->Optionsbx.IncludeList.items(), (std::vector<std::string>{"*.a", "*.b"}));
    }
}

TEST_F(SettingsFileTest, EmptyAndBinaryFilesLoadAsDefaults)
{
    std::string binary("\0\xff\xfe[Settings\n=\n\x01\x02]]\r\r\n[Options]\nCopyBuffer\n", 40);
    for (int i = 0; i < 256; ++i)
        binary += static_cast<char>((i * 37) & 0xff);
    for (const std::string& contents : {std::string(), binary}) {
        main().SyncAll.setChecked(true);
        ASSERT_TRUE(load(put("odd.ini", contents)));
        EXPECT_FALSE(main().SyncAll.checked());
        EXPECT_EQ(app->Settings.CopyBuffer, 32768);
        EXPECT_EQ(main().SourceDirListBox.directory(), "/");
    }
}

// The start-up load meets the same kinds of bad input.
using SettingsStartTest = StartedAppFixture;

TEST_F(SettingsStartTest, BadValuesAtStartUpNeitherCrashNorChooseAType)
{
    tmp.writeFile("src/a.xls", "a");
    tmp.writeFile("src/b.txt", "b");
    writeSettings("\xEF\xBB\xBF[Settings]\r\nSourceDir=" + src() +
                  "\r\nSaveSettings=yes\r\nSyncAll=2\r\nSelectAll=x\r\n[Options]\r\n"
                  "Filetype=7\r\nCopyBuffer=0x8000\r\n");
    start();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(main().SaveSettingsonExit);
    EXPECT_TRUE(main().SyncAll.checked());
    EXPECT_FALSE(main().cbSelectAll.checked());
    EXPECT_EQ(main().EditFilter.itemIndex(), -1);
    EXPECT_EQ(app->Settings.CopyBuffer, 32768);
    ASSERT_TRUE(activate());
    EXPECT_EQ(main().FileList.count(), 2) << "no type chosen: the list stays as read";
}

TEST_F(SettingsStartTest, EmptyDefaultFileMovesTheViewsToTheRoot)
{
    writeSettings("");
    start();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(main().SourceDirListBox.directory(), "/");
    EXPECT_TRUE(main().SaveSettingsonExit);
    EXPECT_EQ(main().EditFilter.itemIndex(), 0);
    EXPECT_EQ(settingsText(), "") << "an existing file is read, not rewritten";
}

} // namespace
} // namespace twinfold::test
