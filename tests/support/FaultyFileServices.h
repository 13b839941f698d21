#pragma once

#include "platform/FileServices.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unistd.h>

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
        Lock,
        OpenDirectory,
        ReadDirectory
    };

    // The nth call of a kind (counted from 1) fails with error; the call itself is not made,
    // except a close, which always releases its descriptor.
    void fail(Call call, int error, int nth = 1) { m_faults[call] = {error, nth, {}}; }
    // Every call of a kind fails with error from now on.
    void failEvery(Call call, int error) { m_faults[call] = {error, 0, {}, true}; }
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

    // Removing a file that some descriptor still holds open fails with EBUSY, as on drivers
    // that cannot remove an open file cleanly; removalsRefused() counts the refusals.
    void refuseRemovingOpenFiles() { m_refuseOpenRemoval = true; }
    int removalsRefused() const { return m_removalsRefused; }
    // Below root, names are looked up without regard to letter case, as on FAT and exFAT: a
    // name finds the entry whose name differs from it in case only, and no second entry can be
    // made under such a name.
    void foldCaseBelow(const std::string& root) { m_foldRoot = root; }
    // Every file system reports being mounted read-only (what fails is still up to fail()).
    void mountReadOnly() { m_readOnly = true; }

    IoResult<int> openForReading(int dirFd, const std::string& name, FileStatus& status) override
    {
        if (const int error = faulted(Call::Open, name))
            return {-1, error};
        return opened(PosixFileServices::openForReading(dirFd, folded(dirFd, name), status));
    }
    IoResult<FileStatus> statusAt(int dirFd, const std::string& name, bool followLinks) override
    {
        const std::string found = folded(dirFd, name);
        return shifted(PosixFileServices::statusAt(dirFd, found, followLinks), dirFd, found);
    }
    IoResult<int> createExclusive(int dirFd, const std::string& name, unsigned mode) override
    {
        if (folded(dirFd, name) != name)
            return {-1, EEXIST};
        return opened(PosixFileServices::createExclusive(dirFd, name, mode));
    }
    IoResult<bool> remove(int dirFd, const std::string& name) override
    {
        const std::string found = folded(dirFd, name);
        if (m_refuseOpenRemoval && isOpen(PosixFileServices::statusAt(dirFd, found, false))) {
            ++m_removalsRefused;
            return failedWith(EBUSY);
        }
        return PosixFileServices::remove(dirFd, found);
    }
    IoResult<int> openDirectory(int dirFd, const std::string& name, bool followLinks) override
    {
        if (const int error = faulted(Call::OpenDirectory, name))
            return {-1, error};
        auto opened = PosixFileServices::openDirectory(dirFd, folded(dirFd, name), followLinks);
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
    IoResult<bool> setTimes(int fd, std::int64_t access, std::int64_t modification) override
    {
        if (const int error = faulted(Call::SetTime))
            return failedWith(error);
        if (m_timeRequestsIgnored)
            return succeeded();
        if (m_timeStep > 1)
            modification = (modification + m_timeStep - 1) / m_timeStep * m_timeStep;
        return PosixFileServices::setTimes(fd, access, modification - shiftOf(fd, {}));
    }
    IoResult<FileStatus> status(int fd) override
    {
        return shifted(PosixFileServices::status(fd), fd, {});
    }

    // A destination whose file system drops every request to set a time, reporting success:
    // a copy keeps the time it was written at.
    void ignoreTimeRequests() { m_timeRequestsIgnored = true; }
    // A destination that keeps times only to a coarser step, rounding up.
    void roundTimes(std::int64_t stepSeconds) { m_timeStep = stepSeconds; }
    // Every time below directory reads `seconds` later than the one stored, and a time set
    // there reads back as set: a volume that keeps local time, mounted with another offset
    // than its files were written with.
    void shiftTimes(const std::string& directory, std::int64_t seconds)
    {
        m_shiftedDirectory = directory + "/";
        m_shift = seconds;
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
        m_openFiles.erase(fd);
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
        if (folded(dirFd, name) != name)
            return failedWith(EEXIST);
        return PosixFileServices::link(fd, dirFd, name);
    }
    IoResult<bool> rename(int dirFd, const std::string& from, const std::string& to) override
    {
        if (const int error = faulted(Call::Rename, to))
            return failedWith(error);
        return PosixFileServices::rename(dirFd, from, folded(dirFd, to));
    }
    // Counted as a rename.
    IoResult<bool> renameNew(int dirFd, const std::string& from, const std::string& to) override
    {
        if (const int error = faulted(Call::Rename, to))
            return failedWith(error);
        if (folded(dirFd, to) != to)
            return failedWith(EEXIST);
        return PosixFileServices::renameNew(dirFd, from, to);
    }
    IoResult<bool> lock(int fd, bool wait) override
    {
        if (const int error = faulted(Call::Lock))
            return failedWith(error);
        return PosixFileServices::lock(fd, wait);
    }
    IoResult<bool> readOnlyVolume(int fd) override
    {
        return m_readOnly ? IoResult<bool>{true, 0} : PosixFileServices::readOnlyVolume(fd);
    }
    // Faults are counted in the order of the calls, which only one thread keeps.
    bool callableFromSeveralThreads() const override { return false; }
    IoResult<int> createUnnamed(int dirFd, unsigned mode) override
    {
        if (const int error = faulted(Call::CreateUnnamed))
            return {-1, error};
        return opened(PosixFileServices::createUnnamed(dirFd, mode));
    }

private:
    struct Fault {
        int error = 0;
        int nth = 0;
        std::string name; // empty: any call of the kind counts
        bool always = false;
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
        if (fault.always)
            return fault.error;
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
    IoResult<int> opened(IoResult<int> fd)
    {
        if (fd.ok())
            m_openFiles.insert(fd.value);
        return fd;
    }
    bool isOpen(const IoResult<FileStatus>& file)
    {
        return file.ok() && std::any_of(m_openFiles.begin(), m_openFiles.end(), [&](int fd) {
                   const auto held = PosixFileServices::status(fd);
                   return held.ok() && held.value.device == file.value.device &&
                          held.value.inode == file.value.inode;
               });
    }
    // The name of the entry that `name` finds in a case-folding directory: the entry's own
    // name where only its case differs, else `name` as it is.
    std::string folded(int dirFd, const std::string& name) const
    {
        namespace fs = std::filesystem;
        if (m_foldRoot.empty())
            return name;
        std::error_code ignored;
        const fs::path base =
            dirFd == currentDirectoryFd()
                ? fs::current_path(ignored)
                : fs::read_symlink("/proc/self/fd/" + std::to_string(dirFd), ignored);
        const fs::path full = base / name;
        const std::string parent = full.parent_path().string();
        if (!parent.starts_with(m_foldRoot) || fs::exists(full, ignored))
            return name;
        const auto lower = [](std::string text) {
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return text;
        };
        const std::string leaf = full.filename().string();
        for (const auto& entry : fs::directory_iterator(parent, ignored)) {
            const std::string other = entry.path().filename().string();
            if (lower(other) == lower(leaf))
                return name.substr(0, name.size() - leaf.size()) + other;
        }
        return name;
    }
    // Looked for only where a shift is set: other tests pay nothing for it.
    std::int64_t shiftOf(int fd, const std::string& name) const
    {
        return !m_shiftedDirectory.empty() && pathOf(fd, name).starts_with(m_shiftedDirectory)
                   ? m_shift
                   : 0;
    }
    IoResult<FileStatus> shifted(IoResult<FileStatus> status, int fd, const std::string& name) const
    {
        if (status.ok())
            status.value.mtimeSeconds += shiftOf(fd, name);
        return status;
    }
    // Where a descriptor, or a name below a directory descriptor, stands.
    static std::string pathOf(int fd, const std::string& name = {})
    {
        if (!name.empty() && name.front() == '/')
            return name;
        char target[4096];
        const std::string link =
            fd == AT_FDCWD ? "/proc/self/cwd" : "/proc/self/fd/" + std::to_string(fd);
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        const std::string dir = n > 0 ? std::string(target, static_cast<std::size_t>(n)) : "";
        return name.empty() ? dir : dir + "/" + name;
    }

    std::map<Call, Fault> m_faults;
    std::map<int, std::string> m_directoryNames;
    std::int64_t m_chunk = -1;
    std::int64_t m_room = -1;
    std::set<int> m_openFiles;
    bool m_refuseOpenRemoval = false;
    int m_removalsRefused = 0;
    std::string m_foldRoot;
    bool m_readOnly = false;
    bool m_timeRequestsIgnored = false;
    std::int64_t m_timeStep = 1;
    std::string m_shiftedDirectory;
    std::int64_t m_shift = 0;
};

} // namespace twinfold::test
