#include "support/CliRunner.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace twinfold::test
{

namespace
{

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

std::vector<std::string> CliResult::outLines() const
{
    return splitLines(out);
}

std::vector<std::string> CliResult::errLines() const
{
    return splitLines(err);
}

CliResult runCli(const std::vector<std::string>& args,
                 const std::function<void(int pid, const std::string& line)>& onOutputLine,
                 const CliStreams& streams)
{
    int outPipe[2];
    int errPipe[2];
    int inPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0 ||
        ::pipe2(inPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> argvStrings{TWINFOLD_CLI_PATH};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(argvStrings.size() + 1);
    for (auto& arg : argvStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        if (streams.outputPath.empty())
            ::dup2(outPipe[1], STDOUT_FILENO);
        else
            ::dup2(::open(streams.outputPath.c_str(), O_WRONLY), STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        if (streams.input.empty())
            ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
        else
            ::dup2(inPipe[0], STDIN_FILENO);
        if (!streams.workingDirectory.empty() && ::chdir(streams.workingDirectory.c_str()) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ::close(inPipe[0]);
    // Small enough for the pipe's buffer: written whole before the child reads.
    if (::write(inPipe[1], streams.input.data(), streams.input.size()) < 0)
        throw std::runtime_error("write to the child failed");
    ::close(inPipe[1]);

    CliResult result;
    std::string pendingLine;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            if (i == 0 && onOutputLine) {
                pendingLine.append(buffer, static_cast<std::size_t>(n));
                for (std::size_t end; (end = pendingLine.find('\n')) != std::string::npos;) {
                    onOutputLine(pid, pendingLine.substr(0, end));
                    pendingLine.erase(0, end + 1);
                }
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace twinfold::test
