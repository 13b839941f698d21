#include "FileSystem.h"

#include "ErrorText.h"
#include "PathRules.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

bool entryExists(const std::string& path)
{
    struct stat st {
    };
    return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

// For file systems without RENAME_NOREPLACE: a hard link fails when the target exists, which
// makes the check and the rename one step; where hard links are not possible either (FAT, or
// a directory), an existence check just before the rename is the best left.
bool renameWithoutReplacingFallback(const std::string& from, const std::string& to)
{
    if (link(from.c_str(), to.c_str()) == 0) {
        if (unlink(from.c_str()) == 0)
            return true;
        unlink(to.c_str());
        return false;
    }
    if (errno == EEXIST)
        return false;
    if (entryExists(to))
        return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

std::optional<SearchRec> lookupEntry(const std::string& path)
{
    struct stat st {
    };
    if (path.empty() || lstat(path.c_str(), &st) != 0)
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
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return NoTimeValue;
    return packTimeValue(st.st_mtim.tv_sec);
}

int fileGetAttr(const std::string& path)
{
    struct stat st {
    };
    if (stat(path.c_str(), &st) != 0)
        return -1;
    return attributesOf(st, lastComponent(path));
}

bool fileExists(const std::string& path)
{
    struct stat st {
    };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool directoryExists(const std::string& path)
{
    struct stat st {
    };
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void checkDirectoryAccess(const std::string& path)
{
    // Two queries rather than opening the directory: this runs at every move of a view, and
    // the walk moves the views several times for each directory of a tree.
    struct stat st {
    };
    if (stat(path.c_str(), &st) != 0)
        throw IoError(errno);
    if (!S_ISDIR(st.st_mode))
        throw IoError(ENOTDIR);
    if (!mayEnterDirectory(path, st.st_mode, st.st_uid))
        throw IoError(errno);
}

bool mayEnterDirectory(const std::string& path, unsigned mode, unsigned owner)
{
    // A directory without search permission can be listed, but its entries can be neither
    // opened nor entered; one without read permission cannot be listed.
    static const uid_t self = geteuid();
    if (self == 0 || (self == owner && (mode & (S_IRUSR | S_IXUSR)) == (S_IRUSR | S_IXUSR)))
        return true;
    return access(path.c_str(), R_OK | X_OK) == 0;
}

bool createDirectory(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0;
}

bool createDirectoryTree(std::string path)
{
    if (path.size() > 1 && endsWithSeparator(path))
        path.pop_back();
    if (path.empty() || isRootPath(path) || directoryExists(path))
        return false;
    createDirectoryTree(parentPath(path));
    return createDirectory(path);
}

int removeDirectory(const std::string& path)
{
    return rmdir(path.c_str()) == 0 ? 0 : errno;
}

bool deleteFile(const std::string& path)
{
    struct stat st {
    };
    if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    // Root may unlink anything; the read-only protection is ours to keep.
    if ((st.st_mode & S_IWUSR) == 0)
        return false;
    return unlink(path.c_str()) == 0;
}

bool renameFile(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)
        return renameWithoutReplacingFallback(from, to);
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
    if (chdir(path.c_str()) != 0)
        throw IoError(errno);
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
