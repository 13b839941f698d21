#pragma once

#include "platform/DirectoryCache.h"
#include "platform/FileSystem.h"
#include "platform/Signal.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace twinfold
{

// A directory view: the chain of the current directory's ancestors from the root down to it,
// followed by its immediate subdirectories in name order (hidden ones included). The entry
// before the current directory is its parent. One entry is the item index.
//
// The listing is read when it is first asked for, and the subdirectory names stay in the shared
// listing with full paths made only on demand: a view moved through many directories (the
// destination view during a run) reads nothing it is not asked for, and returning to a wide
// parent costs no more than the check that it has not changed.
//
// `directoryChanged` announces a move: everything shown (entries and item index) is then new.
// `listingChanged` announces an update that may have brought other entries, the directory
// kept; `currentChanged` a change of the item index alone.
class DirectoryView
{
public:
    // Listings are read through the cache, which must outlive the view.
    explicit DirectoryView(DirectoryCache& cache);

    const std::string& directory() const { return m_directory; }
    // Where the view's listings are read and kept.
    DirectoryCache& cache() const { return m_cache; }

    // Moves to a directory (relative paths are taken against the current directory). Setting
    // the directory the view already shows does nothing; a directory that cannot be entered
    // throws IoError and leaves the view as it was.
    void setDirectory(const std::string& path);

    // Reads the listing afresh, keeping the directory.
    void update();

    // A view whose listing is always wanted (the source view, which its file list shares)
    // reads it as it moves: the reading is then the check that the directory can be entered.
    void setReadsEagerly(bool eager) { m_eager = eager; }

    // Points the view at a directory that the caller has just found it can enter, without
    // checking it again.
    void moveTo(const std::string& directory);

    int count() const;
    std::string entryPath(int index) const;
    // The position of the current directory: its depth, 0 for a root.
    int directoryPosition() const { return m_depth; }
    const std::vector<std::string>& subdirectoryNames() const;
    // The directory's listing, shared with a file list that shows the same directory.
    std::shared_ptr<const DirectoryListing> sharedListing() const;

    int itemIndex() const { return m_itemIndex; }
    void setItemIndex(int index);

    // Makes the entry at the item index the current directory.
    void openCurrent();

    // Runs after every change of directory and every update: the window model's own logic, a
    // single hook apart from the signals, which are emitted before it runs.
    std::function<void()> onChange;

    Signal<const std::string&> directoryChanged;
    Signal<> listingChanged;
    Signal<int> currentChanged;

private:
    void load(const std::string& directory);
    void show(const std::string& directory, std::shared_ptr<const DirectoryListing> listing);
    const DirectoryListing& listing() const;

    std::string m_directory;
    std::string ancestorAt(int position) const;
    static int depthOf(const std::string& directory);

    DirectoryCache& m_cache;
    int m_depth = 0;
    mutable std::shared_ptr<const DirectoryListing> m_listing;
    int m_itemIndex = 0;
    bool m_eager = false;
};

} // namespace twinfold
