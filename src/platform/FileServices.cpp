#include "FileServices.h"

#include "DirectoryStream.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

} // namespace

int PosixFileServices::openForReading(int dirFd, const std::string& name, FileStatus& status)
{
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return -1;
    }
    status = fromStat(st);
    // Non-blocking only mattered for the open of something that is not a regular file. It must
    // go: kernel copies honour it and give up on data that is not in memory yet. The other
    // flags that F_SETFL could change were never set, so one call clears it.
    ::fcntl(fd, F_SETFL, 0);
    return fd;
}

int PosixFileServices::openDirectory(int dirFd, const std::string& name, bool followLinks)
{
    return ::openat(dirFd, name.c_str(),
                    O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW));
}

std::optional<FileStatus> PosixFileServices::statusAt(int dirFd, const std::string& name,
                                                      bool followLinks)
{
    struct stat st {
    };
    if (::fstatat(dirFd, name.c_str(), &st, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return fromStat(st);
}

std::optional<FileStatus> PosixFileServices::status(int fd)
{
    struct stat st {
    };
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return fromStat(st);
}

std::int64_t PosixFileServices::read(int fd, void* buffer, std::size_t size)
{
    return ::read(fd, buffer, size);
}

std::int64_t PosixFileServices::write(int fd, const void* buffer, std::size_t size)
{
    return ::write(fd, buffer, size);
}

std::int64_t PosixFileServices::copyRange(int inputFd, int outputFd, std::size_t size)
{
    return ::copy_file_range(inputFd, nullptr, outputFd, nullptr, size, 0);
}

bool PosixFileServices::setModificationTime(int fd, std::int64_t unixSeconds)
{
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(unixSeconds);
    times[1].tv_nsec = 0;
    return ::futimens(fd, times) == 0;
}

bool PosixFileServices::setMode(int fd, unsigned mode)
{
    return ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
}

bool PosixFileServices::setOwner(int fd, std::uint32_t owner, std::uint32_t group)
{
    return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)) == 0;
}

bool PosixFileServices::sync(int fd)
{
    return ::fsync(fd) == 0;
}

bool PosixFileServices::flush(int fd)
{
    const int duplicate = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    return duplicate >= 0 && (::close(duplicate) == 0 || errno == EINTR);
}

bool PosixFileServices::close(int fd)
{
    // After an interrupted close the descriptor is gone all the same on this platform.
    return ::close(fd) == 0 || errno == EINTR;
}

int PosixFileServices::createUnnamed(int dirFd, unsigned mode)
{
    return ::openat(dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, static_cast<mode_t>(mode));
}

int PosixFileServices::createExclusive(int dirFd, const std::string& name, unsigned mode)
{
    return ::openat(dirFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    static_cast<mode_t>(mode));
}

bool PosixFileServices::lock(int fd, bool wait)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0)
            return true;
        if (errno != EINTR || !wait)
            return false;
    }
}

bool PosixFileServices::link(int fd, int dirFd, const std::string& name)
{
    // Naming a descriptor directly needs a privilege; its entry under /proc does not.
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    // No /proc mounted.
    return ::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0;
}

bool PosixFileServices::rename(int dirFd, const std::string& from, const std::string& to)
{
    return ::renameat(dirFd, from.c_str(), dirFd, to.c_str()) == 0;
}

bool PosixFileServices::remove(int dirFd, const std::string& name)
{
    return ::unlinkat(dirFd, name.c_str(), 0) == 0;
}

bool PosixFileServices::listNames(int dirFd, const std::function<void(const char*, bool)>& onEntry,
                                  bool glance)
{
    return forEachDirectoryEntry(
        dirFd,
        [&onEntry](const char* name, unsigned char type) {
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                return;
            onEntry(name, type == DT_REG || type == DT_UNKNOWN);
        },
        glance);
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
