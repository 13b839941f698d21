#pragma once

#include "controls/Controls.h"
#include "platform/DirectoryCache.h"
#include "platform/FileSystem.h"

#include <functional>
#include <string>

namespace twinfold
{

// A file list: the names of one directory's files that match a mask of ";"-separated patterns,
// in name order, each with a selected flag. A file that matches several patterns is listed once
// for each. Every reading drops the selection (announced as a reset of the list when it brings
// a change) and then runs onChange, the window model's own single hook.
class FileListBox : public ListBox
{
public:
    // Directories are read through the cache, which must outlive the list.
    explicit FileListBox(DirectoryCache& cache);

    const std::string& directory() const { return m_directory; }
    const std::string& mask() const { return m_mask; }

    // Reads the files of a directory (the caller decides whether the directory changed).
    void setDirectory(const std::string& directory);
    // Re-reads only when the mask differs.
    void setMask(const std::string& mask);
    // Re-reads in any case.
    void update();
    // Sets both and reads once.
    void read(const std::string& directory, const std::string& mask);
    // Shows a directory from a listing read already (by the directory view beside the list).
    void setDirectory(const std::string& directory, const DirectoryListing& listing);

    std::function<void()> onChange;

private:
    DirectoryCache& m_cache;
    std::string m_directory;
    std::string m_mask = "*.*";
};

} // namespace twinfold
