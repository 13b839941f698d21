#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinfold
{

namespace
{

// Linux gives up on a chain of links at the same depth.
constexpr int MaxLinkDepth = 40;

// Leaves room for the unique suffix within the 255-byte name limit.
constexpr std::size_t MaxTemporaryStemLength = 200;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) noexcept : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return m_fd; }
    bool valid() const noexcept { return m_fd >= 0; }

    // Closing reports late write errors (NFS and the like), so a writer must check it.
    bool close() noexcept
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Removes the temporary file unless it was renamed into place.
class TemporaryFile
{
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void adopt(std::string path) { m_path = std::move(path); }
    const std::string& path() const noexcept { return m_path; }
    void release() noexcept { m_path.clear(); }

private:
    std::string m_path;
};

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool readLink(const std::string& path, std::string& target)
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return false;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Replacing a link by a renamed file would turn it into a plain file, so the rename has to
// happen at the end of the chain. A dangling link resolves to the path it names.
bool resolveLinks(const std::string& path, std::string& resolved)
{
    std::string current = path;
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat status {
        };
        if (::lstat(current.c_str(), &status) != 0) {
            resolved = current;
            return errno == ENOENT;
        }
        if (!S_ISLNK(status.st_mode)) {
            resolved = current;
            return true;
        }
        std::string target;
        if (!readLink(current, target) || target.empty())
            return false;
        current = target.front() == '/' ? target : directoryOf(current) + "/" + target;
    }
    return false;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The name is unique to this process and call; O_EXCL makes sure nothing that already exists
// (a stale temporary, or a link planted there) is ever opened.
int createTemporary(const std::string& target, mode_t mode, TemporaryFile& temporary)
{
    static std::atomic<unsigned> counter{0};
    const std::string stem = directoryOf(target) + "/." +
                             baseNameOf(target).substr(0, MaxTemporaryStemLength) + "." +
                             std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = stem + std::to_string(counter++) + ".tmp";
        const int fd =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            temporary.adopt(std::move(candidate));
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// The owner is carried over first because a change of owner clears set-id bits.
void copyOwnerAndMode(int fd, const struct stat& original)
{
    if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
        // Only root may give a file away; the copy then belongs to the writer.
    }
    ::fchmod(fd, original.st_mode & 07777);
}

void syncDirectory(const std::string& directory)
{
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

// A file the user protected stays protected: renaming over it needs only directory rights,
// and root passes every access check, so the owner write bit is checked explicitly.
bool mayReplace(const std::string& target, const struct stat& status)
{
    if (!S_ISREG(status.st_mode) || (status.st_mode & S_IWUSR) == 0)
        return false;
    return ::access(target.c_str(), W_OK) == 0;
}

} // namespace

bool readRegularFile(const std::string& path, std::string& contents, int& error)
{
    contents.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        error = errno;
        return false;
    }
    struct stat status {
    };
    if (::fstat(fd.get(), &status) != 0) {
        error = errno;
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (status.st_size > 0)
        contents.reserve(static_cast<std::size_t>(status.st_size));
    std::vector<char> buffer(std::size_t{64} * 1024);
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            contents.clear();
            return false;
        }
        contents.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

bool replaceFileContents(const std::string& path, const std::string& contents)
{
    std::string target;
    if (!resolveLinks(path, target))
        return false;

    struct stat original {
    };
    const bool exists = ::stat(target.c_str(), &original) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !mayReplace(target, original))
        return false;

    TemporaryFile temporary;
    FileDescriptor fd(createTemporary(target, exists ? 0600 : 0644, temporary));
    if (!fd.valid())
        return false;
    if (exists)
        copyOwnerAndMode(fd.get(), original);
    if (!writeAll(fd.get(), contents) || ::fsync(fd.get()) != 0 || !fd.close())
        return false;
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        return false;
    temporary.release();
    syncDirectory(directoryOf(target));
    return true;
}

} // namespace twinfold
