// Reads arbitrary batch files: a list comes back whatever the file holds, no entry spans a line
// or is the end mark, and a list written out and read again is the same list.
#include "FuzzInput.h"

#include "batch/BatchFile.h"

#include <algorithm>
#include <cstdlib>

namespace
{

// An entry that a profile line holds as it is: no line break, and no quotes around it (which a
// reading removes).
bool storable(const std::string& entry)
{
    if (entry.find_first_of("\r\n") != std::string::npos)
        return false;
    return entry.size() < 2 || (entry.front() != '"' && entry.front() != '\'') ||
           entry.back() != entry.front();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const twinfold::fuzz::ScratchFile file;
    file.write(std::string(reinterpret_cast<const char*>(data), size));
    const auto entries = twinfold::ReadBatchFile(file.path());
    for (const auto& entry : entries)
        if (entry == "Done" || entry.find('\n') != std::string::npos)
            std::abort();
    if (entries.empty() || !std::all_of(entries.begin(), entries.end(), storable))
        return 0;
    twinfold::WriteBatchFile(file.path(), entries);
    if (twinfold::ReadBatchFile(file.path()) != entries)
        std::abort();
    return 0;
}
