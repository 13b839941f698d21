// Lookups read ahead on worker threads: a run does exactly what it does one lookup at a time.
#include "support/AppFixture.h"
#include "support/TreeSnapshot.h"

#include "platform/FileServices.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

namespace twinfold::test
{
namespace
{

// The real services as on a share, where every lookup waits a round trip; noting which threads
// look entries up.
class WatchedServices : public PosixFileServices
{
public:
    IoResult<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_threads.insert(std::this_thread::get_id());
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        return PosixFileServices::statusAt(dirFd, name, followLinks);
    }
    IoResult<bool> listNames(int dirFd, const std::function<void(const char*, bool)>& onEntry,
                             bool glance) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_listers.insert(std::this_thread::get_id());
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        return PosixFileServices::listNames(dirFd, onEntry, glance);
    }
    std::size_t threadsSeen()
    {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_threads, {}).size();
    }
    // Whether a thread other than the caller's listed a directory since the last call.
    bool listedElsewhere()
    {
        const std::lock_guard lock(m_mutex);
        m_listers.erase(std::this_thread::get_id());
        return !std::exchange(m_listers, {}).empty();
    }

private:
    std::mutex m_mutex;
    std::set<std::thread::id> m_threads;
    std::set<std::thread::id> m_listers;
};

// Everything a user sees of one run.
struct Seen {
    std::map<std::string, std::string> destination;
    std::vector<std::string> copied, old, failed, messages, statuses;
    bool operator==(const Seen&) const = default;
};

class ReadAheadTest : public AppFixture
{
protected:
    ReadAheadTest()
    {
        statuses = app->SyncBox.fileStatus.connect(
            [this](const std::string& process, const std::string& path) {
                seenStatuses.push_back(process + " " + path);
                if (onStatus)
                    onStatus(path);
            });
    }

    // Directories of many files (more than the window ahead), every outcome among them: new,
    // newer, same, older, a directory in a file's place, and one name listed twice.
    void makeTrees()
    {
        for (const char* dir : {"", "sub/", "sub/deep/", "other/"}) {
            for (int i = 0; i < 45; ++i) {
                const std::string name = std::string(dir) + "f" + std::to_string(i) + ".txt";
                tmp.writeFile("src/" + name, "source " + name, evenTime(100));
                if (i % 4 == 1)
                    tmp.writeFile("dst/" + name, "older", evenTime(0));
                else if (i % 4 == 2)
                    tmp.writeFile("dst/" + name, "same", evenTime(100));
                else if (i % 4 == 3)
                    tmp.writeFile("dst/" + name, "newer", evenTime(200));
            }
            tmp.writeFile("src/" + std::string(dir) + "dup.txt", "listed twice", evenTime(100));
            // Newer than the directory that stands in its place, made just now.
            tmp.writeFile("src/" + std::string(dir) + "taken.txt", "in the way",
                          std::time(nullptr) + 86400);
            tmp.makeDir("dst/" + std::string(dir) + "taken.txt");
        }
        std::filesystem::copy(dst(), tmp.pathOf("initial"),
                              std::filesystem::copy_options::recursive);
        // dup.txt matches both masks, so the file list holds it twice.
        app->Settings.Include = "*.txt;dup*;";
    }

    // cancelAt: the poll at which the user confirms Cancel; 0 for none.
    Seen runWith(int jobs, bool syncAll, int cancelAt = 0)
    {
        std::filesystem::remove_all(dst());
        std::filesystem::copy(tmp.pathOf("initial"), dst(),
                              std::filesystem::copy_options::recursive);
        app->Optionsbx.showJobs(jobs);
        showSource();
        app->Main.EditFilter.setItemIndex(1);
        app->Main.EditFilterChange();
        app->Main.SyncAll.setChecked(syncAll);
        if (!syncAll)
            selectAll();
        ui.restart();
        if (cancelAt > 0) {
            ui.atPoll(cancelAt, [this] {
                ui.answer(Answer::Yes);
                app->SyncBox.CancelClick();
            });
        }
        seenStatuses.clear();
        auto& log = app->LogFilebx;
        log.BitBtn2Click();
        EXPECT_TRUE(sync());
        return {treeOf(dst()),  log.FileSuccess, log.FileOld,
                log.FileFailed, ui.texts(),      seenStatuses};
    }

    std::vector<std::string> seenStatuses;
    std::function<void(const std::string&)> onStatus;
    Connection statuses;
};

TEST_F(ReadAheadTest, ManyLookupsInFlightChangeNothingARunDoes)
{
    makeTrees();
    WatchedServices watched;
    const ScopedFileServices scoped(watched);
    for (const bool syncAll : {true, false}) {
        static_cast<void>(watched.threadsSeen()); // those of the round before
        const Seen oneAtATime = runWith(1, syncAll);
        EXPECT_EQ(watched.threadsSeen(), 1u);
        const Seen ahead = runWith(8, syncAll);
        EXPECT_GT(watched.threadsSeen(), 1u) << "nothing was read ahead";
        EXPECT_EQ(ahead, oneAtATime) << (syncAll ? "Sync All" : "selected files");
        // The name listed twice is copied once, then found the same.
        const std::string dup = src("dup.txt");
        EXPECT_EQ(std::count(ahead.copied.begin(), ahead.copied.end(), dup), 1);
        EXPECT_EQ(std::count(ahead.old.begin(), ahead.old.end(), dup), 1);
        EXPECT_EQ(ahead.failed.size(), syncAll ? 4u : 1u);
        // Cancelled in the middle of a directory, with lookups of its next files under way.
        const Seen cancelled = runWith(1, syncAll, 30);
        EXPECT_EQ(runWith(16, syncAll, 30), cancelled);
        EXPECT_EQ(cancelled.messages.back(), "Operation Canceled!");
    }
}

TEST_F(ReadAheadTest, DirectoriesOpenedAheadChangeNothingARunDoes)
{
    // More subdirectories than are opened ahead at once, leftovers of killed runs in some of
    // their mirrored directories, and one mirrored directory missing until the walk is under
    // way.
    const std::string leftover = ".twinfold-0123456789ab.partial";
    for (int d = 0; d < 7; ++d) {
        const std::string dir = "wide/d" + std::to_string(d) + "/";
        for (int i = 0; i < 3; ++i)
            tmp.writeFile("src/" + dir + "f" + std::to_string(i) + ".txt", "source", evenTime(100));
        if (d != 3)
            tmp.writeFile("dst/" + dir + "f0.txt", "older", evenTime(0));
    }
    tmp.writeFile("dst/wide/d1/" + leftover, "killed run");
    tmp.writeFile("dst/sub/deep/" + leftover, "killed run");
    makeTrees();
    WatchedServices watched;
    const ScopedFileServices scoped(watched);
    // Made by someone else while the run is at the first wide directory: a directory found
    // missing ahead is looked for again at its turn.
    bool made = false;
    onStatus = [&](const std::string& path) {
        if (!made && path.find("/wide/d0/") != std::string::npos) {
            made = true;
            tmp.writeFile("dst/wide/d3/f0.txt", "newer", evenTime(200));
        }
    };
    const Seen oneAtATime = runWith(1, true);
    EXPECT_TRUE(made);
    static_cast<void>(watched.listedElsewhere());
    made = false;
    const Seen ahead = runWith(8, true);
    EXPECT_TRUE(watched.listedElsewhere()) << "no directory was read ahead";
    EXPECT_EQ(ahead, oneAtATime);
    EXPECT_EQ(ahead.destination.count("wide/d1/" + leftover), 0u);
    EXPECT_EQ(ahead.destination.count("sub/deep/" + leftover), 0u);
    EXPECT_EQ(ahead.destination.at("wide/d3/f0.txt"), "newer");
    EXPECT_EQ(std::count(ahead.old.begin(), ahead.old.end(), src("wide/d3/f0.txt")), 1);
}

} // namespace
} // namespace twinfold::test
