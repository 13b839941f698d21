#pragma once

#include "FileSystem.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace twinfold
{

// Reads directory listings and keeps the recent ones.
//
// A walk returns to a parent directory after each child and reads it again; for a wide
// directory that would make the walk quadratic. Listings are therefore kept (the most recently
// used few) and reused while the directory provably has not changed since it was read: same
// device, inode and status-change time, and that change lay clearly before the read (a change
// in the same clock tick as the read could otherwise go unnoticed). The moment of a read comes
// from the cache's clock, so that a test can place it after a change instead of waiting.
class DirectoryCache
{
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    DirectoryCache();
    ~DirectoryCache();
    DirectoryCache(const DirectoryCache&) = delete;
    DirectoryCache& operator=(const DirectoryCache&) = delete;

    // A directory's listing; throws IoError when it cannot be read.
    std::shared_ptr<const DirectoryListing> read(const std::string& dir);

    // Forgets every kept listing (after the program's own removals, say).
    void clear();

    // Replaces the clock that dates each read; the system clock by default.
    void setClock(Clock clock);

private:
    class Store;
    std::unique_ptr<Store> m_store;
    Clock m_clock;
};

} // namespace twinfold
