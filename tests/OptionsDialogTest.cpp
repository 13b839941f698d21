#include "platform/IniFile.h"
#include "support/AppFixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

using namespace twinfold;
using namespace twinfold::test;

namespace
{

using Entries = std::vector<std::string>;

// The dialog of an application whose views show the fixture's "src" and "dst".
class OptionsDialog : public AppFixture
{
protected:
    TOptionsbx& dialog() { return app->Optionsbx; }
    SyncSettings& settings() { return app->Settings; }

    // Reads the source directory afresh and applies the "Custom" file type with the given
    // filter texts, as the main window does.
    void useCustomFilter(const std::string& include, const std::string& exclude)
    {
        showSource();
        settings().Include = include;
        settings().Exclude = exclude;
        app->Main.EditFilter.setItemIndex(1);
        app->Main.EditFilterChange();
    }

    // Runs the dialog's creation load from a default settings file with these lines.
    void loadFrom(const std::string& iniText)
    {
        tmp.writeFile("config/tfoldw.ini", iniText);
        app->Main.programDirectory = tmp.pathOf("config") + "/";
        dialog().FormCreate();
    }

    // The field the dialog last asked its view to focus.
    std::string focused;
    Connection includeFocus =
        dialog().EditInclude.focusRequested.connect([this] { focused = "EditInclude"; });
    Connection excludeFocus =
        dialog().EditExclude.focusRequested.connect([this] { focused = "EditExclude"; });

    static void chooseEntry(ListBox& list, int index)
    {
        list.setItemIndex(index);
        list.setSelected(index, true);
    }
};

TEST_F(OptionsDialog, AddTakesTheTextAsTypedAndKeepsTheField)
{
    dialog().EditInclude.setText("*.txt");
    dialog().AddIncludeClick();
    dialog().AddIncludeClick();
    dialog().EditExclude.setText("  *.tmp ");
    dialog().AddExcludeClick();

    EXPECT_EQ(dialog().IncludeList.items(), (Entries{"*.txt", "*.txt"}));
    EXPECT_EQ(dialog().ExcludeList.items(), (Entries{"  *.tmp "}));
    EXPECT_EQ(dialog().EditInclude.text(), "*.txt");
    EXPECT_EQ(focused, "EditExclude");
    EXPECT_EQ(settings().Include, "") << "the texts wait for OK";

    dialog().OkClick();
    EXPECT_EQ(settings().Include, "*.txt;*.txt;");
    EXPECT_EQ(settings().Exclude, "  *.tmp ;");
}

TEST_F(OptionsDialog, AddWithAnEmptyFieldAddsNothingButFocusesTheField)
{
    dialog().AddIncludeClick();
    EXPECT_EQ(dialog().IncludeList.count(), 0);
    EXPECT_EQ(focused, "EditInclude");

    dialog().AddExcludeClick();
    EXPECT_EQ(dialog().ExcludeList.count(), 0);
    EXPECT_EQ(focused, "EditExclude");

    dialog().EditExcludeKeyDown(TOptionsbx::VK_RETURN);
    dialog().EditIncludeKeyDown(TOptionsbx::VK_RETURN);
    EXPECT_EQ(dialog().ExcludeList.count() + dialog().IncludeList.count(), 0);
}

TEST_F(OptionsDialog, EnterInEitherFieldAddsItsTextEachTime)
{
    dialog().EditExclude.setText("*.bak");
    dialog().EditExcludeKeyDown(TOptionsbx::VK_RETURN);
    dialog().EditExcludeKeyDown(TOptionsbx::VK_RETURN);
    dialog().EditExcludeKeyDown('A');
    EXPECT_EQ(dialog().ExcludeList.items(), (Entries{"*.bak", "*.bak"}));
    EXPECT_EQ(focused, "EditExclude");

    dialog().EditInclude.setText("*.doc");
    dialog().EditIncludeKeyDown(TOptionsbx::VK_RETURN);
    dialog().EditIncludeKeyDown('A');
    EXPECT_EQ(dialog().IncludeList.items(), (Entries{"*.doc"}));
    EXPECT_EQ(focused, "EditInclude");
}

TEST_F(OptionsDialog, DoubleClickRemovesOnlyTheSelectedEntry)
{
    for (const char* mask : {"a*", "b*", "c*"}) {
        dialog().EditInclude.setText(mask);
        dialog().AddIncludeClick();
    }
    ListBox& list = dialog().IncludeList;

    dialog().IncludeListDblClick();
    EXPECT_EQ(list.count(), 3) << "nothing selected, nothing removed";

    list.setItemIndex(2); // current, but not selected
    dialog().IncludeListDblClick();
    EXPECT_EQ(list.count(), 3);

    chooseEntry(list, 1);
    dialog().IncludeListDblClick();
    EXPECT_EQ(list.items(), (Entries{"a*", "c*"}));
    dialog().IncludeListDblClick(); // the entry that moved up was not selected
    EXPECT_EQ(list.count(), 2);

    dialog().EditExclude.setText("x*");
    dialog().AddExcludeClick();
    chooseEntry(dialog().ExcludeList, 0);
    dialog().ExcludeListDblClick();
    EXPECT_EQ(dialog().ExcludeList.count(), 0);
    EXPECT_EQ(list.count(), 2) << "each list removes from itself only";
}

TEST_F(OptionsDialog, EscapeClearsBothListsAndOkThenListsEveryFile)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.doc", "b");
    tmp.writeFile("src/c.tmp", "c");
    useCustomFilter("*.txt;", "a*;");
    ASSERT_EQ(app->Main.FileList.count(), 0);
    dialog().EditInclude.setText("*.txt");
    dialog().AddIncludeClick();
    dialog().EditExclude.setText("a*");
    dialog().AddExcludeClick();
    dialog().ShowModal();

    dialog().EditExcludeKeyDown(TOptionsbx::VK_ESCAPE);
    EXPECT_EQ(dialog().IncludeList.count() + dialog().ExcludeList.count(), 0);
    EXPECT_TRUE(dialog().visible());
    EXPECT_EQ(settings().Include, "*.txt;") << "the texts keep their values until OK";
    EXPECT_EQ(settings().Exclude, "a*;");

    dialog().OkClick();
    EXPECT_FALSE(dialog().visible());
    EXPECT_EQ(settings().Include, "");
    EXPECT_EQ(settings().Exclude, "");
    EXPECT_EQ(app->Main.FileList.items(), (Entries{"a.txt", "b.doc", "c.tmp"}));
}

TEST_F(OptionsDialog, EscapeAnywhereInTheDialogPressesClear)
{
    dialog().EditInclude.setText("*.txt");
    dialog().AddIncludeClick();
    dialog().EditIncludeKeyDown(TOptionsbx::VK_ESCAPE);
    EXPECT_EQ(dialog().IncludeList.count(), 0);

    dialog().AddIncludeClick();
    dialog().FormKeyDown(TOptionsbx::VK_ESCAPE);
    EXPECT_EQ(dialog().IncludeList.count(), 0);
}

TEST_F(OptionsDialog, OkAppliesTheNewTextsToACustomFileList)
{
    tmp.writeFile("src/keep.txt", "k");
    tmp.writeFile("src/skip.txt", "s");
    tmp.writeFile("src/other.doc", "o");
    useCustomFilter("", "");
    ASSERT_EQ(app->Main.FileList.count(), 3);

    dialog().EditInclude.setText("*.txt");
    dialog().AddIncludeClick();
    dialog().EditExclude.setText("s*");
    dialog().AddExcludeClick();
    dialog().OkClick();
    EXPECT_EQ(app->Main.FileList.items(), (Entries{"keep.txt"}));
}

TEST_F(OptionsDialog, TheCloseBoxKeepsTheEditedListsButNotTheTexts)
{
    tmp.writeFile("src/x.tmp", "x");
    tmp.writeFile("src/y.bak", "y");
    tmp.writeFile("src/z.txt", "z");
    loadFrom("[Options]\nExclude=*.tmp;*.bak;\n");
    useCustomFilter("", settings().Exclude);
    ASSERT_EQ(app->Main.FileList.items(), (Entries{"z.txt"}));

    dialog().ShowModal();
    chooseEntry(dialog().ExcludeList, 0);
    dialog().ExcludeListDblClick();
    dialog().closeBoxClicked();

    EXPECT_EQ(settings().Exclude, "*.tmp;*.bak;");
    app->Main.EditFilterChange();
    EXPECT_EQ(app->Main.FileList.items(), (Entries{"z.txt"}));

    dialog().ShowModal();
    EXPECT_EQ(dialog().ExcludeList.items(), (Entries{"*.bak"}));
}

TEST_F(OptionsDialog, AnEntryWithASemicolonIsJoinedUnchangedAndSplitAtTheNextLoad)
{
    dialog().EditInclude.setText("*.txt;*.doc");
    dialog().AddIncludeClick();
    dialog().OkClick();
    EXPECT_EQ(settings().Include, "*.txt;*.doc;");

    dialog().IncludeList.clear();
    loadFrom("[Options]\nInclude=" + settings().Include + "\n");
    EXPECT_EQ(dialog().IncludeList.items(), (Entries{"*.txt", "*.doc"}));
}

TEST_F(OptionsDialog, ABufferSizeATimeShiftAndJobsTakeEffectWithoutOk)
{
    const std::vector<void (TOptionsbx::*)()> buttons{
        &TOptionsbx::Mem32KClick, &TOptionsbx::Mem128KClick, &TOptionsbx::Mem256kClick,
        &TOptionsbx::Mem512kClick, &TOptionsbx::Mem1mbClick};
    const std::vector<std::int32_t> sizes{32768, 131072, 262144, 524288, 1048576};
    for (int i = 4; i >= 0; --i) {
        (dialog().*buttons[static_cast<std::size_t>(i)])();
        EXPECT_EQ(settings().CopyBuffer, sizes[static_cast<std::size_t>(i)]);
        EXPECT_EQ(dialog().CopyBuffer.checkedIndex(), i);
        EXPECT_EQ(TOptionsbx::bufferSizeOf(i), sizes[static_cast<std::size_t>(i)]);
    }

    dialog().ShowModal();
    dialog().Mem1mbClick();
    dialog().EditTimeShift.setText("+2");
    dialog().EditTimeShiftChange();
    dialog().closeBoxClicked();
    EXPECT_EQ(settings().CopyBuffer, 1048576);
    EXPECT_EQ(dialog().CopyBuffer.checkedIndex(), 4);
    EXPECT_EQ(settings().TimeShift, 2);
    // Only whole hours within a day: anything else gives the field back the setting.
    for (const char* wrong : {"25", "1.5", "one", "", "-"}) {
        dialog().EditTimeShift.setText(wrong);
        dialog().EditTimeShiftChange();
        EXPECT_EQ(settings().TimeShift, 2) << wrong;
        EXPECT_EQ(dialog().EditTimeShift.text(), "2") << wrong;
    }
    dialog().EditJobs.setText("16");
    dialog().EditJobsChange();
    EXPECT_EQ(settings().Jobs, 16);
    for (const char* wrong : {"0", "65", "-1", "two", ""}) {
        dialog().EditJobs.setText(wrong);
        dialog().EditJobsChange();
        EXPECT_EQ(settings().Jobs, 16) << wrong;
        EXPECT_EQ(dialog().EditJobs.text(), "16") << wrong;
    }
}

TEST_F(OptionsDialog, TheAutoContinueSettingFollowsEveryChangeOfTheBox)
{
    dialog().AutoContinue.setChecked(true);
    EXPECT_TRUE(settings().AutoContinue);
    dialog().closeBoxClicked();
    EXPECT_TRUE(settings().AutoContinue);
    dialog().AutoContinue.setChecked(false);
    EXPECT_FALSE(settings().AutoContinue);
}

// The creation load, run by the program's start-up over a configuration directory.
class OptionsStartUp : public ::testing::Test
{
protected:
    OptionsStartUp()
    {
        char here[4096];
        if (::getcwd(here, sizeof here))
            m_startDir = here;
        tmp.makeDir("config");
    }

    ~OptionsStartUp() override
    {
        if (!m_startDir.empty() && ::chdir(m_startDir.c_str()) != 0)
            ADD_FAILURE() << "could not return to " << m_startDir;
    }

    Application& start()
    {
        app = std::make_unique<Application>(ui);
        app->start(StartOptions{tmp.pathOf("config"), std::nullopt});
        return *app;
    }

    TempDir tmp;
    ScriptedServices ui;
    std::unique_ptr<Application> app;

private:
    std::string m_startDir;
};

TEST_F(OptionsStartUp, ReadsTheOptionsSectionOfTheDefaultSettingsFile)
{
    tmp.writeFile("config/tfoldw.ini",
                  "[Options]\nExclude=*.tmp;;*.bak;\nInclude=*.txt;*.doc;junk\n"
                  "CopyBuffer=262144\nAutoContinue=1\nTimeShift=-2\nJobs=99\n");
    Application& started = start();
    const TOptionsbx& dialog = started.Optionsbx;

    EXPECT_EQ(started.Settings.Exclude, "*.tmp;;*.bak;");
    EXPECT_EQ(started.Settings.Include, "*.txt;*.doc;junk");
    EXPECT_EQ(dialog.ExcludeList.items(), (Entries{"*.tmp", "", "*.bak"}));
    EXPECT_EQ(dialog.IncludeList.items(), (Entries{"*.txt", "*.doc"}));
    EXPECT_EQ(dialog.IncludeList.selectedCount() + dialog.ExcludeList.selectedCount(), 0);
    EXPECT_EQ(started.Settings.CopyBuffer, 262144);
    EXPECT_EQ(dialog.CopyBuffer.checkedIndex(), 2);
    EXPECT_TRUE(dialog.AutoContinue.checked());
    EXPECT_TRUE(started.Settings.AutoContinue);
    EXPECT_EQ(started.Settings.TimeShift, -2);
    EXPECT_EQ(dialog.EditTimeShift.text(), "-2");
    // A number no run may use stands for the default.
    EXPECT_EQ(started.Settings.Jobs, DefaultJobs);
    EXPECT_EQ(dialog.EditJobs.text(), std::to_string(DefaultJobs));
    EXPECT_FALSE(dialog.visible());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OptionsStartUp, AFirstStartTakesTheDefaults)
{
    Application& started = start();
    const TOptionsbx& dialog = started.Optionsbx;

    EXPECT_EQ(started.Settings.Exclude, "");
    EXPECT_EQ(started.Settings.Include, "");
    EXPECT_EQ(dialog.IncludeList.count() + dialog.ExcludeList.count(), 0);
    EXPECT_EQ(started.Settings.CopyBuffer, 32768);
    EXPECT_EQ(dialog.CopyBuffer.checkedIndex(), 0);
    EXPECT_FALSE(dialog.AutoContinue.checked());
    EXPECT_FALSE(started.Settings.AutoContinue);
}

TEST_F(OptionsStartUp, AnUnofferedBufferSizeIsKeptWithThirtyTwoKChecked)
{
    tmp.writeFile("config/tfoldw.ini", "[Options]\nCopyBuffer=65536\n");
    Application& started = start();

    EXPECT_EQ(started.Settings.CopyBuffer, 65536);
    EXPECT_EQ(started.Optionsbx.CopyBuffer.checkedIndex(), 0);
}

} // namespace
