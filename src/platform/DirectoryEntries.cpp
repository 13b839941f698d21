#include "DirectoryEntries.h"

#include "AnchoredPath.h"
#include "ErrorText.h"
#include "PathRules.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace twinfold
{

namespace
{

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

DirectoryEntries readEntriesAt(int dirFd)
{
    // A fresh open of "." has a read position of its own; reading through a duplicate of
    // dirFd would move the caller's position as well.
    FileHandle own(openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!own.isOpen())
        throw IoError(errno);
    const std::unique_ptr<DIR, DirCloser> dir(fdopendir(own.fd()));
    if (!dir)
        throw IoError(errno);
    own.release(); // the stream owns the descriptor now

    DirectoryEntries entries;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0)
                throw IoError(errno);
            break;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st {
        };
        if (fstatat(dirfd(dir.get()), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        (S_ISDIR(st.st_mode) ? entries.directories : entries.others).emplace_back(name);
    }
    sortByName(entries.directories);
    sortByName(entries.others);
    return entries;
}

namespace
{

// Takes the error at once, before anything else can overwrite it.
IoResult<FileHandle> opened(int fd)
{
    const int error = fd < 0 ? errno : 0;
    return {FileHandle(fd), error};
}

IoResult<FileHandle> openAnchored(int baseFd, const std::string& path, int flags)
{
    const AnchoredPath at(baseFd, path);
    if (!at.ok())
        return {FileHandle(), at.error()};
    return opened(openat(at.fd(), at.rest(), flags));
}

} // namespace

IoResult<FileHandle> openDirectory(const std::string& path)
{
    return openAnchored(AT_FDCWD, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

IoResult<FileHandle> openDirectoryAt(int baseFd, const std::string& relative)
{
    if (relative.empty())
        return opened(openat(baseFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return openAnchored(baseFd, relative, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

IoResult<FileHandle> openDirectoryBase(const std::string& path)
{
#ifdef O_PATH
    return openAnchored(AT_FDCWD, path, O_PATH | O_DIRECTORY | O_CLOEXEC);
#else
    return openDirectory(path);
#endif
}

IoResult<FileHandle> openSubdirectoryAt(int dirFd, const std::string& name)
{
    return opened(openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

} // namespace twinfold
