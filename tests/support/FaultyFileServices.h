#pragma once

#include "platform/FileServices.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>

namespace twinfold::test
{

// The real file services, except that a chosen call fails with a chosen error, and that a test
// may act (change a source, write a destination, look at a directory) just before any call.
class FaultyFileServices : public PosixFileServices
{
public:
    enum class Call {
        Open,
        Read,
        Write,
        CopyRange,
        SetTime,
        SetMode,
        Close,
        Flush,
        Link,
        Rename,
        CreateUnnamed,
        OpenDirectory,
        ReadDirectory
    };

    // The nth call of a kind (counted from 1) fails with error; the call itself is not made,
    // except a close, which always releases its descriptor.
    void fail(Call call, int error, int nth = 1) { m_faults[call] = {error, nth, {}}; }
    // The nth call of a kind whose file or directory name ends with `name` fails (a listing's
    // read counts by the directory's name: its nth batch fails, so a listing can fail part-way).
    void failNamed(Call call, const std::string& name, int error, int nth = 1)
    {
        m_faults[call] = {error, nth, name};
    }
    // Writes and kernel copies move at most chunk bytes a call (a short write), and the disk is
    // full once `room` bytes went through them; negative values lift the limit.
    void limitWrites(std::int64_t chunk, std::int64_t room = -1)
    {
        m_chunk = chunk;
        m_room = room;
    }
    std::function<void(Call)> before;

    IoResult<int> openForReading(int dirFd, const std::string& name, FileStatus& status) override
    {
        if (const int error = faulted(Call::Open, name))
            return {-1, error};
        return PosixFileServices::openForReading(dirFd, name, status);
    }
    IoResult<int> openDirectory(int dirFd, const std::string& name, bool followLinks) override
    {
        if (const int error = faulted(Call::OpenDirectory, name))
            return {-1, error};
        auto opened = PosixFileServices::openDirectory(dirFd, name, followLinks);
        if (opened.ok())
            m_directoryNames[opened.value] = name;
        return opened;
    }
    IoResult<std::int64_t> readDirectory(int dirFd, void* buffer, std::size_t size) override
    {
        const auto named = m_directoryNames.find(dirFd);
        if (const int error =
                faulted(Call::ReadDirectory, named == m_directoryNames.end() ? "" : named->second))
            return {-1, error};
        return PosixFileServices::readDirectory(dirFd, buffer, size);
    }
    IoResult<std::int64_t> read(int fd, void* buffer, std::size_t size) override
    {
        if (const int error = faulted(Call::Read))
            return {-1, error};
        return PosixFileServices::read(fd, buffer, size);
    }
    IoResult<std::int64_t> write(int fd, const void* buffer, std::size_t size) override
    {
        if (const int error = faulted(Call::Write))
            return {-1, error};
        if (!limited(size))
            return {-1, ENOSPC};
        return moved(PosixFileServices::write(fd, buffer, size));
    }
    IoResult<std::int64_t> copyRange(int in, int out, std::size_t size) override
    {
        if (const int error = faulted(Call::CopyRange))
            return {-1, error};
        if (!limited(size))
            return {-1, ENOSPC};
        return moved(PosixFileServices::copyRange(in, out, size));
    }
    IoResult<bool> setModificationTime(int fd, std::int64_t seconds) override
    {
        if (const int error = faulted(Call::SetTime))
            return failedWith(error);
        return PosixFileServices::setModificationTime(fd, seconds);
    }
    IoResult<bool> setMode(int fd, unsigned mode) override
    {
        if (const int error = faulted(Call::SetMode))
            return failedWith(error);
        return PosixFileServices::setMode(fd, mode);
    }
    IoResult<bool> close(int fd) override
    {
        const int error = faulted(Call::Close);
        m_directoryNames.erase(fd);
        auto closed = PosixFileServices::close(fd);
        return error != 0 ? failedWith(error) : closed;
    }
    IoResult<bool> flush(int fd) override
    {
        if (const int error = faulted(Call::Flush))
            return failedWith(error);
        return PosixFileServices::flush(fd);
    }
    IoResult<bool> link(int fd, int dirFd, const std::string& name) override
    {
        if (const int error = faulted(Call::Link, name))
            return failedWith(error);
        return PosixFileServices::link(fd, dirFd, name);
    }
    IoResult<bool> rename(int dirFd, const std::string& from, const std::string& to) override
    {
        if (const int error = faulted(Call::Rename, to))
            return failedWith(error);
        return PosixFileServices::rename(dirFd, from, to);
    }
    IoResult<int> createUnnamed(int dirFd, unsigned mode) override
    {
        if (const int error = faulted(Call::CreateUnnamed))
            return {-1, error};
        return PosixFileServices::createUnnamed(dirFd, mode);
    }

private:
    struct Fault {
        int error = 0;
        int nth = 0;
        std::string name; // empty: any call of the kind counts
    };
    // The error the call fails with, 0 when it is made.
    int faulted(Call call, const std::string& name = {})
    {
        if (before)
            before(call);
        const auto found = m_faults.find(call);
        if (found == m_faults.end())
            return 0;
        Fault& fault = found->second;
        if (!fault.name.empty() && !name.ends_with(fault.name))
            return 0;
        return --fault.nth == 0 ? fault.error : 0;
    }
    // Clamps a request to the limits; false once the disk is full.
    bool limited(std::size_t& size) const
    {
        if (m_chunk >= 0)
            size = std::min<std::size_t>(size, static_cast<std::size_t>(m_chunk));
        if (m_room >= 0)
            size = std::min<std::size_t>(size, static_cast<std::size_t>(m_room));
        return size != 0 || m_room != 0;
    }
    IoResult<std::int64_t> moved(IoResult<std::int64_t> n)
    {
        if (n.value > 0 && m_room >= 0)
            m_room -= n.value;
        return n;
    }
    std::map<Call, Fault> m_faults;
    std::map<int, std::string> m_directoryNames;
    std::int64_t m_chunk = -1;
    std::int64_t m_room = -1;
};

} // namespace twinfold::test
