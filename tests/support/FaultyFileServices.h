#pragma once

#include "platform/FileServices.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>

namespace twinfold::test
{

// The real file services, except that a chosen call fails with a chosen error, and that a test
// may act (change a source, write a destination) just before any call.
class FaultyFileServices : public PosixFileServices
{
public:
    enum class Call {
        Open,
        Read,
        Write,
        CopyRange,
        SetTime,
        Close,
        Flush,
        Link,
        Rename,
        CreateUnnamed
    };

    // The nth call of a kind (counted from 1) fails with error; the call itself is not made,
    // except a close, which always releases its descriptor.
    void fail(Call call, int error, int nth = 1) { m_faults[call] = {error, nth}; }
    // Writes and kernel copies move at most chunk bytes a call (a short write), and the disk is
    // full once `room` bytes went through them; negative values lift the limit.
    void limitWrites(std::int64_t chunk, std::int64_t room = -1)
    {
        m_chunk = chunk;
        m_room = room;
    }
    std::function<void(Call)> before;

    int openForReading(int dirFd, const std::string& name, FileStatus& status) override
    {
        return faulted(Call::Open) ? -1 : PosixFileServices::openForReading(dirFd, name, status);
    }

    std::int64_t read(int fd, void* buffer, std::size_t size) override
    {
        return faulted(Call::Read) ? -1 : PosixFileServices::read(fd, buffer, size);
    }
    std::int64_t write(int fd, const void* buffer, std::size_t size) override
    {
        if (faulted(Call::Write) || !limited(size))
            return -1;
        return moved(PosixFileServices::write(fd, buffer, size));
    }
    std::int64_t copyRange(int in, int out, std::size_t size) override
    {
        if (faulted(Call::CopyRange) || !limited(size))
            return -1;
        return moved(PosixFileServices::copyRange(in, out, size));
    }
    bool setModificationTime(int fd, std::int64_t seconds) override
    {
        return !faulted(Call::SetTime) && PosixFileServices::setModificationTime(fd, seconds);
    }
    bool close(int fd) override
    {
        const bool fails = faulted(Call::Close);
        const int error = errno;
        const bool closed = PosixFileServices::close(fd);
        errno = fails ? error : errno;
        return closed && !fails;
    }
    bool flush(int fd) override { return !faulted(Call::Flush) && PosixFileServices::flush(fd); }
    bool link(int fd, int dirFd, const std::string& name) override
    {
        return !faulted(Call::Link) && PosixFileServices::link(fd, dirFd, name);
    }
    bool rename(int dirFd, const std::string& from, const std::string& to) override
    {
        return !faulted(Call::Rename) && PosixFileServices::rename(dirFd, from, to);
    }
    int createUnnamed(int dirFd, unsigned mode) override
    {
        return faulted(Call::CreateUnnamed) ? -1 : PosixFileServices::createUnnamed(dirFd, mode);
    }

private:
    struct Fault {
        int error = 0;
        int nth = 0;
    };
    bool faulted(Call call)
    {
        if (before)
            before(call);
        const auto found = m_faults.find(call);
        if (found == m_faults.end() || --found->second.nth != 0)
            return false;
        errno = found->second.error;
        return true;
    }
    // Clamps a request to the limits; false (with ENOSPC) once the disk is full.
    bool limited(std::size_t& size) const
    {
        if (m_chunk >= 0)
            size = std::min<std::size_t>(size, static_cast<std::size_t>(m_chunk));
        if (m_room >= 0)
            size = std::min<std::size_t>(size, static_cast<std::size_t>(m_room));
        if (size == 0 && m_room == 0) {
            errno = ENOSPC;
            return false;
        }
        return true;
    }
    std::int64_t moved(std::int64_t n)
    {
        if (n > 0 && m_room >= 0)
            m_room -= n;
        return n;
    }
    std::map<Call, Fault> m_faults;
    std::int64_t m_chunk = -1;
    std::int64_t m_room = -1;
};

} // namespace twinfold::test
