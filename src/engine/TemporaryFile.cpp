#include "TemporaryFile.h"

#include "platform/DirectoryEntries.h"
#include "platform/DirectoryStream.h"
#include "platform/PathRules.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace twinfold
{

namespace
{

constexpr std::string_view Prefix = ".twinfold-";
constexpr std::string_view Suffix = ".partial";
constexpr std::size_t RandomDigits = 12;

std::string randomName()
{
    static std::mt19937_64 generator{std::random_device{}() ^
                                     (static_cast<std::uint64_t>(::getpid()) << 32)};
    static constexpr char Hex[] = "0123456789abcdef";
    std::string name(Prefix);
    std::uint64_t bits = generator();
    for (std::size_t i = 0; i < RandomDigits; ++i, bits >>= 4)
        name += Hex[bits & 0xF];
    name += Suffix;
    return name;
}

} // namespace

TemporaryFile::TemporaryFile(int dirFd) : m_dirFd(dirFd)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string candidate = randomName();
        // New files get ordinary permissions, as any file the user creates.
        FileHandle file(::openat(dirFd, candidate.c_str(),
                                 O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (file.isOpen()) {
            ::flock(file.fd(), LOCK_EX | LOCK_NB);
            m_file = std::move(file);
            m_name = std::move(candidate);
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

TemporaryFile::~TemporaryFile()
{
    if (!m_installed && !m_name.empty())
        ::unlinkat(m_dirFd, m_name.c_str(), 0);
}

bool TemporaryFile::install(const std::string& destinationName)
{
    if (!m_file.close())
        return false;
    if (::renameat(m_dirFd, m_name.c_str(), m_dirFd, destinationName.c_str()) != 0)
        return false;
    m_installed = true;
    return true;
}

bool isTemporaryName(std::string_view name)
{
    if (name.size() != Prefix.size() + RandomDigits + Suffix.size() || !name.starts_with(Prefix) ||
        !name.ends_with(Suffix))
        return false;
    for (const char c : name.substr(Prefix.size(), RandomDigits)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

void removeLeftoverTemporaries(const std::string& dir)
{
    const FileHandle handle = openDirectory(dir);
    if (handle.isOpen())
        removeLeftoverTemporaries(handle);
}

void removeLeftoverTemporaries(const FileHandle& dir)
{
    const int dirFd = dir.fd();
    forEachDirectoryEntry(
        dirFd,
        [dirFd](const char* name, unsigned char) {
            if (!isTemporaryName(name))
                return;
            FileHandle file(
                ::openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
            if (!file.isOpen())
                return;
            const auto st = file.status();
            if (!st || !st->regular)
                return;
            if (::flock(file.fd(), LOCK_EX | LOCK_NB) != 0)
                return; // a copy in progress in another process
            ::unlinkat(dirFd, name, 0);
        },
        /*glance=*/true);
}

} // namespace twinfold
