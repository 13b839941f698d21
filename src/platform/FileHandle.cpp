#include "FileHandle.h"

#include "AnchoredPath.h"
#include "FileServices.h"
#include "Termination.h"

#include <cerrno>

namespace twinfold
{

namespace
{

// An interrupted call is repeated, except when the interruption asks the program to end: a
// copy that waits on a slow file system must not delay that.
bool retry(int error)
{
    return error == EINTR && terminationSignal() == 0;
}

std::optional<FileStatus> found(IoResult<FileStatus> status)
{
    if (!status.ok())
        return std::nullopt;
    return status.value;
}

} // namespace

std::optional<FileStatus> statusOf(const std::string& path, bool followLinks)
{
    return statusAt(currentDirectoryFd(), path, followLinks);
}

std::optional<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks)
{
    if (withinPathLimit(name))
        return found(fileServices().statusAt(dirFd, name, followLinks));
    const AnchoredPath at(dirFd, name);
    if (!at.ok()) {
        errno = at.error();
        return std::nullopt;
    }
    return found(fileServices().statusAt(at.fd(), at.rest(), followLinks));
}

// A handle dropped without close() is one whose owner has nothing left to report a failed close
// to: its writes were either checked by close() already or are abandoned.
FileHandle::~FileHandle()
{
    if (m_fd >= 0)
        static_cast<void>(fileServices().close(m_fd));
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            static_cast<void>(fileServices().close(m_fd));
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

IoResult<bool> FileHandle::close()
{
    if (m_fd < 0)
        return succeeded();
    return fileServices().close(release());
}

FileHandle FileHandle::openForReading(const std::string& path)
{
    return openForReadingAt(currentDirectoryFd(), path);
}

FileHandle FileHandle::openForReadingAt(int dirFd, const std::string& name)
{
    FileStatus status;
    return openForReadingAt(dirFd, name, status);
}

FileHandle FileHandle::openForReadingAt(int dirFd, const std::string& name, FileStatus& status)
{
    if (withinPathLimit(name))
        return FileHandle(fileServices().openForReading(dirFd, name, status).value);
    const AnchoredPath at(dirFd, name);
    if (!at.ok()) {
        errno = at.error();
        return FileHandle();
    }
    return FileHandle(fileServices().openForReading(at.fd(), at.rest(), status).value);
}

std::optional<FileStatus> FileHandle::status() const
{
    return found(fileServices().status(m_fd));
}

IoResult<std::int64_t> FileHandle::read(void* buffer, std::size_t size)
{
    for (;;) {
        auto n = fileServices().read(m_fd, buffer, size);
        if (n.ok() || !retry(n.error))
            return n;
    }
}

IoResult<bool> FileHandle::writeAll(const void* buffer, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(buffer);
    while (size > 0) {
        const auto n = fileServices().write(m_fd, bytes, size);
        if (!n.ok()) {
            if (retry(n.error))
                continue;
            return failedWith(n.error);
        }
        if (n.value == 0)
            return failedWith(ENOSPC);
        bytes += n.value;
        size -= static_cast<std::size_t>(n.value);
    }
    return succeeded();
}

IoResult<std::int64_t> FileHandle::copyRangeTo(FileHandle& output, std::size_t size)
{
    for (;;) {
        auto n = fileServices().copyRange(m_fd, output.fd(), size);
        if (n.ok() || !retry(n.error))
            return n;
    }
}

IoResult<bool> FileHandle::setTimes(std::int64_t accessSeconds, std::int64_t modificationSeconds)
{
    return fileServices().setTimes(m_fd, accessSeconds, modificationSeconds);
}

IoResult<bool> FileHandle::setMode(unsigned mode)
{
    return fileServices().setMode(m_fd, mode);
}

IoResult<bool> FileHandle::setOwner(std::uint32_t owner, std::uint32_t group)
{
    return fileServices().setOwner(m_fd, owner, group);
}

IoResult<bool> FileHandle::flush()
{
    return fileServices().flush(m_fd);
}

IoResult<bool> FileHandle::sync()
{
    for (;;) {
        auto synced = fileServices().sync(m_fd);
        if (synced.ok() || !retry(synced.error))
            return synced;
    }
}

} // namespace twinfold
