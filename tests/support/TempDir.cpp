#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace twinfold::test
{

namespace
{

[[noreturn]] void fail(const std::string& what, const std::string& path)
{
    throw std::runtime_error("TempDir: " + what + " " + path + ": " + std::strerror(errno));
}

// Tests make directories read-only or unreadable; give the owner full access again so that
// the tree can be listed and emptied. Symbolic links are never followed out of the tree.
void restoreAccess(const fs::path& dir)
{
    std::error_code ignored;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::directory_iterator it(dir, ignored), end; !ignored && it != end;
         it.increment(ignored)) {
        if (it->symlink_status(ignored).type() == fs::file_type::directory)
            restoreAccess(it->path());
    }
}

} // namespace

TempDir::TempDir()
{
    std::string pattern = "/tmp/twinfold-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        fail("cannot create", pattern);
    m_path = pattern;
}

TempDir::~TempDir()
{
    restoreAccess(m_path);
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempDir::pathOf(const std::string& relativePath) const
{
    return m_path + "/" + relativePath;
}

std::string TempDir::writeFile(const std::string& relativePath, const std::string& contents,
                               std::optional<std::int64_t> mtime) const
{
    std::string full = pathOf(relativePath);
    fs::create_directories(fs::path(full).parent_path());
    {
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        if (!out.write(contents.data(), static_cast<std::streamsize>(contents.size())))
            fail("cannot write", full);
    }
    if (mtime) {
        timespec times[2]{};
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(*mtime);
        if (utimensat(AT_FDCWD, full.c_str(), times, 0) != 0)
            fail("cannot set the time of", full);
    }
    return full;
}

std::string TempDir::makeDir(const std::string& relativePath) const
{
    std::string full = pathOf(relativePath);
    std::error_code error;
    fs::create_directories(full, error);
    if (error || !fs::is_directory(full))
        throw std::runtime_error("TempDir: cannot make directory " + full);
    return full;
}

std::string TempDir::readFile(const std::string& relativePath) const
{
    const std::string full = pathOf(relativePath);
    std::ifstream in(full, std::ios::binary);
    if (!in)
        fail("cannot read", full);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

} // namespace twinfold::test
