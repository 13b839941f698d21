#pragma once

#include "DosTime.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace twinfold
{

// Attribute kinds of a directory entry. POSIX has no system, archive or volume-label entries;
// read-only is a file without write permission for its owner, hidden a name beginning with ".".
enum Attribute : int {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faAnyFile = 0x3F,
};

// One directory entry as a lookup reports it.
struct SearchRec {
    std::string Name;
    int Attr = 0;
    std::int64_t Size = 0;
    TimeValue Time = NoTimeValue;
};

// The names of one directory's entries (as DirectoryCache reads them), each list sorted by
// nameLess().
// Files are regular files and symbolic links to regular files; subdirectories are real
// directories (a symbolic link to a directory is neither). FIFOs, sockets, devices and
// dangling links are left out, so nothing listed can block when opened.
struct DirectoryListing {
    std::vector<std::string> files;
    std::vector<std::string> subdirectories;
};

// Looks up the entry that a path names, without following a final symbolic link, with every
// kind admitted. Name is the last path component.
[[nodiscard]] std::optional<SearchRec> lookupEntry(const std::string& path);

// The time value of the file that a path names (following symbolic links), or NoTimeValue when
// nothing is there, it is not a regular file, or its time cannot be packed.
TimeValue fileAge(const std::string& path);

// The attributes of a path (following symbolic links), or -1 when it cannot be read.
int fileGetAttr(const std::string& path);

// True when the path names a regular file (following symbolic links).
bool fileExists(const std::string& path);

// True when the path names a directory (following symbolic links: a directory the user chose
// through a link is kept as typed).
bool directoryExists(const std::string& path);

// Throws IoError unless the path is a directory that can be entered and listed.
void checkDirectoryAccess(const std::string& path);

// Whether a directory with this status can be listed and entered by this process. Decided from
// the mode where that is certain (root, or the owner with read and search permission), so that
// the common case costs no further query; otherwise asked of the kernel.
bool mayEnterDirectory(const std::string& path, unsigned mode, unsigned owner);

// Makes one directory; false on failure.
[[nodiscard]] bool createDirectory(const std::string& path);

// Makes a directory and every missing level above it; true when it made the directory itself.
// A level that cannot be made is passed over; the levels below it then fail as well. A root is
// its own parent, so that is the test for one, not a length.
bool createDirectoryTree(std::string path);

// Removes an empty directory; 0 on success, else the error number.
[[nodiscard]] int removeDirectory(const std::string& path);

// Deletes a file. A read-only file (no owner write permission) is refused, also for root.
[[nodiscard]] bool deleteFile(const std::string& path);

// Renames a file; refuses to replace an existing entry.
[[nodiscard]] bool renameFile(const std::string& from, const std::string& to);

std::string currentDirectory();
void setCurrentDirectory(const std::string& path); // throws IoError

// An absolute path without "." or ".." parts and without a trailing separator (except for a
// root), taken against the current directory. Symbolic links are kept, not resolved.
std::string expandFileName(const std::string& path);

// The mount points of the mounted file systems a user would choose, the root first, the rest
// in name order; the kernel's own file systems are left out.
std::vector<std::string> listDrives();
// The same from the text of a mount table (/proc/self/mounts).
std::vector<std::string> drivesOfMountTable(const std::string& table);

// The mount point of the file system that holds a path (the longest mount point it lies in).
std::string driveOf(const std::string& path);

} // namespace twinfold
