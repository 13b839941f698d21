// The source file list's selection: statistics, Select All, UnSelect All, the two check boxes
// and the Custom type's include and exclude masks.
#include "support/AppFixture.h"

#include <filesystem>

namespace twinfold::test
{
namespace
{

using SelectionTest = AppFixture;

struct SizeCase {
    std::size_t bytes;
    const char* shown;
};

TEST_F(SelectionTest, SizeOfOneSelectedFileIsShownInBytesBelowOneKilobyte)
{
    for (const SizeCase& size :
         {SizeCase{1023, "Selected Size: 1023 Bytes"}, SizeCase{1024, "Selected Size: 1 KBytes"},
          SizeCase{1535, "Selected Size: 1 KBytes"}, SizeCase{1536, "Selected Size: 2 KBytes"},
          SizeCase{5u << 20, "Selected Size: 5120 KBytes"}}) {
        tmp.writeFile("src/file.bin", std::string(size.bytes, 'x'));
        tmp.writeFile("src/other.bin", "other");
        showSource();
        app->Main.FileList.setSelected(0, true);
        app->Main.FileListClick();
        EXPECT_EQ(app->Main.selsize.text(), size.shown) << size.bytes;
        EXPECT_EQ(app->Main.FileCount.text(), "Total Files Selected: 1");
    }
}

TEST_F(SelectionTest, NoSelectionShowsZeroBytes)
{
    tmp.writeFile("src/a.txt", std::string(4096, 'a'));
    showSource();
    EXPECT_EQ(app->Main.selsize.text(), "Selected Size: 0 Bytes");
    EXPECT_EQ(app->Main.FileCount.text(), "Total Files Selected: 0");
}

TEST_F(SelectionTest, SelectedFileThatVanishedCountsMinusOne)
{
    tmp.writeFile("src/a.txt", std::string(10, 'a'));
    tmp.writeFile("src/b.txt", "b");
    showSource();
    std::filesystem::remove(src("b.txt"));
    app->Main.FileList.setSelected(0, true);
    app->Main.FileList.setSelected(1, true);
    app->Main.FileListClick();
    EXPECT_EQ(app->Main.selsize.text(), "Selected Size: 9 Bytes");
    EXPECT_EQ(app->Main.FileCount.text(), "Total Files Selected: 2");
}

class SelectAllTest : public AppFixture
{
protected:
    SelectAllTest()
    {
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            tmp.writeFile(std::string("src/") + name, "123");
        showSource();
    }
    TMain& main() { return app->Main; }
};

TEST_F(SelectAllTest, SelectAllTicksTheBoxAndSelectsEveryFileOnce)
{
    main().SelectAll1Click();
    EXPECT_TRUE(main().cbSelectAll.checked());
    EXPECT_EQ(main().FileList.selectedCount(), 3);
    EXPECT_EQ(main().FileCount.text(), "Total Files Selected: 3");
    EXPECT_EQ(main().selsize.text(), "Selected Size: 9 Bytes");
    EXPECT_EQ(ui.polls, 1) << "pending events are processed once";
    EXPECT_EQ(ui.busyDepth, 0);

    // Already ticked: nothing happens, even with a file deselected behind its back.
    main().FileList.setSelected(1, false);
    main().SelectAll1Click();
    EXPECT_EQ(main().FileList.selectedCount(), 2);
    EXPECT_EQ(ui.polls, 1);
}

TEST_F(SelectAllTest, GreyedBoxStillTakesTheTickAndSelects)
{
    main().SyncAll.setChecked(true);
    EXPECT_FALSE(main().cbSelectAll.enabled());
    main().SelectAll1Click();
    EXPECT_TRUE(main().cbSelectAll.checked());
    EXPECT_EQ(main().FileList.selectedCount(), 3);

    main().SyncAll.setChecked(false);
    EXPECT_TRUE(main().cbSelectAll.enabled());
    EXPECT_TRUE(main().cbSelectAll.checked());
}

TEST_F(SelectAllTest, ClearingTheBoxByHandKeepsTheSelection)
{
    main().cbSelectAll.setChecked(true);
    EXPECT_EQ(main().FileList.selectedCount(), 3);
    main().cbSelectAll.setChecked(false);
    EXPECT_EQ(main().FileList.selectedCount(), 3);
}

TEST_F(SelectAllTest, DeselectingOneFileClearsTheBox)
{
    main().SelectAll1Click();
    main().FileList.setSelected(2, false);
    main().FileListClick();
    EXPECT_FALSE(main().cbSelectAll.checked());
    EXPECT_EQ(main().FileList.selectedCount(), 2);
}

TEST_F(SelectAllTest, UnSelectAllClearsSelectionAndBox)
{
    main().SelectAll1Click();
    main().Cancel1Click();
    EXPECT_EQ(main().FileList.selectedCount(), 0);
    EXPECT_FALSE(main().cbSelectAll.checked());
    EXPECT_EQ(main().selsize.text(), "Selected Size: 0 Bytes");
    EXPECT_EQ(main().FileCount.text(), "Total Files Selected: 0");
}

TEST_F(SelectAllTest, ChangingDirectoryDropsSelectionAndTickUnlessTheListIsEmpty)
{
    tmp.makeDir("src/empty");
    tmp.writeFile("src/full/x.txt", "x");
    main().SelectAll1Click();
    main().SourceDirListBox.setDirectory(src("full"));
    EXPECT_EQ(main().FileList.selectedCount(), 0);
    EXPECT_FALSE(main().cbSelectAll.checked());

    main().SelectAll1Click();
    main().SourceDirListBox.setDirectory(src("empty"));
    EXPECT_TRUE(main().cbSelectAll.checked());
    EXPECT_EQ(main().SourceLabel.text(), src("empty"));
}

class CustomTypeTest : public AppFixture
{
protected:
    void custom(const std::string& include, const std::string& exclude)
    {
        app->Settings.Include = include;
        app->Settings.Exclude = exclude;
        app->Main.EditFilter.setItemIndex(1);
        app->Main.EditFilterChange();
    }
    std::vector<std::string> listed() const { return app->Main.FileList.items(); }
};

TEST_F(CustomTypeTest, FileMatchedByTwoIncludeMasksIsListedTwiceAndExcludedOnce)
{
    tmp.writeFile("src/report.txt", "r");
    tmp.writeFile("src/other.doc", "o");
    showSource();
    custom("*.txt;rep*;", "");
    EXPECT_EQ(listed(), (std::vector<std::string>{"report.txt", "report.txt"}));
    custom("*.txt;rep*;", "REPORT.TXT;");
    EXPECT_EQ(listed(), std::vector<std::string>{"report.txt"});
}

TEST_F(CustomTypeTest, IncludeAndExcludeCombineAndAllFilesBringsTheExcludedBack)
{
    for (const char* name : {"alpha.txt", "Apple.txt", "beta.txt", "gamma.doc"})
        tmp.writeFile(std::string("src/") + name, "x");
    showSource();
    custom("*.txt;", "a*;");
    EXPECT_EQ(listed(), std::vector<std::string>{"beta.txt"});

    // The exclude filter runs again after every re-reading of the list.
    app->Main.FileList.update();
    EXPECT_EQ(listed(), std::vector<std::string>{"beta.txt"});

    custom("", "a*;");
    EXPECT_EQ(listed(), (std::vector<std::string>{"beta.txt", "gamma.doc"}));
    app->Main.EditFilter.setItemIndex(0);
    app->Main.EditFilterChange();
    EXPECT_EQ(listed().size(), 4u);
}

TEST_F(CustomTypeTest, ExcludeKeepsTheSelectionOfTheRest)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        tmp.writeFile(std::string("src/") + name, "x");
    showSource();
    custom("", "");
    for (int i = 0; i < 3; ++i)
        app->Main.FileList.setSelected(i, true);
    app->Settings.Exclude = "b*;";
    app->Main.FilterFileList();
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_EQ(app->Main.FileList.selectedCount(), 2);
}

} // namespace
} // namespace twinfold::test
