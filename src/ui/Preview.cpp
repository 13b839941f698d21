#include "ui/Preview.h"

#include "engine/SyncBox.h"
#include "platform/PathRules.h"

#include <algorithm>

namespace twinfold
{

namespace
{

// 1234567 as "1,234,567": byte counts of whole trees are read at a glance.
std::string grouped(std::int64_t value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return value < 0 ? "-" + digits : digits;
}

std::string counted(std::size_t count, const char* one, const char* many)
{
    return grouped(static_cast<std::int64_t>(count)) + " " + (count == 1 ? one : many);
}

std::string below(const std::string& root, const std::string& path)
{
    if (root.empty() || path.size() <= root.size() || path.compare(0, root.size(), root) != 0)
        return path;
    const std::size_t start = endsWithSeparator(root) ? root.size() : root.size() + 1;
    return start < path.size() ? path.substr(start) : path;
}

} // namespace

TPreview::TPreview() : Window("TPreview") {}

std::string TPreview::shownFile(const std::string& path) const
{
    return below(From.text(), path);
}

std::string TPreview::shownDirectory(const std::string& path) const
{
    return below(To.text(), path);
}

std::vector<Connection> TPreview::follow(TSyncBox& syncBox, const std::string& source,
                                         const std::string& destination)
{
    m_toCopy.clear();
    m_leftAlone.clear();
    m_directories.clear();
    m_bytes = 0;
    m_syncChosen = false;
    From.setText(source);
    To.setText(destination);
    Totals.setText("");
    std::vector<Connection> connections;
    connections.push_back(syncBox.fileResult.connect([this](const FileResult& result) {
        (result.copied() ? m_toCopy : m_leftAlone)
            .push_back({result.path, result.reason, result.size});
        if (result.copied())
            m_bytes += result.size;
    }));
    connections.push_back(syncBox.directoryMade.connect(
        [this](const std::string& path) { m_directories.push_back(path); }));
    return connections;
}

void TPreview::finish()
{
    // A run makes a deep directory together with its missing parents, a dry run tells each
    // level at its own pass: in path order the two read the same.
    std::sort(m_directories.begin(), m_directories.end());
    Totals.setText("Would copy " + counted(m_toCopy.size(), "file", "files") + " (" +
                   grouped(m_bytes) + " bytes), leave " +
                   counted(m_leftAlone.size(), "file", "files") + " alone and make " +
                   counted(m_directories.size(), "directory", "directories") + ".");
    listsChanged.emit();
}

void TPreview::SyncBtnClick()
{
    m_syncChosen = true;
    Close();
}

void TPreview::CloseBtnClick()
{
    m_syncChosen = false;
    Close();
}

} // namespace twinfold
