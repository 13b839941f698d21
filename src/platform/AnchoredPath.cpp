#include "AnchoredPath.h"

#include <fcntl.h>

#include <cerrno>
#include <climits>

namespace twinfold
{

namespace
{

// O_PATH opens a directory to look up in without needing read permission, as the system's own
// walk of a path needs only search permission.
#ifdef O_PATH
constexpr int StepFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int StepFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

} // namespace

bool withinPathLimit(const std::string& path)
{
    // The limit counts the terminating null byte.
    return path.size() < PATH_MAX;
}

AnchoredPath::AnchoredPath(int baseFd, const std::string& path) : m_fd(baseFd), m_rest(path.c_str())
{
    if (!withinPathLimit(path))
        openLeadingDirectories(path);
}

void AnchoredPath::openLeadingDirectories(const std::string& path)
{
    std::size_t start = 0;
    while (path.size() - start >= PATH_MAX) {
        // The longest leading piece that ends before a separator and stays within the limit.
        const std::size_t cut = path.rfind('/', start + PATH_MAX - 1);
        if (cut == std::string::npos || cut <= start) {
            // One name longer than the limit: no file system holds such a name.
            m_error = ENAMETOOLONG;
            return;
        }
        const std::string piece = path.substr(start, cut - start);
        FileHandle next(::openat(m_fd, piece.c_str(), StepFlags));
        if (!next.isOpen()) {
            m_error = errno;
            return;
        }
        m_anchor = std::move(next);
        m_fd = m_anchor.fd();
        start = cut + 1;
        while (start < path.size() && path[start] == '/')
            ++start;
    }
    m_rest = start < path.size() ? path.c_str() + start : ".";
}

} // namespace twinfold
