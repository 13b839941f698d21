#include "CaseCollisions.h"

#include "BufferedCopy.h"
#include "platform/FileHandle.h"
#include "platform/PathRules.h"

namespace twinfold
{

void CaseCollisions::startDirectory()
{
    m_groupFirst.clear();
    m_folding = Folding::Unknown;
}

void CaseCollisions::note(const std::string& name)
{
    if (m_groupFirst.empty() || !sameIgnoringAsciiCase(name, m_groupFirst))
        m_groupFirst = name;
}

std::optional<std::string> CaseCollisions::collisionOf(const CopyDirectory& destination,
                                                       const std::string& name)
{
    note(name);
    // A name listed twice (it matches two masks) is one file, copied and then skipped.
    if (name == m_groupFirst)
        return std::nullopt;
    if (m_folding == Folding::Unknown)
        m_folding = ask(destination, m_groupFirst, name);
    if (m_folding != Folding::IgnoresCase)
        return std::nullopt;
    return m_groupFirst;
}

CaseCollisions::Folding CaseCollisions::ask(const CopyDirectory& destination,
                                            const std::string& first,
                                            const std::string& second) const
{
    const auto underFirst = statusAt(destination.fd, destination.entry(first), false);
    const auto underSecond = statusAt(destination.fd, destination.entry(second), false);
    if (!underFirst && !underSecond)
        return Folding::Unknown;
    if (underFirst && underSecond && underFirst->device == underSecond->device &&
        underFirst->inode == underSecond->inode && underFirst->links == 1)
        return Folding::IgnoresCase;
    // Two entries, or only one of the names found: the directory tells the names apart. (Two
    // names of one file with several links are hard links, made on purpose.)
    return Folding::KeepsCase;
}

std::string caseCollisionMessage(const std::string& destinationFile, const std::string& takenBy)
{
    return "Could not create destination file: " + destinationFile +
           " (the destination ignores letter case and takes it for " + takenBy +
           ").  File not copied!";
}

} // namespace twinfold
