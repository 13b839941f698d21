#pragma once

#include <string>

namespace twinfold::cli
{

// An empty directory made for the length of a dry run whose destination does not exist yet:
// compared with it, every file would be copied, which is what the real run would do. Removed
// on destruction (a dry run writes nothing into it).
class StandInDirectory
{
public:
    StandInDirectory(); // throws IoError when none can be made
    ~StandInDirectory();
    StandInDirectory(const StandInDirectory&) = delete;
    StandInDirectory& operator=(const StandInDirectory&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace twinfold::cli
