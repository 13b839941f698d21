#include "FileServices.h"

#include "DirectoryStream.h"
#include "ErrorText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace twinfold
{

namespace
{

FileStatus fromStat(const struct stat& st)
{
    FileStatus status;
    status.regular = S_ISREG(st.st_mode);
    status.directory = S_ISDIR(st.st_mode);
    status.symlink = S_ISLNK(st.st_mode);
    status.ownerWritable = (st.st_mode & S_IWUSR) != 0;
    status.mode = st.st_mode & 07777;
    status.owner = st.st_uid;
    status.group = st.st_gid;
    status.size = st.st_size;
    status.mtimeSeconds = st.st_mtim.tv_sec;
    status.mtimeNanoseconds = st.st_mtim.tv_nsec;
    status.atimeSeconds = st.st_atim.tv_sec;
    status.ctimeSeconds = st.st_ctim.tv_sec;
    status.ctimeNanoseconds = st.st_ctim.tv_nsec;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    return status;
}

FileServices*& current()
{
    static PosixFileServices posix;
    static FileServices* services = &posix;
    return services;
}

// The error of the call that just failed; never 0, so that a failure never reads as success.
int lastError()
{
    return errno != 0 ? errno : EIO;
}

IoResult<int> descriptor(int fd)
{
    return {fd, fd < 0 ? lastError() : 0};
}

IoResult<std::int64_t> count(ssize_t n)
{
    return {static_cast<std::int64_t>(n), n < 0 ? lastError() : 0};
}

IoResult<bool> outcome(bool success)
{
    return success ? succeeded() : failedWith(lastError());
}

// After an interrupted close the descriptor is gone all the same on this platform, and nothing
// is known to be lost.
IoResult<bool> closed(int result)
{
    if (result == 0)
        return succeeded();
    const int error = lastError();
    return error == EINTR ? succeeded() : failedWith(error);
}

} // namespace

IoResult<int> PosixFileServices::openForReading(int dirFd, const std::string& name,
                                                FileStatus& status)
{
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {-1, lastError()};
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return {-1, error};
    }
    status = fromStat(st);
    // Non-blocking only mattered for the open of something that is not a regular file. It must
    // go: kernel copies honour it and give up on data that is not in memory yet. The other
    // flags that F_SETFL could change were never set, so one call clears it.
    ::fcntl(fd, F_SETFL, 0);
    return {fd, 0};
}

IoResult<int> PosixFileServices::openDirectory(int dirFd, const std::string& name, bool followLinks)
{
    return descriptor(::openat(
        dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW)));
}

IoResult<FileStatus> PosixFileServices::statusAt(int dirFd, const std::string& name,
                                                 bool followLinks)
{
    struct stat st {
    };
    if (::fstatat(dirFd, name.c_str(), &st, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return {{}, lastError()};
    return {fromStat(st), 0};
}

IoResult<FileStatus> PosixFileServices::status(int fd)
{
    struct stat st {
    };
    if (::fstat(fd, &st) != 0)
        return {{}, lastError()};
    return {fromStat(st), 0};
}

IoResult<std::int64_t> PosixFileServices::read(int fd, void* buffer, std::size_t size)
{
    return count(::read(fd, buffer, size));
}

IoResult<std::int64_t> PosixFileServices::write(int fd, const void* buffer, std::size_t size)
{
    return count(::write(fd, buffer, size));
}

IoResult<std::int64_t> PosixFileServices::copyRange(int inputFd, int outputFd, std::size_t size)
{
    return count(::copy_file_range(inputFd, nullptr, outputFd, nullptr, size, 0));
}

IoResult<bool> PosixFileServices::setTimes(int fd, std::int64_t accessSeconds,
                                           std::int64_t modificationSeconds)
{
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(accessSeconds);
    times[0].tv_nsec = 0;
    times[1].tv_sec = static_cast<time_t>(modificationSeconds);
    times[1].tv_nsec = 0;
    return outcome(::futimens(fd, times) == 0);
}

IoResult<bool> PosixFileServices::setMode(int fd, unsigned mode)
{
    return outcome(::fchmod(fd, static_cast<mode_t>(mode)) == 0);
}

IoResult<bool> PosixFileServices::setOwner(int fd, std::uint32_t owner, std::uint32_t group)
{
    return outcome(::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)) == 0);
}

IoResult<bool> PosixFileServices::sync(int fd)
{
    return outcome(::fsync(fd) == 0);
}

IoResult<bool> PosixFileServices::flush(int fd)
{
    const int duplicate = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0)
        return failedWith(lastError());
    return closed(::close(duplicate));
}

IoResult<bool> PosixFileServices::close(int fd)
{
    m_noReplaceRefused.closing(fd);
    return closed(::close(fd));
}

IoResult<int> PosixFileServices::createUnnamed(int dirFd, unsigned mode)
{
    return descriptor(
        ::openat(dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, static_cast<mode_t>(mode)));
}

IoResult<int> PosixFileServices::createExclusive(int dirFd, const std::string& name, unsigned mode)
{
    return descriptor(::openat(dirFd, name.c_str(),
                               O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                               static_cast<mode_t>(mode)));
}

IoResult<bool> PosixFileServices::lock(int fd, bool wait)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0)
            return succeeded();
        const int error = lastError();
        if (error != EINTR || !wait)
            return failedWith(error);
    }
}

IoResult<bool> PosixFileServices::link(int fd, int dirFd, const std::string& name)
{
    // Naming a descriptor directly needs a privilege; its entry under /proc does not.
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return succeeded();
    const int error = lastError();
    if (error != ENOENT)
        return failedWith(error);
    // No /proc mounted.
    return outcome(::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0);
}

IoResult<bool> PosixFileServices::rename(int dirFd, const std::string& from, const std::string& to)
{
    return outcome(::renameat(dirFd, from.c_str(), dirFd, to.c_str()) == 0);
}

IoResult<bool> PosixFileServices::renameNew(int dirFd, const std::string& from,
                                            const std::string& to)
{
    if (m_noReplaceRefused.contains(dirFd))
        return failedWith(EINVAL);
    if (::renameat2(dirFd, from.c_str(), dirFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return succeeded();
    const int error = lastError();
    if (isNoReplaceUnsupported(error))
        m_noReplaceRefused.add(dirFd);
    return failedWith(error);
}

bool PosixFileServices::RefusingDirectories::contains(int dirFd)
{
    if (!m_any.load(std::memory_order_relaxed))
        return false;
    const std::lock_guard lock(m_mutex);
    return std::find(m_fds.begin(), m_fds.end(), dirFd) != m_fds.end();
}

void PosixFileServices::RefusingDirectories::add(int dirFd)
{
    const std::lock_guard lock(m_mutex);
    m_fds.push_back(dirFd);
    m_any.store(true, std::memory_order_relaxed);
}

// A descriptor number is reused for whatever is opened next.
void PosixFileServices::RefusingDirectories::closing(int fd)
{
    if (!m_any.load(std::memory_order_relaxed))
        return;
    const std::lock_guard lock(m_mutex);
    std::erase(m_fds, fd);
    m_any.store(!m_fds.empty(), std::memory_order_relaxed);
}

IoResult<bool> PosixFileServices::remove(int dirFd, const std::string& name)
{
    return outcome(::unlinkat(dirFd, name.c_str(), 0) == 0);
}

IoResult<std::int64_t> PosixFileServices::readDirectory(int dirFd, void* buffer, std::size_t size)
{
    return count(::getdents64(dirFd, buffer, size));
}

IoResult<bool> PosixFileServices::listNames(int dirFd,
                                            const std::function<void(const char*, bool)>& onEntry,
                                            bool glance)
{
    const int error = forEachDirectoryEntry(
        dirFd,
        [&onEntry](const char* name, unsigned char type) {
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                return;
            onEntry(name, type == DT_REG || type == DT_UNKNOWN);
        },
        glance);
    return error == 0 ? succeeded() : failedWith(error);
}

IoResult<bool> PosixFileServices::readOnlyVolume(int fd)
{
    struct statvfs volume {
    };
    if (::fstatvfs(fd, &volume) != 0)
        return {false, lastError()};
    return {(volume.f_flag & ST_RDONLY) != 0, 0};
}

IoResult<std::int64_t> PosixFileServices::freeSpace(int fd)
{
    struct statvfs volume {
    };
    if (::fstatvfs(fd, &volume) != 0)
        return {0, lastError()};
    return {static_cast<std::int64_t>(volume.f_bavail * volume.f_frsize), 0};
}

int PosixFileServices::descriptorLimit()
{
    constexpr int Most = std::numeric_limits<int>::max();
    struct rlimit limit {
    };
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur > static_cast<rlim_t>(Most))
        return Most;
    return static_cast<int>(limit.rlim_cur);
}

FileServices& fileServices()
{
    return *current();
}

ScopedFileServices::ScopedFileServices(FileServices& replacement) : m_previous(current())
{
    current() = &replacement;
}

ScopedFileServices::~ScopedFileServices()
{
    current() = m_previous;
}

int currentDirectoryFd()
{
    return AT_FDCWD;
}

} // namespace twinfold
