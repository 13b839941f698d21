#include "TreeRemoval.h"

#include "platform/AnchoredPath.h"
#include "platform/DirectoryEntries.h"
#include "platform/ErrorText.h"
#include "platform/PathRules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace twinfold
{

namespace
{

// Deletes the non-directory entries of the directory open at dirFd, read afresh, from the last
// to the first in name order.
void deleteEntriesAt(int dirFd)
{
    const auto names = readEntriesAt(dirFd).others;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        struct stat st {
        };
        if (fstatat(dirFd, name->c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        // Owner write permission is the read-only mark; root could unlink the file anyway,
        // so the protection is kept here. A link's own mode always allows it.
        if (S_ISDIR(st.st_mode) || (st.st_mode & S_IWUSR) == 0)
            continue;
        unlinkat(dirFd, name->c_str(), 0);
    }
}

class TreeDeletion
{
public:
    TreeDeletion(const RemovalProblem& problem, dev_t device) : m_problem(problem), m_device(device)
    {
    }

    // Empties the directory open at dirFd; `path` names it for the messages.
    void deleteContents(int dirFd, const std::string& path)
    {
        try {
            const auto subdirectories = readEntriesAt(dirFd).directories;
            for (auto name = subdirectories.rbegin(); name != subdirectories.rend(); ++name)
                removeSubdirectory(dirFd, *name, joinPath(path, *name));
            deleteEntriesAt(dirFd);
        } catch (const IoError&) {
            // A directory that cannot be read keeps what is in it; its removal then fails and
            // is reported by the caller.
        }
    }

    // Removes the subdirectory `name` of the directory open at parentFd with all it holds.
    void removeSubdirectory(int parentFd, const std::string& name, const std::string& path)
    {
        const auto [dir, error] = openSubdirectoryAt(parentFd, name);
        if (error == ELOOP || error == ENOTDIR) {
            // Replaced by a link or a file since it was listed: not a directory to enter. The
            // entry is removed with the other entries of its parent.
            return;
        }
        if (dir.isOpen() && onSameFileSystem(dir.fd()))
            deleteContents(dir.fd(), path);
        if (unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) != 0)
            m_problem(path);
    }

private:
    bool onSameFileSystem(int dirFd) const
    {
        struct stat st {
        };
        return fstat(dirFd, &st) == 0 && st.st_dev == m_device;
    }

    const RemovalProblem& m_problem;
    dev_t m_device;
};

} // namespace

void delTree(const std::string& path, const RemovalProblem& problem)
{
    const auto [parent, error] = openDirectoryBase(parentPath(path));
    if (error != 0)
        throw IoError(error);
    const std::string name = extractFileName(path);

    struct stat st {
    };
    if (fstatat(parent.fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        throw IoError(errno);
    if (!S_ISDIR(st.st_mode)) {
        // The directory was reached through a link: the link goes, what it points to stays.
        if (unlinkat(parent.fd(), name.c_str(), 0) != 0)
            problem(path);
        return;
    }
    TreeDeletion(problem, st.st_dev).removeSubdirectory(parent.fd(), name, path);
}

void deleteFiles(const std::string& path)
{
    const auto [dir, error] = openDirectory(path);
    if (error != 0)
        throw IoError(error);
    deleteEntriesAt(dir.fd());
}

bool removeEntry(const std::string& path)
{
    const AnchoredPath at(AT_FDCWD, path);
    return at.ok() && ::unlinkat(at.fd(), at.rest(), 0) == 0;
}

} // namespace twinfold
