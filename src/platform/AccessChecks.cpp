#include "AccessChecks.h"

#include "ErrorText.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace twinfold
{

void checkWritableDirectory(const std::string& path)
{
    struct stat status {
    };
    if (::stat(path.c_str(), &status) != 0)
        throw IoError(errno);
    if (!S_ISDIR(status.st_mode))
        throw IoError(ENOTDIR, "Not a directory");
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        throw IoError(errno);
}

} // namespace twinfold
