#pragma once

#include "IoResult.h"

#include <cstdint>
#include <optional>
#include <string>

namespace twinfold
{

// What a status query tells about one path or open file.
struct FileStatus {
    bool regular = false;
    bool directory = false;
    bool symlink = false;
    bool ownerWritable = false;
    unsigned mode = 0; // permission bits, set-user-ID, set-group-ID and sticky included
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::int64_t size = 0;
    std::int64_t mtimeSeconds = 0;
    std::int64_t mtimeNanoseconds = 0;
    std::int64_t atimeSeconds = 0; // the last access
    std::int64_t ctimeSeconds = 0; // the last change of contents or status
    std::int64_t ctimeNanoseconds = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// Status of a path; followLinks false reports a symbolic link itself. Nothing when it is gone.
[[nodiscard]] std::optional<FileStatus> statusOf(const std::string& path, bool followLinks);

// The same for an entry of the directory open at dirFd (AT_FDCWD: the current directory).
// Looking entries up from an open directory spares the kernel walking the whole path again for
// every file of a directory.
[[nodiscard]] std::optional<FileStatus> statusAt(int dirFd, const std::string& name,
                                                 bool followLinks);

// An owned file descriptor, closed when the object goes.
class FileHandle
{
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : m_fd(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    int release();
    // Closes now; fails when the close reported an error (a late write failure).
    IoResult<bool> close();

    // Opens an existing file for reading without blocking (the path may have become a FIFO
    // since it was listed) and checks that it is a regular file.
    [[nodiscard]] static FileHandle openForReading(const std::string& path);
    [[nodiscard]] static FileHandle openForReadingAt(int dirFd, const std::string& name);
    // The same, reporting the status that the open found.
    [[nodiscard]] static FileHandle openForReadingAt(int dirFd, const std::string& name,
                                                     FileStatus& status);

    std::optional<FileStatus> status() const;

    // Reads up to size bytes, retrying on interruption unless the program is being ended;
    // -1 on failure.
    IoResult<std::int64_t> read(void* buffer, std::size_t size);
    // Writes all size bytes, continuing after short writes (a write that stores nothing counts
    // as a full disk).
    IoResult<bool> writeAll(const void* buffer, std::size_t size);
    // Lets the kernel copy up to size bytes from this file's position to the other's, with no
    // buffer in between; the bytes copied, 0 at the end of the file, -1 on failure.
    IoResult<std::int64_t> copyRangeTo(FileHandle& output, std::size_t size);
    // Sets the last-access and last-write times together: some file-system drivers silently
    // ignore a request that leaves the access time alone.
    IoResult<bool> setTimes(std::int64_t accessSeconds, std::int64_t modificationSeconds);
    IoResult<bool> setMode(unsigned mode);
    IoResult<bool> setOwner(std::uint32_t owner, std::uint32_t group);
    // Makes the contents durable.
    IoResult<bool> sync();
    // The write errors a close would report, with the file kept open (see FileServices::flush).
    IoResult<bool> flush();

private:
    int m_fd = -1;
};

} // namespace twinfold
