#include "TemporaryFile.h"

#include "platform/DirectoryEntries.h"
#include "platform/ErrorText.h"
#include "platform/FileServices.h"

#include <cstdint>
#include <random>
#include <thread>

namespace twinfold
{

namespace
{

constexpr std::string_view Prefix = ".twinfold-";
constexpr std::string_view Suffix = ".partial";
constexpr std::size_t RandomDigits = 12;
constexpr int NameAttempts = 16;

std::string randomName()
{
    // One generator a thread: copies are made on several at once.
    thread_local std::mt19937_64 generator{
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()))};
    static constexpr char Hex[] = "0123456789abcdef";
    std::string name(Prefix);
    std::uint64_t bits = generator();
    for (std::size_t i = 0; i < RandomDigits; ++i, bits >>= 4)
        name += Hex[bits & 0xF];
    name += Suffix;
    return name;
}

} // namespace

TemporaryFile::TemporaryFile(int dirFd, unsigned mode, bool unnamedAllowed) : m_dirFd(dirFd)
{
    if (unnamedAllowed) {
        const auto unnamed = fileServices().createUnnamed(dirFd, mode);
        m_file = FileHandle(unnamed.value);
        m_error = unnamed.error;
        if (unnamed.ok() || !isUnnamedUnsupported(unnamed.error))
            return;
    }
    m_error = createNamed(mode).error;
}

TemporaryFile::~TemporaryFile()
{
    if (m_installedName.empty() && !m_name.empty()) {
        // Closed first, which also releases the lock: some drivers cannot remove an open file
        // cleanly (ntfs-3g then refuses every new file of the directory until it is mounted
        // again). A clean-up of another run that takes the unlocked file meanwhile removes
        // what this one would. The copy has failed already: how its close went changes nothing.
        static_cast<void>(m_file.close());
        static_cast<void>(fileServices().remove(m_dirFd, m_name));
    }
}

IoResult<bool> TemporaryFile::createNamed(unsigned mode)
{
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string candidate = randomName();
        const auto created = fileServices().createExclusive(m_dirFd, candidate, mode);
        FileHandle file(created.value);
        if (!created.ok()) {
            if (isNameTaken(created.error))
                continue;
            return failedWith(created.error);
        }
        // Between the creation and the lock another run's clean-up may take the file for a
        // leftover. Once locked it is safe, and it is still ours exactly when it still has its
        // name: the install, which needs the name, finds out (see lostItsName), so that no
        // round trip is spent on looking it up now.
        if (const auto locked = fileServices().lock(file.fd(), true); !locked.ok()) {
            static_cast<void>(file.close());
            static_cast<void>(fileServices().remove(m_dirFd, candidate));
            return locked;
        }
        m_file = std::move(file);
        m_name = std::move(candidate);
        m_namedBeforeLocked = true;
        return succeeded();
    }
    return failedWith(nameTakenError());
}

IoResult<bool> TemporaryFile::giveTemporaryName()
{
    auto locked = fileServices().lock(m_file.fd(), false);
    if (!locked.ok())
        return locked;
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string candidate = randomName();
        auto linked = fileServices().link(m_file.fd(), m_dirFd, candidate);
        if (linked.ok()) {
            m_name = std::move(candidate);
            return linked;
        }
        if (!isNameTaken(linked.error))
            return linked;
    }
    return failedWith(nameTakenError());
}

IoResult<bool> TemporaryFile::installNew(const std::string& destinationName)
{
    auto installed = unnamed() ? fileServices().link(m_file.fd(), m_dirFd, destinationName)
                               : fileServices().renameNew(m_dirFd, m_name, destinationName);
    if (installed.ok()) {
        m_installedName = destinationName;
        return installed;
    }
    // Where nothing can be named without replacing, the caller looks before it replaces.
    if (!unnamed() && isNoReplaceUnsupported(installed.error))
        return failedWith(nameTakenError());
    return installed;
}

bool TemporaryFile::lostItsName(int installError) const
{
    return m_namedBeforeLocked && m_installedName.empty() && isNotFound(installError);
}

IoResult<bool> TemporaryFile::replace(const std::string& destinationName)
{
    if (unnamed()) {
        auto named = giveTemporaryName();
        if (!named.ok())
            return named;
    }
    auto renamed = fileServices().rename(m_dirFd, m_name, destinationName);
    if (renamed.ok())
        m_installedName = destinationName;
    return renamed;
}

void TemporaryFile::closeInstalled()
{
    // The late write errors were taken by the flush before the file got its name.
    static_cast<void>(m_file.close());
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
    removeLeftoverTemporaries(dir.fd(), findLeftoverTemporaries(dir.fd()));
}

std::vector<std::string> findLeftoverTemporaries(int dirFd)
{
    std::vector<std::string> names;
    // Clearing leftovers is a courtesy: a directory that cannot be listed is left as it is.
    static_cast<void>(fileServices().listNames(
        dirFd,
        [&names](const char* name, bool mayBeRegular) {
            if (mayBeRegular && isTemporaryName(name))
                names.emplace_back(name);
        },
        /*glance=*/true));
    return names;
}

void removeLeftoverTemporaries(int dirFd, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        // Opened only when it is a regular file, so nothing here can block.
        FileHandle file = FileHandle::openForReadingAt(dirFd, name);
        if (!file.isOpen())
            continue;
        if (!fileServices().lock(file.fd(), false))
            continue; // a copy in progress in another process
        // An open file is never removed (see ~TemporaryFile). Once unlocked, though, the file
        // could be taken for its own by a run that has just made it under that name and not
        // yet locked it: so while the lock holds it moves to a fresh name of the same form (a
        // run that made the file finds its name gone and makes another), and only then is it
        // closed and removed.
        const std::string doomed = randomName();
        if (!fileServices().rename(dirFd, name, doomed).ok())
            continue;
        // Best effort: what is left is removed by the next run over the directory.
        static_cast<void>(file.close());
        static_cast<void>(fileServices().remove(dirFd, doomed));
    }
}

} // namespace twinfold
