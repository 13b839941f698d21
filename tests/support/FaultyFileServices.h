#pragma once

#include "platform/FileServices.h"

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
    enum class Call { Read, Write, CopyRange, SetTime, Close, Link, Rename, CreateUnnamed };

    // The nth call of a kind (counted from 1) fails with error; the call itself is not made,
    // except a close, which always releases its descriptor.
    void fail(Call call, int error, int nth = 1) { m_faults[call] = {error, nth}; }
    std::function<void(Call)> before;

    std::int64_t read(int fd, void* buffer, std::size_t size) override
    {
        return faulted(Call::Read) ? -1 : PosixFileServices::read(fd, buffer, size);
    }
    std::int64_t write(int fd, const void* buffer, std::size_t size) override
    {
        return faulted(Call::Write) ? -1 : PosixFileServices::write(fd, buffer, size);
    }
    std::int64_t copyRange(int in, int out, std::size_t size) override
    {
        return faulted(Call::CopyRange) ? -1 : PosixFileServices::copyRange(in, out, size);
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
    std::map<Call, Fault> m_faults;
};

} // namespace twinfold::test
