// The Preview command: what it shows against what the Sync started from it then does.
#include "support/AppFixture.h"
#include "support/TreeSnapshot.h"

#include "platform/PathRules.h"

#include <algorithm>
#include <map>
#include <set>

namespace twinfold::test
{
namespace
{

using Tree = std::map<std::string, std::string>;

std::vector<std::string> recorded(const std::vector<TPreview::File>& files)
{
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const auto& file : files)
        paths.push_back(recordedPath(file.path));
    return paths;
}

// The entries of after that are new or changed since before.
std::set<std::string> changed(const Tree& before, const Tree& after)
{
    std::set<std::string> names;
    for (const auto& [name, contents] : after)
        if (auto old = before.find(name); old == before.end() || old->second != contents)
            names.insert(name);
    return names;
}

class PreviewTest : public AppFixture
{
protected:
    TPreview& preview() { return app->Preview; }
    bool runPreview()
    {
        return app->mainCommand([this] { app->Main.Preview1Click(); });
    }
};

TEST_F(PreviewTest, ShowsExactlyWhatTheSyncStartedFromItThenDoes)
{
    tmp.writeFile("src/new.txt", "brand new");
    tmp.writeFile("src/newer.txt", "edited", evenTime(60));
    tmp.writeFile("dst/newer.txt", "old", evenTime());
    tmp.writeFile("src/same.txt", "same", evenTime());
    tmp.writeFile("dst/same.txt", "same", evenTime());
    tmp.writeFile("src/older.txt", "stale", evenTime());
    tmp.writeFile("dst/older.txt", "fresh", evenTime(60));
    tmp.writeFile("src/sub/deep/d.txt", "deep");
    tmp.makeDir("src/empty");
    tmp.writeFile("src/kept/k.txt", "k", evenTime());
    tmp.writeFile("dst/kept/k.txt", "k", evenTime());
    tmp.writeFile("dst/only-here.txt", "stays");
    showSource();
    selectAll();
    app->Main.SyncAll.setChecked(true);
    const Tree before = treeOf(dst());

    // With files selected the preview asks nothing, changes nothing on disk and leaves the log
    // alone; Sync in its window starts the real run (the walk has left no selection to ask about).
    ui.inModal("TPreview", [&] {
        EXPECT_EQ(treeOf(dst()), before);
        EXPECT_TRUE(app->LogFilebx.FileSuccess.empty() && app->LogFilebx.FileOld.empty());
        EXPECT_TRUE(ui.messages.empty());
        preview().SyncBtnClick();
    });
    ASSERT_TRUE(runPreview());
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"TPreview"});
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Directory Sync Successful!"});

    // Every file the preview listed to copy was copied, in the same order, and no other; every
    // file it left alone was left; the directories it named are the ones that appeared.
    const auto& log = app->LogFilebx;
    EXPECT_EQ(log.FileSuccess, recorded(preview().toCopy()));
    EXPECT_EQ(log.FileOld, recorded(preview().leftAlone()));
    EXPECT_TRUE(log.FileFailed.empty());
    std::set<std::string> copiedThere;
    std::map<std::string, std::string> reasons;
    std::int64_t bytes = 0;
    for (const auto& file : preview().toCopy()) {
        copiedThere.insert(preview().shownFile(file.path));
        reasons[preview().shownFile(file.path)] = reasonName(file.reason);
        bytes += file.size;
    }
    for (const auto& file : preview().leftAlone())
        reasons[preview().shownFile(file.path)] = reasonName(file.reason);
    for (const auto& dir : preview().directories())
        copiedThere.insert(preview().shownDirectory(dir) + "/");
    EXPECT_EQ(changed(before, treeOf(dst())), copiedThere);
    EXPECT_EQ(reasons, (std::map<std::string, std::string>{{"new.txt", "new"},
                                                           {"newer.txt", "newer"},
                                                           {"same.txt", "older or same"},
                                                           {"older.txt", "older or same"},
                                                           {"sub/deep/d.txt", "new"},
                                                           {"kept/k.txt", "older or same"}}));
    EXPECT_EQ(preview().bytesToCopy(), bytes);
    EXPECT_EQ(bytes, 9 + 6 + 4);
    EXPECT_EQ(preview().Totals.text(),
              "Would copy 3 files (19 bytes), leave 3 files alone and make 3 directories.");
}

TEST_F(PreviewTest, CoversTheSelectionAloneAndClosingChangesNothing)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "b");
    tmp.writeFile("src/c.txt", "c");
    tmp.writeFile("src/sub/d.txt", "d");
    showSource();
    // Nothing selected: the Sync's own message, and no window.
    ASSERT_TRUE(runPreview());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No items selected to sync!"});
    EXPECT_TRUE(ui.modalWindows.empty());

    ui.restart();
    app->Main.FileList.setSelected(0, true);
    app->Main.FileList.setSelected(2, true);
    const Tree before = treeOf(dst());
    ui.inModal("TPreview", [&] { preview().CloseBtnClick(); });
    ASSERT_TRUE(runPreview());
    std::vector<std::string> shown;
    for (const auto& file : preview().toCopy())
        shown.push_back(preview().shownFile(file.path));
    EXPECT_EQ(shown, (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_TRUE(preview().directories().empty());
    EXPECT_EQ(treeOf(dst()), before);
    EXPECT_TRUE(ui.texts().empty());
    EXPECT_TRUE(app->LogFilebx.FileSuccess.empty());
    // The selection the preview covered is still there for the Sync.
    EXPECT_EQ(app->Main.FileList.selectedCount(), 2);
}

} // namespace
} // namespace twinfold::test
