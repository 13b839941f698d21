#include "AccessChecks.h"

#include "AnchoredPath.h"
#include "ErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinfold
{

void checkWritableDirectory(const std::string& path)
{
    struct stat status {
    };
    const AnchoredPath at(AT_FDCWD, path);
    if (!at.ok())
        throw IoError(at.error()).about(path);
    if (::fstatat(at.fd(), at.rest(), &status, 0) != 0)
        throw IoError(errno).about(path);
    if (!S_ISDIR(status.st_mode))
        throw IoError(ENOTDIR, "Not a directory").about(path);
    if (::faccessat(at.fd(), at.rest(), W_OK | X_OK, 0) != 0)
        throw IoError(errno).about(path);
}

} // namespace twinfold
