#include "DirectoryView.h"

#include "platform/PathRules.h"

namespace twinfold
{

DirectoryView::DirectoryView() : m_directory(1, NativeSeparator), m_chain{m_directory} {}

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
    m_directory = expandFileName(directory);
    m_chain = ancestorChain(m_directory);
    m_listing.reset();
    m_itemIndex = directoryPosition();
    if (onChange)
        onChange();
}

void DirectoryView::load(const std::string& directory)
{
    std::shared_ptr<const DirectoryListing> listing;
    if (m_eager)
        listing = readDirectory(directory);
    else
        checkDirectoryAccess(directory);
    m_directory = directory;
    m_chain = ancestorChain(directory);
    m_listing = std::move(listing);
    m_itemIndex = directoryPosition();
    if (onChange)
        onChange();
}

const DirectoryListing& DirectoryView::listing() const
{
    if (!m_listing)
        m_listing = readDirectory(m_directory);
    return *m_listing;
}

std::shared_ptr<const DirectoryListing> DirectoryView::sharedListing() const
{
    listing();
    return m_listing;
}

int DirectoryView::count() const
{
    return static_cast<int>(m_chain.size() + listing().subdirectories.size());
}

std::string DirectoryView::entryPath(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const auto at = static_cast<std::size_t>(index);
    if (at < m_chain.size())
        return m_chain[at];
    return joinPath(m_directory, listing().subdirectories[at - m_chain.size()]);
}

const std::vector<std::string>& DirectoryView::subdirectoryNames() const
{
    return listing().subdirectories;
}

void DirectoryView::setItemIndex(int index)
{
    if (index >= 0 && (index <= directoryPosition() || index < count()))
        m_itemIndex = index;
}

void DirectoryView::openCurrent()
{
    setDirectory(entryPath(m_itemIndex));
}

} // namespace twinfold
