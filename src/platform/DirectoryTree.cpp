#include "DirectoryTree.h"

#include "DirectoryEntries.h"

#include <cerrno>
#include <fcntl.h>

namespace twinfold
{

bool OpenedDirectory::missing() const
{
    return !isOpen() && error == ENOENT;
}

OpenedDirectory openDirectoryBelow(int rootFd, const std::string& relative,
                                   const std::string& fullPath)
{
    OpenedDirectory opened;
    if (rootFd < 0)
        opened.handle = openDirectory(fullPath);
    else
        opened.handle = FileHandle(::openat(rootFd, relative.empty() ? "." : relative.c_str(),
                                            O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    opened.error = opened.handle.isOpen() ? 0 : errno;
    return opened;
}

int currentDirectoryHandle()
{
    return AT_FDCWD;
}

int invalidArgumentError()
{
    return EINVAL;
}

} // namespace twinfold
