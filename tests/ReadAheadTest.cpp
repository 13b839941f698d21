// Lookups read ahead on worker threads: a run does exactly what it does one lookup at a time.
#include "support/AppFixture.h"
#include "support/TreeSnapshot.h"

#include "engine/CopyAhead.h"
#include "engine/TemporaryFile.h"
#include "platform/FileServices.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <set>
#include <sys/resource.h>
#include <thread>

namespace twinfold::test
{
namespace
{

// The real services as on a share, where every lookup waits a round trip; noting which threads
// look entries up and make copies. A source named "unreadable.txt" cannot be read; one named
// "...changing.txt" is written again once a worker has read it, before the run gets to it.
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
    IoResult<int> openDirectory(int dirFd, const std::string& name, bool followLinks) override
    {
        // The walk's listings name the source's directories in full; mirrored directories are
        // opened below the destination's root.
        if (name.starts_with('/') && std::this_thread::get_id() != m_main)
            m_sourceListedAhead = true;
        return PosixFileServices::openDirectory(dirFd, name, followLinks);
    }
    bool sourceListedAhead() { return m_sourceListedAhead.exchange(false); }
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

    IoResult<int> openForReading(int dirFd, const std::string& name, FileStatus& status) override
    {
        const auto opened = PosixFileServices::openForReading(dirFd, name, status);
        const std::lock_guard lock(m_mutex);
        if (opened.ok())
            m_opened[opened.value] = name;
        return opened;
    }
    IoResult<std::int64_t> read(int fd, void* buffer, std::size_t size) override
    {
        if (named(fd, "unreadable.txt"))
            return {-1, EIO};
        return PosixFileServices::read(fd, buffer, size);
    }
    IoResult<std::int64_t> copyRange(int inputFd, int outputFd, std::size_t size) override
    {
        if (named(inputFd, "unreadable.txt"))
            return {-1, EIO};
        return PosixFileServices::copyRange(inputFd, outputFd, size);
    }
    IoResult<bool> close(int fd) override
    {
        const bool changing = named(fd, "changing.txt");
        {
            const std::lock_guard lock(m_mutex);
            m_opened.erase(fd);
        }
        const auto closed = PosixFileServices::close(fd);
        if (changing && std::this_thread::get_id() != m_main && !m_changed.exchange(true))
            changeSource();
        return closed;
    }
    IoResult<int> createUnnamed(int dirFd, unsigned mode) override
    {
        noteMade();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (!unnamedFiles)
            return {-1, EOPNOTSUPP};
        return PosixFileServices::createUnnamed(dirFd, mode);
    }
    IoResult<int> createExclusive(int dirFd, const std::string& name, unsigned mode) override
    {
        if (isTemporaryName(name) && unnamedFiles)
            noteMade();
        if (isTemporaryName(name))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        return PosixFileServices::createExclusive(dirFd, name, mode);
    }
    // How many copies worker threads began since the last call; whether the changing source
    // was written again.
    int madeAhead() { return m_madeAhead.exchange(0); }
    // How many worker threads began copies since the last call.
    std::size_t copyMakers()
    {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_makers, {}).size();
    }
    IoResult<std::int64_t> freeSpace(int fd) override
    {
        return free < 0 ? PosixFileServices::freeSpace(fd) : IoResult<std::int64_t>{free, 0};
    }
    bool changed() { return m_changed.exchange(false); }

    bool unnamedFiles = true;
    // What the destination's volume says it has free; below 0 its real room.
    std::atomic<std::int64_t> free = -1;
    std::function<void()> changeSource;

private:
    bool named(int fd, const std::string& name)
    {
        const std::lock_guard lock(m_mutex);
        const auto opened = m_opened.find(fd);
        return opened != m_opened.end() && opened->second.ends_with(name);
    }
    void noteMade()
    {
        if (std::this_thread::get_id() == m_main)
            return;
        ++m_madeAhead;
        const std::lock_guard lock(m_mutex);
        m_makers.insert(std::this_thread::get_id());
    }

    std::mutex m_mutex;
    std::set<std::thread::id> m_threads;
    std::set<std::thread::id> m_listers;
    std::set<std::thread::id> m_makers;
    std::map<int, std::string> m_opened;
    const std::thread::id m_main = std::this_thread::get_id();
    std::atomic<int> m_madeAhead = 0;
    std::atomic<bool> m_changed = false;
    std::atomic<bool> m_sourceListedAhead = false;
};

// Lets the process open only a few more descriptors than it holds, while it lives.
class FewDescriptors
{
public:
    explicit FewDescriptors(int more)
    {
        ::getrlimit(RLIMIT_NOFILE, &m_saved);
        const auto held = std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator());
        rlimit few = m_saved;
        few.rlim_cur = static_cast<rlim_t>(held + more);
        ::setrlimit(RLIMIT_NOFILE, &few);
    }
    ~FewDescriptors() { ::setrlimit(RLIMIT_NOFILE, &m_saved); }
    FewDescriptors(const FewDescriptors&) = delete;
    FewDescriptors& operator=(const FewDescriptors&) = delete;

private:
    rlimit m_saved{};
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

    // A directory that only the source has, so that its pass copies every file: files of many
    // sizes, among them one that cannot be read and one that changes before its turn.
    void makeFresh()
    {
        for (int i = 0; i < 60; ++i) {
            const std::string name = "fresh/f" + std::to_string(i) + ".txt";
            tmp.writeFile("src/" + name,
                          std::string(static_cast<std::size_t>(i) * 3000, 'x') + name,
                          evenTime(100));
        }
        tmp.writeFile("src/fresh/unreadable.txt", "never read", evenTime(100));
        writeChanging("as it was");
    }
    void writeChanging(const std::string& contents)
    {
        tmp.writeFile("src/fresh/late-changing.txt", contents, evenTime(contents.size() % 2 * 10));
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
        static_cast<void>(watched.madeAhead());
        const Seen oneAtATime = runWith(1, syncAll);
        EXPECT_EQ(watched.threadsSeen(), 1u);
        EXPECT_EQ(watched.madeAhead(), 0);
        const Seen ahead = runWith(8, syncAll);
        EXPECT_GT(watched.threadsSeen(), 1u) << "nothing was read ahead";
        // The new and the newer files of directories that exist already, as the statuses read
        // ahead show them.
        EXPECT_GT(watched.madeAhead(), 0) << "nothing was copied ahead";
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
    EXPECT_TRUE(watched.sourceListedAhead()) << "no source directory was listed ahead";
    EXPECT_EQ(ahead, oneAtATime);
    EXPECT_EQ(ahead.destination.count("wide/d1/" + leftover), 0u);
    EXPECT_EQ(ahead.destination.count("sub/deep/" + leftover), 0u);
    EXPECT_EQ(ahead.destination.at("wide/d3/f0.txt"), "newer");
    EXPECT_EQ(std::count(ahead.old.begin(), ahead.old.end(), src("wide/d3/f0.txt")), 1);
}

TEST_F(ReadAheadTest, CopiesMadeAheadInstallAtTheirTurnAsCopiesMadeThere)
{
    makeTrees();
    makeFresh();
    WatchedServices watched;
    const ScopedFileServices scoped(watched);
    watched.changeSource = [this] { writeChanging("changed since it was read"); };
    for (const bool unnamed : {true, false}) {
        watched.unnamedFiles = unnamed;
        writeChanging("as it was");
        static_cast<void>(watched.madeAhead()); // those of the round before
        const Seen oneAtATime = runWith(1, true);
        EXPECT_EQ(watched.madeAhead(), 0);
        EXPECT_FALSE(watched.changed());
        writeChanging("as it was");
        static_cast<void>(watched.copyMakers());
        Seen ahead = runWith(8, true);
        EXPECT_GT(watched.madeAhead(), 20) << "nothing was copied ahead";
        // Copies that wait for the volume are made by more workers than one.
        EXPECT_GT(watched.copyMakers(), 1u);
        // Written again after its copy ahead was made: copied at its turn as it is then.
        ASSERT_TRUE(watched.changed());
        EXPECT_EQ(ahead.destination["fresh/late-changing.txt"], "changed since it was read");
        ahead.destination["fresh/late-changing.txt"] = "as it was";
        EXPECT_EQ(ahead, oneAtATime) << (unnamed ? "unnamed" : "named") << " temporaries";
        // The source that cannot be read fails at its turn, in its place among the messages.
        const std::string unreadable = "Error reading source file: " + src("fresh/unreadable.txt");
        EXPECT_EQ(
            std::count_if(ahead.messages.begin(), ahead.messages.end(),
                          [&](const std::string& text) { return text.starts_with(unreadable); }),
            1);
        EXPECT_EQ(ahead.destination.count("fresh/unreadable.txt"), 0u);
        // Cancelled at polls in and around the directory whose copies are made ahead: nothing
        // made ahead shows, and the run ends as one copying one file at a time.
        for (const int cancelAt : {20, 45, 120}) {
            writeChanging("as it was");
            const Seen cancelled = runWith(1, true, cancelAt);
            writeChanging("as it was");
            Seen cancelledAhead = runWith(8, true, cancelAt);
            if (watched.changed() && cancelledAhead.destination.contains("fresh/late-changing.txt"))
                cancelledAhead.destination["fresh/late-changing.txt"] = "as it was";
            EXPECT_EQ(cancelledAhead, cancelled) << "cancelled at poll " << cancelAt;
            EXPECT_EQ(cancelledAhead.messages.back(), "Operation Canceled!");
        }
    }
    // A nearly full volume: copies ahead never take its last bytes, and any held give them back
    // to a copy made at its turn, so every file fares as it does one at a time.
    for (const std::int64_t free : {CopyAhead::SpareBytes - 1, CopyAhead::SpareBytes + 400000}) {
        watched.free = free;
        writeChanging("as it was");
        static_cast<void>(watched.madeAhead());
        const Seen oneAtATime = runWith(1, true);
        writeChanging("as it was");
        Seen ahead = runWith(8, true);
        if (free < CopyAhead::SpareBytes) {
            EXPECT_EQ(watched.madeAhead(), 0);
        }
        if (watched.changed())
            ahead.destination["fresh/late-changing.txt"] = "as it was";
        EXPECT_EQ(ahead, oneAtATime) << free << " bytes free";
    }
    // A process that may hold few descriptors: fewer copies and directories held ahead (here
    // few or none), never a file that fails for want of one.
    watched.free = -1;
    writeChanging("as it was");
    const Seen oneAtATime = runWith(1, true);
    writeChanging("as it was");
    static_cast<void>(watched.madeAhead());
    Seen ahead;
    {
        const FewDescriptors few(20);
        ahead = runWith(3, true);
    }
    if (watched.changed())
        ahead.destination["fresh/late-changing.txt"] = "as it was";
    EXPECT_EQ(ahead, oneAtATime);
}

// The real services as on a local disk, where no lookup waits; noting whether a thread other
// than the run's looked an entry up.
class LocalServices : public PosixFileServices
{
public:
    IoResult<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks) override
    {
        if (std::this_thread::get_id() != m_main)
            lookedUpElsewhere = true;
        return PosixFileServices::statusAt(dirFd, name, followLinks);
    }
    IoResult<int> createUnnamed(int dirFd, unsigned mode) override
    {
        if (std::this_thread::get_id() != m_main) {
            const std::lock_guard lock(m_mutex);
            m_makers.insert(std::this_thread::get_id());
        }
        return PosixFileServices::createUnnamed(dirFd, mode);
    }
    // How many worker threads began copies.
    std::size_t copyMakers()
    {
        const std::lock_guard lock(m_mutex);
        return m_makers.size();
    }
    std::atomic<bool> lookedUpElsewhere = false;

private:
    std::mutex m_mutex;
    std::set<std::thread::id> m_makers;
    const std::thread::id m_main = std::this_thread::get_id();
};

TEST_F(ReadAheadTest, StretchesLookedUpAheadOnALocalDiskChangeNothingARunDoes)
{
    makeTrees();
    LocalServices local;
    const ScopedFileServices scoped(local);
    for (const bool syncAll : {true, false}) {
        local.lookedUpElsewhere = false; // by the round before
        const Seen oneAtATime = runWith(1, syncAll);
        EXPECT_FALSE(local.lookedUpElsewhere.exchange(false));
        // Whether the worker gets to any entry before the run depends on the machine's load.
        for (int round = 0; round < 5 && !local.lookedUpElsewhere; ++round)
            EXPECT_EQ(runWith(8, syncAll), oneAtATime) << (syncAll ? "Sync All" : "selected");
        EXPECT_TRUE(local.lookedUpElsewhere.exchange(false)) << "nothing was read ahead";
        EXPECT_EQ(runWith(8, syncAll, 30), runWith(1, syncAll, 30));
    }
    // Copies that only take the processor are made by one worker at most, beside the run.
    EXPECT_LE(local.copyMakers(), 1u);
}

} // namespace
} // namespace twinfold::test
