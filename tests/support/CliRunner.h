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

// What the child reads on standard input (else /dev/null), the file its standard output goes to
// (else a pipe collected into CliResult::out), and the directory it starts in (else ours).
struct CliStreams {
    std::string input;
    std::string outputPath;
    std::string workingDirectory;
};

// onOutputLine runs for each line of standard output as it arrives, with the child's pid.
CliResult runCli(const std::vector<std::string>& args,
                 const std::function<void(int pid, const std::string& line)>& onOutputLine = {},
                 const CliStreams& streams = {});

} // namespace twinfold::test
