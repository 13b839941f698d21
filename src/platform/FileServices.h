#pragma once

#include "FileHandle.h"
#include "IoResult.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace twinfold
{

// The file operations that a copy and a walk make, behind one interface, so that a test can
// make any of them fail at a chosen moment. Descriptors are plain numbers here (-1 on failure);
// FileHandle owns them. Every call returns its error with its result.
class FileServices
{
public:
    virtual ~FileServices() = default;

    // Opens an existing regular file for reading without ever blocking on something else (a
    // FIFO that replaced a listed file) and reports its status; fails (EISDIR, EINVAL) when it
    // is not a regular file.
    virtual IoResult<int> openForReading(int dirFd, const std::string& name,
                                         FileStatus& status) = 0;
    // Opens a real directory for reading; a symbolic link is followed only when followLinks.
    virtual IoResult<int> openDirectory(int dirFd, const std::string& name, bool followLinks) = 0;
    virtual IoResult<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks) = 0;
    virtual IoResult<FileStatus> status(int fd) = 0;
    // One read or write call: the bytes moved; never retried here.
    virtual IoResult<std::int64_t> read(int fd, void* buffer, std::size_t size) = 0;
    virtual IoResult<std::int64_t> write(int fd, const void* buffer, std::size_t size) = 0;
    // The kernel's copy from one file's position to the other's; fails where it refuses.
    virtual IoResult<std::int64_t> copyRange(int inputFd, int outputFd, std::size_t size) = 0;
    // Both times in one request, the access time never left alone (see FileHandle::setTimes).
    virtual IoResult<bool> setTimes(int fd, std::int64_t accessSeconds,
                                    std::int64_t modificationSeconds) = 0;
    virtual IoResult<bool> setMode(int fd, unsigned mode) = 0;
    virtual IoResult<bool> setOwner(int fd, std::uint32_t owner, std::uint32_t group) = 0;
    virtual IoResult<bool> sync(int fd) = 0;
    // Reports the write errors that closing the file would report (a network file system sends
    // its data at a close) and keeps the file open: it closes a duplicate of the descriptor.
    virtual IoResult<bool> flush(int fd) = 0;
    // The descriptor is gone afterwards whatever the result.
    virtual IoResult<bool> close(int fd) = 0;
    // A file without a name in the directory, which link() names later; fails where the file
    // system cannot make one (see isUnnamedUnsupported). mode is reduced by the umask.
    virtual IoResult<int> createUnnamed(int dirFd, unsigned mode) = 0;
    // A new file under a name nothing stands under yet.
    virtual IoResult<int> createExclusive(int dirFd, const std::string& name, unsigned mode) = 0;
    // An exclusive lock on an open file; waits for it only when wait is true.
    virtual IoResult<bool> lock(int fd, bool wait) = 0;
    // Names an unnamed file; never replaces an entry that stands under the name (isNameTaken).
    virtual IoResult<bool> link(int fd, int dirFd, const std::string& name) = 0;
    virtual IoResult<bool> rename(int dirFd, const std::string& from, const std::string& to) = 0;
    // The same, never replacing an entry that stands under `to` (isNameTaken then). Where the
    // file system cannot rename so, fails with an error that isNoReplaceUnsupported() knows.
    virtual IoResult<bool> renameNew(int dirFd, const std::string& from, const std::string& to) = 0;
    virtual IoResult<bool> remove(int dirFd, const std::string& name) = 0;
    // One batch of a directory's raw entries into buffer (see forEachDirectoryEntry): the bytes
    // filled, 0 at the end of the directory.
    virtual IoResult<std::int64_t> readDirectory(int dirFd, void* buffer, std::size_t size) = 0;
    // Calls onEntry with each name of the directory ("." and ".." left out) and whether it may
    // be a regular file. A glance may stop early (see forEachDirectoryEntry).
    virtual IoResult<bool>
    listNames(int dirFd, const std::function<void(const char*, bool)>& onEntry, bool glance) = 0;
    // Whether the file system holding the open file or directory is mounted read-only.
    virtual IoResult<bool> readOnlyVolume(int fd) = 0;
    // The bytes that an unprivileged user may still write to the file system holding fd.
    virtual IoResult<std::int64_t> freeSpace(int fd) = 0;
    // How many descriptors the process may hold open at once.
    virtual int descriptorLimit() = 0;
    // Whether the calls may come from several threads at once. Services that keep state of
    // their own (counted faults, a script of events) say no, and a run then makes every call
    // from its own thread, in its own order.
    virtual bool callableFromSeveralThreads() const { return false; }
};

// The real services of this platform.
class PosixFileServices : public FileServices
{
public:
    IoResult<int> openForReading(int dirFd, const std::string& name, FileStatus& status) override;
    IoResult<int> openDirectory(int dirFd, const std::string& name, bool followLinks) override;
    IoResult<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks) override;
    IoResult<FileStatus> status(int fd) override;
    IoResult<std::int64_t> read(int fd, void* buffer, std::size_t size) override;
    IoResult<std::int64_t> write(int fd, const void* buffer, std::size_t size) override;
    IoResult<std::int64_t> copyRange(int inputFd, int outputFd, std::size_t size) override;
    IoResult<bool> setTimes(int fd, std::int64_t accessSeconds,
                            std::int64_t modificationSeconds) override;
    IoResult<bool> setMode(int fd, unsigned mode) override;
    IoResult<bool> setOwner(int fd, std::uint32_t owner, std::uint32_t group) override;
    IoResult<bool> sync(int fd) override;
    IoResult<bool> flush(int fd) override;
    IoResult<bool> close(int fd) override;
    IoResult<int> createUnnamed(int dirFd, unsigned mode) override;
    IoResult<int> createExclusive(int dirFd, const std::string& name, unsigned mode) override;
    IoResult<bool> lock(int fd, bool wait) override;
    IoResult<bool> link(int fd, int dirFd, const std::string& name) override;
    IoResult<bool> rename(int dirFd, const std::string& from, const std::string& to) override;
    IoResult<bool> renameNew(int dirFd, const std::string& from, const std::string& to) override;
    IoResult<bool> remove(int dirFd, const std::string& name) override;
    IoResult<std::int64_t> readDirectory(int dirFd, void* buffer, std::size_t size) override;
    IoResult<bool> listNames(int dirFd, const std::function<void(const char*, bool)>& onEntry,
                             bool glance) override;
    IoResult<bool> readOnlyVolume(int fd) override;
    IoResult<std::int64_t> freeSpace(int fd) override;
    int descriptorLimit() override;
    // Each call is a system call on the caller's own error number, and what the services
    // remember of directories is guarded.
    bool callableFromSeveralThreads() const override { return true; }

private:
    // The open directories whose file system refused to rename without replacing: asked once
    // while they stay open, since a refusal can cost a share's round trips every time.
    class RefusingDirectories
    {
    public:
        bool contains(int dirFd);
        void add(int dirFd);
        void closing(int fd);

    private:
        std::mutex m_mutex;
        std::atomic<bool> m_any{false};
        std::vector<int> m_fds;
    };
    RefusingDirectories m_noReplaceRefused;
};

// The services every file operation goes through: the real ones unless a test put others in
// their place.
FileServices& fileServices();

// Puts other services in place of the current ones for the object's lifetime.
class ScopedFileServices
{
public:
    explicit ScopedFileServices(FileServices& replacement);
    ~ScopedFileServices();
    ScopedFileServices(const ScopedFileServices&) = delete;
    ScopedFileServices& operator=(const ScopedFileServices&) = delete;

private:
    FileServices* m_previous;
};

// The directory descriptor that stands for the process's current directory, so that entries
// can be named by their full paths.
int currentDirectoryFd();

} // namespace twinfold
