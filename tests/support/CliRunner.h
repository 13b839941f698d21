#pragma once

#include <functional>
#include <string>
#include <vector>

namespace twinfold::test
{

// Runs twinfold-cli as a child process and collects what it printed and how it ended.
struct CliResult {
    int status = -1; // exit status, or 128 + signal number
    std::string out;
    std::string err;
    std::vector<std::string> outLines() const;
    std::vector<std::string> errLines() const;
};

// onOutputLine runs for each line of standard output as it arrives, with the child's pid. The
// child starts in workingDirectory when one is given.
CliResult runCli(const std::vector<std::string>& args,
                 const std::function<void(int pid, const std::string& line)>& onOutputLine = {},
                 const std::string& workingDirectory = {});

} // namespace twinfold::test
