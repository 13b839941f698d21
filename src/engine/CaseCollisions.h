#pragma once

#include <optional>
#include <string>

namespace twinfold
{

struct CopyDirectory;

// Names of one source directory that differ only in letter case (Report.txt, report.txt) are
// two files here, but one file on a destination that ignores case (FAT, exFAT, a case-folding
// directory): copying both would write one over the other. The names are met in list order,
// where such names stand next to each other; the first of them is copied as usual, and each
// later one is refused when the destination takes it for the first.
//
// Whether the destination directory ignores case is asked of the file system itself, once per
// directory and only when the source directory holds such names: the two names are looked up
// in the destination directory, and a name found there but not listed there was found by
// ignoring its case. Until either name stands there nothing can be lost, so the question waits
// for the first copy to have been made.
class CaseCollisions
{
public:
    // A new source directory (or another destination directory) begins.
    void startDirectory();
    // Notes a name of the list that the run passes over (not selected): a later name may still
    // collide with its copy in the destination.
    void note(const std::string& name);
    // The earlier name of the directory that the destination would take `name` for; nothing
    // when `name` can be copied under its own name.
    std::optional<std::string> collisionOf(const CopyDirectory& destination,
                                           const std::string& name);

private:
    enum class Folding { Unknown, IgnoresCase, KeepsCase };
    Folding ask(const CopyDirectory& destination, const std::string& first,
                const std::string& second) const;

    std::string m_groupFirst; // the first name of the run of names equal but for case
    Folding m_folding = Folding::Unknown;
};

// The message of a refused name, in the form of the copy's own failures.
std::string caseCollisionMessage(const std::string& destinationFile, const std::string& takenBy);

} // namespace twinfold
