#pragma once

#include "platform/FileHandle.h"

#include <string>
#include <string_view>

namespace twinfold
{

// A copy is written under a temporary name beside its destination and renamed over it only
// when complete, so a failed or killed copy never leaves a partial file under the
// destination's name. Temporary names look like ".twinfold-0123456789ab.partial": short enough
// for any file system, and recognisable, so that a later run can remove the leftovers of a
// killed one. While a copy is in progress its file holds an exclusive lock, which tells a
// leftover (no lock) from another process's copy in progress (locked).
class TemporaryFile
{
public:
    // Creates a new, exclusively named file in the directory open at dirFd, which must stay open
    // while this object lives; isOpen() is false with errno set on failure.
    explicit TemporaryFile(int dirFd);
    ~TemporaryFile(); // removes the file unless it was installed
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    FileHandle& file() { return m_file; }
    const std::string& name() const { return m_name; }

    // Closes the file and renames it over the entry destinationName of the same directory;
    // false with errno set on failure.
    bool install(const std::string& destinationName);

private:
    int m_dirFd;
    FileHandle m_file;
    std::string m_name;
    bool m_installed = false;
};

bool isTemporaryName(std::string_view name);

// Removes the temporaries that killed runs left in dir, and nothing else: only entries with the
// temporary form that are regular files and that no live copy holds locked. This runs in every
// directory a run passes over, so it only glances at the directory: a leftover it misses is
// harmless, and is gone at a later pass.
void removeLeftoverTemporaries(const std::string& dir);
void removeLeftoverTemporaries(const FileHandle& dir);

} // namespace twinfold
