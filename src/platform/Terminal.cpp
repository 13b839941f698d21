#include "Terminal.h"

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

} // namespace twinfold
