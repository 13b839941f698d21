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
    auto [handle, error] = rootFd < 0 ? openDirectory(fullPath) : openDirectoryAt(rootFd, relative);
    return OpenedDirectory{std::move(handle), error};
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
