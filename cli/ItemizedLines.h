#pragma once

#include "platform/Signal.h"

#include <ostream>
#include <string>
#include <vector>

namespace twinfold
{
class TSyncBox;
}

namespace twinfold::cli
{

// --itemize: one line on the run's output for file lines (standard output, or standard error
// where standard output carries the JSON result) for each file a run is done with and each
// directory it makes, saying what the run did and why, then a tab and the path (names escaped):
//   copied, new / copied, newer / not copied, older or same / not copied, failed: REASON
//   made directory
// A dry run says "would copy", "would not copy" and "would make directory".
class ItemizedLines
{
public:
    // standIn and dest: a dry run into a stand-in for a missing destination names the
    // directories it would make below the real one. Empty when there is none.
    ItemizedLines(TSyncBox& syncBox, std::ostream& out, bool dryRun, std::string standIn = {},
                  std::string dest = {});

private:
    std::string shown(const std::string& path) const;

    std::ostream& m_out;
    bool m_dryRun;
    std::string m_standIn;
    std::string m_dest;
    std::vector<Connection> m_connections;
};

} // namespace twinfold::cli
