#include "ItemizedLines.h"

#include "engine/SyncBox.h"
#include "platform/EscapedName.h"

#include <utility>

namespace twinfold::cli
{

ItemizedLines::ItemizedLines(TSyncBox& syncBox, std::ostream& out, bool dryRun, std::string standIn,
                             std::string dest)
    : m_out(out), m_dryRun(dryRun), m_standIn(std::move(standIn)), m_dest(std::move(dest))
{
    m_connections.push_back(syncBox.fileResult.connect([this](const FileResult& result) {
        const char* done = result.copied() ? (m_dryRun ? "would copy" : "copied")
                                           : (m_dryRun ? "would not copy" : "not copied");
        // The reason may quote a destination path: escaped as the names are, it stays one line.
        m_out << done << ", " << escapedName(reasonText(result)) << '\t' << escapedName(result.path)
              << '\n';
    }));
    m_connections.push_back(syncBox.directoryMade.connect([this](const std::string& path) {
        m_out << (m_dryRun ? "would make directory" : "made directory") << '\t'
              << escapedName(shown(path)) << '\n';
    }));
}

std::string ItemizedLines::shown(const std::string& path) const
{
    if (m_standIn.empty() || path.compare(0, m_standIn.size(), m_standIn) != 0)
        return path;
    std::string rest = path.substr(m_standIn.size());
    if (!m_dest.empty() && m_dest.back() == '/' && !rest.empty() && rest.front() == '/')
        rest.erase(0, 1);
    return m_dest + rest;
}

} // namespace twinfold::cli
