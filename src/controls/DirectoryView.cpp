#include "DirectoryView.h"

#include "platform/ErrorText.h"
#include "platform/PathRules.h"

#include <algorithm>

namespace twinfold
{

DirectoryView::DirectoryView(DirectoryCache& cache)
    : m_directory(1, NativeSeparator), m_cache(cache)
{
}

// The chain of a full path's ancestors is its prefixes up to each separator, so it is never
// stored: a walk moves the view thousands of times and asks for one ancestor at most.
int DirectoryView::depthOf(const std::string& directory)
{
    if (isRootPath(directory))
        return 0;
    return static_cast<int>(std::count(directory.begin(), directory.end(), NativeSeparator));
}

std::string DirectoryView::ancestorAt(int position) const
{
    if (position >= m_depth)
        return m_directory;
    std::size_t cut = 0;
    for (int seen = 0; seen <= position; ++seen)
        cut = m_directory.find(NativeSeparator, seen == 0 ? 0 : cut + 1);
    // The root keeps its separator; every other ancestor ends before one.
    return m_directory.substr(0, position == 0 ? cut + 1 : cut);
}

void DirectoryView::setDirectory(const std::string& path)
{
    const std::string target = expandFileName(path);
    if (target == m_directory)
        return;
    load(target);
}

void DirectoryView::update()
{
    load(m_directory);
}

void DirectoryView::moveTo(const std::string& directory)
{
    show(expandFileName(directory), nullptr);
}

void DirectoryView::load(const std::string& directory)
{
    std::shared_ptr<const DirectoryListing> listing;
    try {
        if (m_eager)
            listing = m_cache.read(directory);
        else
            checkDirectoryAccess(directory);
    } catch (const IoError& failure) {
        throw failure.about(directory);
    }
    show(directory, std::move(listing));
}

void DirectoryView::show(const std::string& directory,
                         std::shared_ptr<const DirectoryListing> listing)
{
    const bool moved = directory != m_directory;
    // A listing not read yet may differ from the one shown; the very same one kept in the
    // cache does not.
    const bool listingKept = listing && listing == m_listing;
    const int previousIndex = m_itemIndex;
    m_directory = directory;
    m_depth = depthOf(m_directory);
    m_listing = std::move(listing);
    m_itemIndex = directoryPosition();
    if (moved)
        directoryChanged.emit(m_directory);
    else if (!listingKept)
        listingChanged.emit();
    else if (m_itemIndex != previousIndex)
        currentChanged.emit(m_itemIndex);
    if (onChange)
        onChange();
}

const DirectoryListing& DirectoryView::listing() const
{
    if (!m_listing)
        m_listing = m_cache.read(m_directory);
    return *m_listing;
}

std::shared_ptr<const DirectoryListing> DirectoryView::sharedListing() const
{
    listing();
    return m_listing;
}

int DirectoryView::count() const
{
    return m_depth + 1 + static_cast<int>(listing().subdirectories.size());
}

std::string DirectoryView::entryPath(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const auto at = static_cast<std::size_t>(index);
    if (index <= m_depth)
        return ancestorAt(index);
    return joinPath(m_directory,
                    listing().subdirectories[at - static_cast<std::size_t>(m_depth) - 1]);
}

const std::vector<std::string>& DirectoryView::subdirectoryNames() const
{
    return listing().subdirectories;
}

void DirectoryView::setItemIndex(int index)
{
    if (index < 0 || (index > directoryPosition() && index >= count()) || index == m_itemIndex)
        return;
    m_itemIndex = index;
    currentChanged.emit(m_itemIndex);
}

void DirectoryView::openCurrent()
{
    setDirectory(entryPath(m_itemIndex));
}

} // namespace twinfold
