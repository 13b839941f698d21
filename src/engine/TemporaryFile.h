#pragma once

#include "platform/FileHandle.h"
#include "platform/IoResult.h"

#include <string>
#include <string_view>
#include <vector>

namespace twinfold
{

// The file a copy is written into before it takes the destination's name, so that a failed or
// killed copy never leaves a partial file under that name.
//
// Where the file system allows it the file has no name at all while it is written: a killed
// run then leaves nothing behind, and a new file costs a single directory operation. Elsewhere,
// and for a replacement, it has a temporary name like ".twinfold-0123456789ab.partial": short
// enough for any file system, and recognisable, so that a later run can remove the leftovers of
// a killed one. A file under a temporary name is locked as early as it can be, and a clean-up
// leaves a locked file alone: an unnamed file is locked before it is named; a named one right
// after it is made, and a clean-up that takes it in that moment leaves a copy that can only fail
// to install, never one that installs what the clean-up removed.
class TemporaryFile
{
public:
    // Creates the file in the directory open at dirFd, which must stay open while this object
    // lives, with the permission bits mode less the umask; isOpen() is false on failure, and
    // error() says why. unnamedAllowed false always gives it a temporary name.
    TemporaryFile(int dirFd, unsigned mode, bool unnamedAllowed = true);
    ~TemporaryFile(); // removes the file unless it was installed
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    int error() const { return m_error; }
    FileHandle& file() { return m_file; }
    bool unnamed() const { return m_name.empty(); }

    // Gives the file the name destinationName, never replacing an entry that stands there: the
    // error isNameTaken() then, and the file is kept for replace(). The same error at once
    // where the file system cannot rename without replacing.
    IoResult<bool> installNew(const std::string& destinationName);
    // Renames the file over the entry destinationName.
    IoResult<bool> replace(const std::string& destinationName);
    // Closes the installed file. Its write errors must have been taken before the install (by
    // FileHandle::flush), while a replaced destination still stood: whatever closing reports
    // now concerns no byte of it, and removing the file would lose both versions.
    void closeInstalled();
    // Whether an install failed because the file lost its temporary name before it was locked:
    // another run's clean-up took it for a leftover, and nothing of this copy can be installed.
    bool lostItsName(int installError) const;

private:
    IoResult<bool> createNamed(unsigned mode);
    IoResult<bool> giveTemporaryName();

    int m_dirFd;
    FileHandle m_file;
    std::string m_name;
    std::string m_installedName;
    int m_error = 0;
    bool m_namedBeforeLocked = false;
};

bool isTemporaryName(std::string_view name);

// Removes the temporaries that killed runs left in dir, and nothing else: only entries with the
// temporary form that are regular files and that no live copy holds locked. This runs in every
// directory a run passes over, so it only glances at the directory: a leftover it misses is
// harmless, and is gone at a later pass.
void removeLeftoverTemporaries(const std::string& dir);
void removeLeftoverTemporaries(const FileHandle& dir);
// The same in two steps, so that the glance may be taken ahead, on another thread: the names of
// the directory that look like temporaries, and the removal of those that are leftovers.
std::vector<std::string> findLeftoverTemporaries(int dirFd);
void removeLeftoverTemporaries(int dirFd, const std::vector<std::string>& names);

} // namespace twinfold
