#include "platform/FileSystem.h"
#include "platform/DirectoryCache.h"
#include "platform/ErrorText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

using namespace twinfold;
using twinfold::test::TempDir;
using Names = std::vector<std::string>;

namespace
{

void makeLink(const std::string& target, const std::string& linkPath)
{
    ASSERT_EQ(symlink(target.c_str(), linkPath.c_str()), 0) << linkPath;
}

// Restores the current directory that a test changes.
class CurrentDirectoryGuard
{
public:
    CurrentDirectoryGuard() : m_saved(currentDirectory()) {}
    ~CurrentDirectoryGuard() { setCurrentDirectory(m_saved); }
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::string m_saved;
};

} // namespace

class DirectoryListingTest : public ::testing::Test
{
protected:
    std::shared_ptr<const DirectoryListing> readDirectory(const std::string& path)
    {
        return cache.read(path);
    }
    // Dates the following reads well after every change made so far, so that their listings
    // are kept and a later change has to be noticed by the cache check itself.
    void letChangesSettle()
    {
        const auto later = std::chrono::system_clock::now() + std::chrono::seconds(10);
        cache.setClock([later] { return later; });
    }

    DirectoryCache cache;
    TempDir dir;
};

TEST_F(DirectoryListingTest, ListsFilesAndRealDirectoriesOnly)
{
    dir.writeFile("plain.txt", "x");
    dir.writeFile(".hidden", "x");
    dir.makeDir("sub");
    dir.makeDir(".config");
    ASSERT_EQ(mkfifo(dir.pathOf("fifo").c_str(), 0644), 0);
    makeLink(dir.pathOf("nowhere"), dir.pathOf("dangling"));
    makeLink(dir.pathOf("sub"), dir.pathOf("linkToDir"));
    makeLink("plain.txt", dir.pathOf("linkToFile"));
    makeLink(dir.pathOf("fifo"), dir.pathOf("linkToFifo"));

    const auto listing = readDirectory(dir.path());
    EXPECT_EQ(listing->files, (Names{".hidden", "linkToFile", "plain.txt"}));
    EXPECT_EQ(listing->subdirectories, (Names{".config", "sub"}));
}

TEST_F(DirectoryListingTest, SortsWithoutRegardToCase)
{
    for (const char* name : {"gamma", "Beta", "alpha"}) {
        dir.writeFile(name, "");
        dir.makeDir(std::string("d") + name);
    }
    const auto listing = readDirectory(dir.path());
    EXPECT_EQ(listing->files, (Names{"alpha", "Beta", "gamma"}));
    EXPECT_EQ(listing->subdirectories, (Names{"dalpha", "dBeta", "dgamma"}));
}

TEST_F(DirectoryListingTest, FailsWithTheSystemError)
{
    try {
        readDirectory(dir.pathOf("missing"));
        FAIL() << "no error for a missing directory";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), ENOENT);
        EXPECT_STREQ(error.what(), "File not found");
    }
    const std::string file = dir.writeFile("file", "");
    EXPECT_THROW(readDirectory(file), IoError);
}

TEST_F(DirectoryListingTest, NoticesChangesToListingsItHasKept)
{
    const std::string grows = dir.makeDir("grows");
    const std::string shrinks = dir.makeDir("shrinks");
    const std::string renames = dir.makeDir("renames");
    const std::string replaced = dir.makeDir("replaced");
    const std::string links = dir.makeDir("links");
    dir.writeFile("shrinks/old", "");
    dir.writeFile("renames/before", "");
    dir.writeFile("replaced/a", "");
    dir.writeFile("other/b", "");
    makeLink(dir.pathOf("target"), dir.pathOf("links/later"));
    const auto fresh = readDirectory(grows);
    EXPECT_NE(readDirectory(grows), fresh) << "a listing read just after a change is kept";
    letChangesSettle();

    const auto first = readDirectory(grows);
    EXPECT_EQ(readDirectory(grows), first) << "an unchanged listing is read again";
    for (const std::string& path : {shrinks, renames, replaced, links})
        readDirectory(path);

    dir.writeFile("grows/new", "");
    dir.makeDir("grows/newdir");
    ASSERT_EQ(unlink(dir.pathOf("shrinks/old").c_str()), 0);
    ASSERT_EQ(rename(dir.pathOf("renames/before").c_str(), dir.pathOf("renames/after").c_str()), 0);
    ASSERT_EQ(rename(replaced.c_str(), dir.pathOf("moved").c_str()), 0);
    ASSERT_EQ(rename(dir.pathOf("other").c_str(), replaced.c_str()), 0);
    // The directory itself does not change when a link's target appears elsewhere.
    dir.writeFile("target", "");

    EXPECT_EQ(readDirectory(grows)->files, Names{"new"});
    EXPECT_EQ(readDirectory(grows)->subdirectories, Names{"newdir"});
    EXPECT_TRUE(readDirectory(shrinks)->files.empty());
    EXPECT_EQ(readDirectory(renames)->files, Names{"after"});
    EXPECT_EQ(readDirectory(replaced)->files, Names{"b"});
    EXPECT_EQ(readDirectory(links)->files, Names{"later"});
}

class FileServicesTest : public ::testing::Test
{
protected:
    TempDir dir;
};

TEST_F(FileServicesTest, LookupReportsKindTimeAndSize)
{
    const std::int64_t mtime = 1'600'000'000;
    const std::string file = dir.writeFile("data.bin", "12345", mtime);
    const auto rec = lookupEntry(file);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->Name, "data.bin");
    EXPECT_EQ(rec->Attr, 0);
    EXPECT_EQ(rec->Size, 5);
    EXPECT_EQ(rec->Time, packTimeValue(mtime));
    EXPECT_EQ(fileAge(file), packTimeValue(mtime));

    const auto sub = lookupEntry(dir.makeDir("sub") + "/");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->Name, "sub");
    EXPECT_EQ(sub->Attr, faDirectory);
    EXPECT_NE(sub->Time, NoTimeValue);
    EXPECT_EQ(fileAge(dir.pathOf("sub")), NoTimeValue);

    EXPECT_FALSE(lookupEntry(dir.pathOf("missing")));
    EXPECT_EQ(fileAge(dir.pathOf("missing")), NoTimeValue);
}

TEST_F(FileServicesTest, LookupSeesReadOnlyHiddenAndLinksThemselves)
{
    const std::string hidden = dir.writeFile(".profile", "");
    ASSERT_EQ(chmod(hidden.c_str(), 0444), 0);
    EXPECT_EQ(lookupEntry(hidden)->Attr, faReadOnly | faHidden);
    EXPECT_EQ(fileGetAttr(hidden), faReadOnly | faHidden);

    makeLink(dir.pathOf("nowhere"), dir.pathOf("dangling"));
    const auto link = lookupEntry(dir.pathOf("dangling"));
    ASSERT_TRUE(link) << "a dangling link is still an entry";
    EXPECT_EQ(link->Attr & faDirectory, 0);
    EXPECT_EQ(fileGetAttr(dir.pathOf("dangling")), -1);

    dir.makeDir("real");
    makeLink(dir.pathOf("real"), dir.pathOf("toDir"));
    EXPECT_EQ(lookupEntry(dir.pathOf("toDir"))->Attr & faDirectory, 0);
    EXPECT_TRUE(directoryExists(dir.pathOf("toDir")));
    EXPECT_FALSE(fileExists(dir.pathOf("toDir")));
}

TEST_F(FileServicesTest, FileAgeFollowsLinksToRegularFilesOnly)
{
    const std::int64_t mtime = 1'500'000'000;
    dir.writeFile("target", "", mtime);
    makeLink("target", dir.pathOf("link"));
    EXPECT_EQ(fileAge(dir.pathOf("link")), packTimeValue(mtime));
    EXPECT_TRUE(fileExists(dir.pathOf("link")));
    ASSERT_EQ(mkfifo(dir.pathOf("fifo").c_str(), 0644), 0);
    EXPECT_EQ(fileAge(dir.pathOf("fifo")), NoTimeValue);
    EXPECT_FALSE(fileExists(dir.pathOf("fifo")));
    dir.writeFile("old", "", 0);
    EXPECT_EQ(fileAge(dir.pathOf("old")), NoTimeValue);
}

TEST_F(FileServicesTest, DeleteRefusesReadOnlyFilesAndDirectories)
{
    const std::string locked = dir.writeFile("locked", "keep");
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    EXPECT_FALSE(deleteFile(locked));
    EXPECT_EQ(dir.readFile("locked"), "keep");

    const std::string sub = dir.makeDir("sub");
    EXPECT_FALSE(deleteFile(sub));
    EXPECT_TRUE(directoryExists(sub));

    const std::string plain = dir.writeFile("plain", "");
    EXPECT_TRUE(deleteFile(plain));
    EXPECT_FALSE(lookupEntry(plain));
    EXPECT_FALSE(deleteFile(plain));

    // Deleting a link removes the link, never the read-only file it points to.
    makeLink(locked, dir.pathOf("toLocked"));
    EXPECT_TRUE(deleteFile(dir.pathOf("toLocked")));
    EXPECT_EQ(dir.readFile("locked"), "keep");
}

TEST_F(FileServicesTest, RenameNeverReplacesAnExistingEntry)
{
    const std::string from = dir.writeFile("from", "moving");
    const std::string to = dir.writeFile("to", "staying");
    EXPECT_FALSE(renameFile(from, to));
    EXPECT_EQ(dir.readFile("from"), "moving");
    EXPECT_EQ(dir.readFile("to"), "staying");

    makeLink(dir.pathOf("nowhere"), dir.pathOf("dangling"));
    EXPECT_FALSE(renameFile(from, dir.pathOf("dangling")));
    EXPECT_EQ(dir.readFile("from"), "moving");

    EXPECT_TRUE(renameFile(from, dir.pathOf("fresh")));
    EXPECT_EQ(dir.readFile("fresh"), "moving");
    EXPECT_FALSE(fileExists(from));
}

TEST_F(FileServicesTest, DirectoriesAreMadeRemovedAndChecked)
{
    const std::string sub = dir.pathOf("sub");
    EXPECT_TRUE(createDirectory(sub));
    EXPECT_FALSE(createDirectory(sub));
    EXPECT_NO_THROW(checkDirectoryAccess(sub));

    dir.writeFile("sub/file", "");
    EXPECT_EQ(removeDirectory(sub), ENOTEMPTY);
    try {
        checkDirectoryAccess(dir.pathOf("sub/file"));
        FAIL() << "a file passed as a directory";
    } catch (const IoError& error) {
        EXPECT_EQ(error.errorNumber(), ENOTDIR);
    }
    ASSERT_EQ(unlink(dir.pathOf("sub/file").c_str()), 0);
    EXPECT_EQ(removeDirectory(sub), 0);
    EXPECT_THROW(checkDirectoryAccess(sub), IoError);

    // Relative trees are made from where the program stands, a bare name included.
    const CurrentDirectoryGuard guard;
    setCurrentDirectory(dir.path());
    EXPECT_TRUE(createDirectoryTree("bare"));
    EXPECT_TRUE(createDirectoryTree("rel/a/b/"));
    EXPECT_TRUE(directoryExists(dir.pathOf("bare")));
    EXPECT_TRUE(directoryExists(dir.pathOf("rel/a/b")));
    EXPECT_FALSE(createDirectoryTree("rel/a"));
}

TEST_F(FileServicesTest, ExpandFileNameIsLexical)
{
    const CurrentDirectoryGuard guard;
    dir.makeDir("real/deep");
    makeLink(dir.pathOf("real/deep"), dir.pathOf("link"));
    setCurrentDirectory(dir.path());
    const std::string here = currentDirectory();

    EXPECT_EQ(expandFileName("real//deep/"), here + "/real/deep");
    EXPECT_EQ(expandFileName("./real/./deep/.."), here + "/real");
    EXPECT_EQ(expandFileName("link/.."), here) << "the link is not resolved";
    EXPECT_EQ(expandFileName(""), here);
    EXPECT_EQ(expandFileName("/a/b/../../.."), "/");
    EXPECT_EQ(expandFileName("//x///y"), "/x/y");
    EXPECT_EQ(expandFileName("/"), "/");

    EXPECT_THROW(setCurrentDirectory(dir.pathOf("missing")), IoError);
    EXPECT_EQ(currentDirectory(), here);
}

TEST(Drives, RootComesFirstAndEveryPathHasADrive)
{
    const std::vector<std::string> drives = listDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front(), "/");
    for (std::size_t i = 1; i < drives.size(); ++i) {
        EXPECT_NE(drives[i], "/");
        EXPECT_NE(drives[i - 1], drives[i]);
    }
    EXPECT_EQ(driveOf("/"), "/");
    const std::string procDrive = driveOf("/proc/self");
    EXPECT_TRUE(procDrive == "/proc" || procDrive == "/") << procDrive;
}

TEST(Drives, KernelFileSystemsAreLeftOutAndEscapedNamesDecoded)
{
    const std::string table = "proc /proc proc rw 0 0\n"
                              "sysfs /sys sysfs rw 0 0\n"
                              "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
                              "tmpfs /dev/shm tmpfs rw 0 0\n"
                              "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                              "/dev/sda1 / ext4 rw 0 0\n"
                              "/dev/sda2 /Home ext4 rw 0 0\n"
                              "tmpfs /tmp tmpfs rw 0 0\n"
                              "binfmt_misc /proc/sys/fs/binfmt_misc binfmt_misc rw 0 0\n"
                              "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                              "systemd-1 /mnt/auto autofs rw 0 0\n";
    EXPECT_EQ(drivesOfMountTable(table),
              (std::vector<std::string>{"/", "/Home", "/media/usb stick", "/tmp"}));
    EXPECT_EQ(drivesOfMountTable(""), std::vector<std::string>{"/"});
    for (const std::string& drive : listDrives()) {
        EXPECT_NE(drive.rfind("/proc", 0), 0u) << drive;
        EXPECT_NE(drive.rfind("/sys", 0), 0u) << drive;
    }
}

TEST(ErrorTexts, PlatformNumbersMapToTheirTexts)
{
    EXPECT_EQ(errorText(ENOENT), "File not found");
    for (const int number : {ENOTDIR, ENAMETOOLONG, EINVAL, ELOOP})
        EXPECT_EQ(errorText(number), "Invalid filename") << number;
    EXPECT_EQ(errorText(EMFILE), "Too many open files");
    EXPECT_EQ(errorText(ENFILE), "Too many open files");
    for (const int number : {EACCES, EPERM, EROFS})
        EXPECT_EQ(errorText(number), "File access denied") << number;
    EXPECT_EQ(errorText(ENOSPC), "Disk full");
    EXPECT_EQ(errorText(EDQUOT), "Disk full");
    EXPECT_EQ(errorText(EIO), "I/O error " + std::to_string(EIO));

    const IoError error(EACCES);
    EXPECT_STREQ(error.what(), "File access denied");
    EXPECT_EQ(error.errorNumber(), EACCES);
}

TEST(ErrorTexts, ReportAddsOneFullStop)
{
    EXPECT_EQ(errorReportText("File not found"), "File not found.");
    EXPECT_EQ(errorReportText("Done."), "Done.");
    EXPECT_EQ(errorReportText(""), ".");

    // A failure about a path its text does not name gets it on a second line, once.
    EXPECT_EQ(errorReportText(IoError(ENOENT).about("/a/b").about("/a")), "File not found.\n/a/b");
    EXPECT_EQ(errorReportText(IoError(EACCES, "Cannot open /a/b").about("/a/b")),
              "Cannot open /a/b.");
    EXPECT_EQ(errorReportText(IoError(ENOSPC)), "Disk full.");
    EXPECT_EQ(errorReportText(CommandError("Unable to write to /x.")), "Unable to write to /x.");
}
