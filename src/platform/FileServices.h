#pragma once

#include "FileHandle.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace twinfold
{

// The file operations that a copy and a walk make, behind one interface, so that a test can
// make any of them fail at a chosen moment. Descriptors are plain numbers here; FileHandle owns
// them. Every call reports failure as documented, with errno set.
class FileServices
{
public:
    virtual ~FileServices() = default;

    // Opens an existing regular file for reading without ever blocking on something else (a
    // FIFO that replaced a listed file) and reports its status; -1 when it is not a regular file.
    virtual int openForReading(int dirFd, const std::string& name, FileStatus& status) = 0;
    // Opens a real directory for reading; a symbolic link is followed only when followLinks.
    virtual int openDirectory(int dirFd, const std::string& name, bool followLinks) = 0;
    virtual std::optional<FileStatus> statusAt(int dirFd, const std::string& name,
                                               bool followLinks) = 0;
    virtual std::optional<FileStatus> status(int fd) = 0;
    // One read or write call: the bytes moved, -1 on failure; never retried here.
    virtual std::int64_t read(int fd, void* buffer, std::size_t size) = 0;
    virtual std::int64_t write(int fd, const void* buffer, std::size_t size) = 0;
    // The kernel's copy from one file's position to the other's; -1 where it refuses.
    virtual std::int64_t copyRange(int inputFd, int outputFd, std::size_t size) = 0;
    virtual bool setModificationTime(int fd, std::int64_t unixSeconds) = 0;
    virtual bool setMode(int fd, unsigned mode) = 0;
    virtual bool setOwner(int fd, std::uint32_t owner, std::uint32_t group) = 0;
    virtual bool sync(int fd) = 0;
    // Reports the write errors that closing the file would report (a network file system sends
    // its data at a close) and keeps the file open: it closes a duplicate of the descriptor.
    virtual bool flush(int fd) = 0;
    // The descriptor is gone afterwards whatever the result.
    virtual bool close(int fd) = 0;
    // A file without a name in the directory, which link() names later; -1 where the file
    // system cannot make one. mode is reduced by the process's umask.
    virtual int createUnnamed(int dirFd, unsigned mode) = 0;
    // A new file under a name nothing stands under yet.
    virtual int createExclusive(int dirFd, const std::string& name, unsigned mode) = 0;
    // An exclusive lock on an open file; waits for it only when wait is true.
    virtual bool lock(int fd, bool wait) = 0;
    // Names an unnamed file; never replaces an entry that stands under the name (EEXIST).
    virtual bool link(int fd, int dirFd, const std::string& name) = 0;
    virtual bool rename(int dirFd, const std::string& from, const std::string& to) = 0;
    virtual bool remove(int dirFd, const std::string& name) = 0;
    // Calls onEntry with each name of the directory ("." and ".." left out) and whether it may
    // be a regular file. A glance may stop early (see forEachDirectoryEntry).
    virtual bool listNames(int dirFd, const std::function<void(const char*, bool)>& onEntry,
                           bool glance) = 0;
};

// The real services of this platform.
class PosixFileServices : public FileServices
{
public:
    int openForReading(int dirFd, const std::string& name, FileStatus& status) override;
    int openDirectory(int dirFd, const std::string& name, bool followLinks) override;
    std::optional<FileStatus> statusAt(int dirFd, const std::string& name,
                                       bool followLinks) override;
    std::optional<FileStatus> status(int fd) override;
    std::int64_t read(int fd, void* buffer, std::size_t size) override;
    std::int64_t write(int fd, const void* buffer, std::size_t size) override;
    std::int64_t copyRange(int inputFd, int outputFd, std::size_t size) override;
    bool setModificationTime(int fd, std::int64_t unixSeconds) override;
    bool setMode(int fd, unsigned mode) override;
    bool setOwner(int fd, std::uint32_t owner, std::uint32_t group) override;
    bool sync(int fd) override;
    bool flush(int fd) override;
    bool close(int fd) override;
    int createUnnamed(int dirFd, unsigned mode) override;
    int createExclusive(int dirFd, const std::string& name, unsigned mode) override;
    bool lock(int fd, bool wait) override;
    bool link(int fd, int dirFd, const std::string& name) override;
    bool rename(int dirFd, const std::string& from, const std::string& to) override;
    bool remove(int dirFd, const std::string& name) override;
    bool listNames(int dirFd, const std::function<void(const char*, bool)>& onEntry,
                   bool glance) override;
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
