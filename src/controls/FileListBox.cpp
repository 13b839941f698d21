#include "FileListBox.h"

#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Wildcard.h"

#include <algorithm>

namespace twinfold
{

namespace
{

std::vector<std::string> matchingFiles(const DirectoryListing& listing, const std::string& mask)
{
    const auto patterns = splitMask(mask);
    if (patterns.size() == 1 && (patterns[0] == "*.*" || patterns[0] == "*"))
        return listing.files;
    std::vector<std::string> names;
    for (const auto& pattern : patterns) {
        for (const auto& name : listing.files) {
            if (matchesPattern(name, pattern))
                names.push_back(name);
        }
    }
    // Each pattern's matches are in order already; a stable sort keeps duplicates together.
    if (patterns.size() > 1)
        std::stable_sort(names.begin(), names.end(),
                         [](const std::string& a, const std::string& b) { return nameLess(a, b); });
    return names;
}

} // namespace

FileListBox::FileListBox(DirectoryCache& cache) : m_cache(cache) {}

void FileListBox::setDirectory(const std::string& directory)
{
    m_directory = directory;
    update();
}

void FileListBox::read(const std::string& directory, const std::string& mask)
{
    m_directory = directory;
    m_mask = mask;
    update();
}

void FileListBox::setMask(const std::string& mask)
{
    if (mask == m_mask)
        return;
    m_mask = mask;
    update();
}

void FileListBox::setDirectory(const std::string& directory, const DirectoryListing& listing)
{
    m_directory = directory;
    assign(matchingFiles(listing, m_mask));
    if (onChange)
        onChange();
}

void FileListBox::update()
{
    assign(m_directory.empty() ? std::vector<std::string>{}
                               : matchingFiles(*m_cache.read(m_directory), m_mask));
    if (onChange)
        onChange();
}

} // namespace twinfold
