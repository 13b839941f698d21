#include "Terminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace twinfold
{

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) != 0;
}

std::optional<int> standardErrorColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0)
        return std::nullopt;
    return size.ws_col;
}

void ensureStandardStreamsOpen()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        // The lowest free number is the one that is closed.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened != fd && opened >= 0)
            ::close(opened);
    }
}

} // namespace twinfold
