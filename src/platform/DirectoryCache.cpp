#include "DirectoryCache.h"
#include "AnchoredPath.h"
#include "DirectoryStream.h"
#include "ErrorText.h"
#include "FileHandle.h"
#include "FileServices.h"
#include "FileSystem.h"
#include "PathRules.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <list>
#include <mutex>
#include <unordered_map>

namespace twinfold
{

namespace
{

constexpr std::size_t CacheCapacity = 128;

// How far a directory's last change must lie before the moment it was read for the listing to
// be trusted later. The brief window is about timestamp granularity, not clock accuracy: the
// kernel stamps changes from a coarse clock that lags the one read here, and file systems such
// as FAT keep the change time only to two seconds, so a later change can carry the very same
// stamp as an earlier one. Three seconds covers both with room to spare; a directory changed
// more recently is simply read again.
constexpr std::chrono::seconds TrustMargin{3};

struct DirectoryState {
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};
};

bool sameState(const DirectoryState& a, const DirectoryState& b)
{
    return a.device == b.device && a.inode == b.inode && a.changed.tv_sec == b.changed.tv_sec &&
           a.changed.tv_nsec == b.changed.tv_nsec;
}

DirectoryState stateOf(const struct stat& st)
{
    return DirectoryState{st.st_dev, st.st_ino, st.st_ctim};
}

std::chrono::system_clock::time_point timePointOf(const timespec& time)
{
    using namespace std::chrono;
    return system_clock::time_point(
        duration_cast<system_clock::duration>(seconds(time.tv_sec) + nanoseconds(time.tv_nsec)));
}

// True when `earlier` lies more than the margin before `later`.
bool clearlyBefore(const timespec& earlier, std::chrono::system_clock::time_point later)
{
    return timePointOf(earlier) < later - TrustMargin;
}

enum class EntryKind { File, Directory, Other };

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Directory;
    return EntryKind::Other;
}

// A link counts as a file when it leads to a regular file; a link to a directory is not walked
// into, and a dangling link or one to a FIFO or device is left out altogether.
EntryKind kindOfLinkTarget(int dirFd, const char* name)
{
    struct stat target {
    };
    if (fstatat(dirFd, name, &target, 0) != 0)
        return EntryKind::Other;
    return S_ISREG(target.st_mode) ? EntryKind::File : EntryKind::Other;
}

struct ListingRead {
    std::shared_ptr<const DirectoryListing> listing;
    // A listing with symbolic links depends on their targets, which can appear, vanish or
    // change kind without any change to this directory; such a listing is never reused.
    bool dependsOnLinks = false;
};

EntryKind classify(int dirFd, const char* name, unsigned char type, bool& sawLink)
{
    switch (type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Directory;
    case DT_LNK:
        sawLink = true;
        return kindOfLinkTarget(dirFd, name);
    case DT_UNKNOWN: {
        struct stat st {
        };
        if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::Other; // gone since readdir
        if (S_ISLNK(st.st_mode)) {
            sawLink = true;
            return kindOfLinkTarget(dirFd, name);
        }
        return kindOfMode(st.st_mode);
    }
    default:
        return EntryKind::Other;
    }
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

ListingRead readListing(int dirFd)
{
    auto listing = std::make_shared<DirectoryListing>();
    bool sawLink = false;
    const int error = forEachDirectoryEntry(dirFd, [&](const char* name, unsigned char type) {
        if (isDotOrDotDot(name))
            return;
        switch (classify(dirFd, name, type, sawLink)) {
        case EntryKind::File:
            listing->files.emplace_back(name);
            break;
        case EntryKind::Directory:
            listing->subdirectories.emplace_back(name);
            break;
        case EntryKind::Other:
            break;
        }
    });
    if (error != 0)
        throw IoError(error);
    sortByName(listing->files);
    sortByName(listing->subdirectories);
    return ListingRead{std::move(listing), sawLink};
}

int statAnchored(const std::string& path, struct stat& st)
{
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok())
        return at.error();
    return fstatat(at.fd(), at.rest(), &st, 0) == 0 ? 0 : errno;
}

struct CachedListing {
    std::string path;
    DirectoryState state;
    std::shared_ptr<const DirectoryListing> listing;
};

} // namespace

// Least recently used first out; the map points into the list for constant-time lookups.
class DirectoryCache::Store
{
public:
    std::shared_ptr<const DirectoryListing> find(const std::string& path, const DirectoryState& now)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_index.find(path);
        if (found == m_index.end())
            return nullptr;
        if (!sameState(found->second->state, now)) {
            m_entries.erase(found->second);
            m_index.erase(found);
            return nullptr;
        }
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        return found->second->listing;
    }

    bool holds(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        return m_index.count(path) != 0;
    }

    void store(const std::string& path, const DirectoryState& state,
               std::shared_ptr<const DirectoryListing> listing)
    {
        std::lock_guard lock(m_mutex);
        forgetLocked(path);
        m_entries.push_front(CachedListing{path, state, std::move(listing)});
        m_index[path] = m_entries.begin();
        if (m_entries.size() > CacheCapacity) {
            m_index.erase(m_entries.back().path);
            m_entries.pop_back();
        }
    }

    void forget(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        forgetLocked(path);
    }

    void clear()
    {
        std::lock_guard lock(m_mutex);
        m_index.clear();
        m_entries.clear();
    }

private:
    void forgetLocked(const std::string& path)
    {
        const auto found = m_index.find(path);
        if (found == m_index.end())
            return;
        m_entries.erase(found->second);
        m_index.erase(found);
    }

    std::mutex m_mutex;
    std::list<CachedListing> m_entries;
    std::unordered_map<std::string, std::list<CachedListing>::iterator> m_index;
};

DirectoryCache::DirectoryCache()
    : m_store(std::make_unique<Store>()), m_clock([] { return std::chrono::system_clock::now(); })
{
}

DirectoryCache::~DirectoryCache() = default;

void DirectoryCache::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

std::shared_ptr<const DirectoryListing> DirectoryCache::read(const std::string& dir)
{
    struct stat st {
    };
    // A directory never read before costs no status query of its own.
    if (m_store->holds(dir) && statAnchored(dir, st) == 0) {
        if (auto cached = m_store->find(dir, stateOf(st)))
            return cached;
    }

    // The clock is read before the directory is opened, so that any change the read might
    // have missed lies after this moment.
    const auto readStarted = m_clock();

    // Through the file services, so that a test can make a directory vanish before it is read.
    const AnchoredPath at(currentDirectoryFd(), dir);
    if (!at.ok())
        throw IoError(at.error()).about(dir);
    const auto open = fileServices().openDirectory(at.fd(), at.rest(), true);
    if (!open.ok())
        throw IoError(open.error).about(dir);
    const FileHandle handle(open.value);
    struct stat opened {
    };
    if (fstat(handle.fd(), &opened) != 0)
        throw IoError(errno).about(dir);
    if (!mayEnterDirectory(dir, opened.st_mode, opened.st_uid))
        throw IoError(errno).about(dir);

    ListingRead read;
    try {
        read = readListing(handle.fd());
    } catch (const IoError& failure) {
        throw failure.about(dir);
    }
    if (!read.dependsOnLinks && clearlyBefore(opened.st_ctim, readStarted))
        m_store->store(dir, stateOf(opened), read.listing);
    else
        m_store->forget(dir);
    return read.listing;
}

void DirectoryCache::clear()
{
    m_store->clear();
}

} // namespace twinfold
