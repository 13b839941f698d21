// A Sync All walk meeting a directory it cannot read: one that vanishes between the listing
// that showed it and the walk entering it, and one whose listing fails part-way.
#include "support/AppFixture.h"
#include "support/FaultyFileServices.h"
#include "support/TreeSnapshot.h"

#include "engine/DirectoryFailure.h"

#include <filesystem>
#include <map>
#include <optional>

namespace twinfold::test
{
namespace
{

using Call = FaultyFileServices::Call;

class WalkFaultTest : public AppFixture
{
};

TEST_F(WalkFaultTest, AnUnreadableDirectoryAbandonsTheRunOrIsPassedOver)
{
    struct Row {
        const char* what;
        Call call;
        int error;
        int nth; // the listing's first batch is read, its second fails
        bool keepGoing;
        const char* text;
    };
    const Row rows[] = {
        {"vanished", Call::OpenDirectory, ENOENT, 1, false, "File not found"},
        {"vanished, keep going", Call::OpenDirectory, ENOENT, 1, true, "File not found"},
        {"listing failed", Call::ReadDirectory, EIO, 2, false, "I/O error 5"},
        {"listing failed, keep going", Call::ReadDirectory, EIO, 2, true, "I/O error 5"},
    };
    tmp.writeFile("src/a/1.txt", "one", evenTime());
    tmp.writeFile("src/b/2.txt", "two", evenTime());
    tmp.writeFile("src/b/deep/3.txt", "three", evenTime());
    tmp.writeFile("src/c/4.txt", "four", evenTime());
    tmp.writeFile("src/top.txt", "top", evenTime());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(dst());
        tmp.makeDir("dst");
        app->LogFilebx.BitBtn2Click(); // the result lists start empty
        ui.restart();
        showSource();
        app->Main.SyncAll.setChecked(true);
        app->Main.keepGoing = row.keepGoing;
        FaultyFileServices faulty;
        faulty.failNamed(row.call, "/src/b", row.error, row.nth);
        std::optional<DirectoryFailure> failure;
        {
            const ScopedFileServices seam(faulty);
            try {
                app->Main.SyncBtnClick();
            } catch (const DirectoryFailure& thrown) {
                failure = thrown;
            }
        }
        std::map<std::string, std::string> expected{{"a/", ""}, {"a/1.txt", "one"}};
        if (row.keepGoing) {
            ASSERT_FALSE(failure) << failure->what();
            expected.insert({{"c/", ""}, {"c/4.txt", "four"}, {"top.txt", "top"}});
            EXPECT_EQ(app->LogFilebx.FileFailed, std::vector<std::string>{src("b")});
            EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 3u);
        } else {
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->path(), src("b"));
            EXPECT_EQ(failure->action(), DirectoryAction::Enter);
            EXPECT_STREQ(failure->what(), row.text);
            EXPECT_FALSE(app->Main.runInProgress());
            EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
        }
        EXPECT_EQ(treeOf(dst()), expected);
    }
}

} // namespace
} // namespace twinfold::test
