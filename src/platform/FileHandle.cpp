#include "FileHandle.h"

#include <cerrno>
#include <fcntl.h>
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
    status.size = st.st_size;
    status.mtimeSeconds = st.st_mtim.tv_sec;
    status.mtimeNanoseconds = st.st_mtim.tv_nsec;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    return status;
}

} // namespace

std::optional<FileStatus> statusOf(const std::string& path, bool followLinks)
{
    return statusAt(AT_FDCWD, path, followLinks);
}

std::optional<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks)
{
    struct stat st {
    };
    if (::fstatat(dirFd, name.c_str(), &st, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return fromStat(st);
}

FileHandle::~FileHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

int FileHandle::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool FileHandle::close()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(release());
    return rc == 0 || errno == EINTR;
}

FileHandle FileHandle::openForReading(const std::string& path)
{
    return openForReadingAt(AT_FDCWD, path);
}

FileHandle FileHandle::openForReadingAt(int dirFd, const std::string& name)
{
    FileHandle file(::openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.isOpen())
        return file;
    const auto st = file.status();
    if (!st || !st->regular) {
        errno = st && st->directory ? EISDIR : EINVAL;
        return FileHandle();
    }
    // Non-blocking only mattered for the open of something that is not a regular file. It must
    // go: kernel copies honour it and give up on data that is not in memory yet.
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags >= 0)
        ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK);
    return file;
}

std::optional<FileStatus> FileHandle::status() const
{
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0)
        return std::nullopt;
    return fromStat(st);
}

std::int64_t FileHandle::read(void* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool FileHandle::writeAll(const void* buffer, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::int64_t FileHandle::copyRangeTo(FileHandle& output, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(m_fd, nullptr, output.fd(), nullptr, size, 0);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool FileHandle::setModificationTime(std::int64_t unixSeconds)
{
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(unixSeconds);
    times[1].tv_nsec = 0;
    return ::futimens(m_fd, times) == 0;
}

} // namespace twinfold
