#include "FileSystem.h"

#include "AnchoredPath.h"
#include "DirectoryEntries.h"
#include "ErrorText.h"
#include "PathRules.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace twinfold
{

namespace
{

std::string lastComponent(const std::string& path)
{
    std::string_view trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.remove_suffix(1);
    if (trimmed == "/")
        return std::string(trimmed);
    return extractFileName(trimmed, '/');
}

int attributesOf(const struct stat& st, const std::string& name)
{
    int attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    if ((st.st_mode & S_IWUSR) == 0)
        attr |= faReadOnly;
    if (!name.empty() && name.front() == '.')
        attr |= faHidden;
    return attr;
}

// The status of what a full path names, also beyond the system's path limit; false with errno
// set when there is none.
bool statPath(const std::string& path, struct stat& st, bool followLinks)
{
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok()) {
        errno = at.error();
        return false;
    }
    return fstatat(at.fd(), at.rest(), &st, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

// For file systems without RENAME_NOREPLACE: a hard link fails when the target exists, which
// makes the check and the rename one step; where hard links are not possible either (FAT, or
// a directory), an existence check just before the rename is the best left.
bool renameWithoutReplacingFallback(const AnchoredPath& from, const AnchoredPath& to)
{
    if (linkat(from.fd(), from.rest(), to.fd(), to.rest(), 0) == 0) {
        if (unlinkat(from.fd(), from.rest(), 0) == 0)
            return true;
        unlinkat(to.fd(), to.rest(), 0);
        return false;
    }
    if (errno == EEXIST)
        return false;
    struct stat st {
    };
    if (fstatat(to.fd(), to.rest(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
        return false;
    return renameat(from.fd(), from.rest(), to.fd(), to.rest()) == 0;
}

} // namespace

std::optional<SearchRec> lookupEntry(const std::string& path)
{
    struct stat st {
    };
    if (path.empty() || !statPath(path, st, false))
        return std::nullopt;
    SearchRec rec;
    rec.Name = lastComponent(path);
    rec.Attr = attributesOf(st, rec.Name);
    rec.Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
    rec.Time = packTimeValue(st.st_mtim.tv_sec);
    return rec;
}

TimeValue fileAge(const std::string& path)
{
    struct stat st {
    };
    if (!statPath(path, st, true) || !S_ISREG(st.st_mode))
        return NoTimeValue;
    return packTimeValue(st.st_mtim.tv_sec);
}

int fileGetAttr(const std::string& path)
{
    struct stat st {
    };
    if (!statPath(path, st, true))
        return -1;
    return attributesOf(st, lastComponent(path));
}

bool fileExists(const std::string& path)
{
    struct stat st {
    };
    return statPath(path, st, true) && S_ISREG(st.st_mode);
}

bool directoryExists(const std::string& path)
{
    struct stat st {
    };
    return statPath(path, st, true) && S_ISDIR(st.st_mode);
}

void checkDirectoryAccess(const std::string& path)
{
    // Two queries rather than opening the directory: this runs at every move of a view, and
    // the walk moves the views several times for each directory of a tree.
    struct stat st {
    };
    if (!statPath(path, st, true))
        throw IoError(errno).about(path);
    if (!S_ISDIR(st.st_mode))
        throw IoError(ENOTDIR).about(path);
    if (!mayEnterDirectory(path, st.st_mode, st.st_uid))
        throw IoError(errno).about(path);
}

bool mayEnterDirectory(const std::string& path, unsigned mode, unsigned owner)
{
    // A directory without search permission can be listed, but its entries can be neither
    // opened nor entered; one without read permission cannot be listed.
    static const uid_t self = geteuid();
    if (self == 0 || (self == owner && (mode & (S_IRUSR | S_IXUSR)) == (S_IRUSR | S_IXUSR)))
        return true;
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok()) {
        errno = at.error();
        return false;
    }
    return faccessat(at.fd(), at.rest(), R_OK | X_OK, 0) == 0;
}

bool createDirectory(const std::string& path)
{
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok()) {
        errno = at.error();
        return false;
    }
    return mkdirat(at.fd(), at.rest(), 0777) == 0;
}

bool createDirectoryTree(std::string path)
{
    if (path.size() > 1 && endsWithSeparator(path))
        path.pop_back();
    if (path.empty() || isRootPath(path) || directoryExists(path))
        return false;
    // A bare relative name is its own parent: it is made where the program stands.
    if (const std::string parent = parentPath(path); parent != path)
        createDirectoryTree(parent);
    return createDirectory(path);
}

int removeDirectory(const std::string& path)
{
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok())
        return at.error();
    return unlinkat(at.fd(), at.rest(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

bool deleteFile(const std::string& path)
{
    struct stat st {
    };
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok() || fstatat(at.fd(), at.rest(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        S_ISDIR(st.st_mode))
        return false;
    // Root may unlink anything; the read-only protection is ours to keep.
    if ((st.st_mode & S_IWUSR) == 0)
        return false;
    return unlinkat(at.fd(), at.rest(), 0) == 0;
}

bool renameFile(const std::string& from, const std::string& to)
{
    const AnchoredPath source(AT_FDCWD, from);
    const AnchoredPath target(AT_FDCWD, to);
    if (!source.ok() || !target.ok()) {
        errno = source.ok() ? target.error() : source.error();
        return false;
    }
    if (renameat2(source.fd(), source.rest(), target.fd(), target.rest(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)
        return renameWithoutReplacingFallback(source, target);
    return false;
}

std::string currentDirectory()
{
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE)
            throw IoError(errno);
        buffer.resize(buffer.size() * 2);
    }
}

void setCurrentDirectory(const std::string& path)
{
    if (withinPathLimit(path)) {
        if (chdir(path.c_str()) != 0)
            throw IoError(errno).about(path);
        return;
    }
    const auto [dir, error] = openDirectoryBase(path);
    if (error != 0)
        throw IoError(error).about(path);
    if (fchdir(dir.fd()) != 0)
        throw IoError(errno).about(path);
}

namespace
{

// An absolute path without empty, "." or ".." parts and without a trailing separator is full
// already; the views are moved to such paths thousands of times in a walk.
bool isFullAlready(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return false;
    if (path.size() == 1)
        return true;
    if (path.back() == '/')
        return false;
    for (std::size_t slash = 0; slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string_view part =
            std::string_view(path).substr(slash + 1, path.find('/', slash + 1) - slash - 1);
        if (part.empty() || part == "." || part == "..")
            return false;
    }
    return true;
}

} // namespace

std::string expandFileName(const std::string& path)
{
    if (isFullAlready(path))
        return path;
    const std::string absolute =
        !path.empty() && path.front() == '/' ? path : joinPath(currentDirectory(), path, '/');
    std::vector<std::string_view> parts;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        const std::size_t cut = rest.find('/');
        const std::string_view part = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    if (parts.empty())
        return "/";
    std::string result;
    for (const std::string_view part : parts) {
        result += '/';
        result += part;
    }
    return result;
}

} // namespace twinfold
