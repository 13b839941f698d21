#include "CaseCollisions.h"

#include "BufferedCopy.h"
#include "platform/FileHandle.h"
#include "platform/FileServices.h"
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
    const bool firstFound = statusAt(destination.fd, destination.entry(first), false).has_value();
    const bool secondFound = statusAt(destination.fd, destination.entry(second), false).has_value();
    if (!firstFound && !secondFound)
        return Folding::Unknown;
    // Only one of the names found: the directory tells them apart.
    if (!firstFound || !secondFound)
        return Folding::KeepsCase;
    // Both found: two entries, or one found under either name. Entry identities cannot tell
    // (FUSE drivers number a file anew for each name it is looked up by), the listing can: a
    // name that is found but not listed was found by ignoring its case.
    bool firstListed = false;
    bool secondListed = false;
    const auto opened = fileServices().openDirectory(destination.fd, destination.entry("."), true);
    const FileHandle dir(opened.value);
    if (!opened.ok())
        return Folding::Unknown;
    const auto listed = fileServices().listNames(
        dir.fd(),
        [&](const char* name, bool) {
            firstListed = firstListed || first == name;
            secondListed = secondListed || second == name;
        },
        /*glance=*/false);
    // A directory that cannot be listed cannot tell either: the second name is refused rather
    // than risk writing it over the first.
    if (!listed.ok())
        return Folding::IgnoresCase;
    return firstListed && secondListed ? Folding::KeepsCase : Folding::IgnoresCase;
}

std::string caseCollisionMessage(const std::string& destinationFile, const std::string& takenBy)
{
    return "Could not create destination file: " + destinationFile +
           " (the destination ignores letter case and takes it for " + takenBy +
           ").  File not copied!";
}

} // namespace twinfold
