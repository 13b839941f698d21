#include "BufferedCopy.h"

#include "TemporaryFile.h"
#include "platform/DirectoryEntries.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>

namespace twinfold
{

namespace
{

constexpr std::size_t MaxBufferSize = 64u << 20;
constexpr std::size_t KernelCopyRequest = 1u << 20;

// A file without owner write permission is protected, also against root; an entry that is not
// a regular file or a link cannot be replaced by a file.
bool destinationReplaceable(int dirFd, const std::string& name)
{
    const auto st = statusAt(dirFd, name, false);
    if (!st)
        return true;
    if (st->symlink)
        return true; // the link itself is replaced, never written through
    return st->regular && st->ownerWritable;
}

bool sameContentState(const FileStatus& before, const FileStatus& after)
{
    return before.size == after.size && before.mtimeSeconds == after.mtimeSeconds &&
           before.mtimeNanoseconds == after.mtimeNanoseconds;
}

std::string pathOf(const CopyDirectory& dir, const std::string& name)
{
    return dir.path.empty() ? name : joinPath(dir.path, name);
}

} // namespace

std::string CopyDirectory::entry(const std::string& name) const
{
    if (fd == AT_FDCWD)
        return pathOf(*this, name);
    return prefix.empty() ? name : joinPath(prefix, name);
}

namespace
{

class Copier
{
public:
    Copier(WindowingServices& services, const CopyDirectory& sourceDir,
           const CopyDirectory& destDir, std::string sourceName, std::string destName, bool quiet,
           std::size_t bufferSize)
        : m_services(services), m_sourceDir(sourceDir), m_destDir(destDir),
          m_sourceName(std::move(sourceName)), m_destName(std::move(destName)),
          m_source(pathOf(sourceDir, m_sourceName)), m_destFile(pathOf(destDir, m_destName)),
          m_quiet(quiet), m_bufferSize(bufferSize)
    {
    }

    CopyOutcome run()
    {
        FileHandle input =
            FileHandle::openForReadingAt(m_sourceDir.fd, m_sourceDir.entry(m_sourceName));
        const auto before = input.isOpen() ? input.status() : std::nullopt;
        if (!before) {
            say("Could not open file: " + m_source + ".  File not copied!");
            return {};
        }
        if (!destinationReplaceable(m_destDir.fd, m_destDir.entry(m_destName))) {
            sayCannotCreate();
            return {};
        }
        TemporaryFile output(m_destDir.fd);
        if (!output.isOpen()) {
            sayCannotCreate();
            return {};
        }
        std::int64_t bytes = 0;
        if (!transfer(input, output.file(), before->size, bytes))
            return {};
        const auto after = input.status();
        if (!after || !sameContentState(*before, *after)) {
            say("Source file changed during copy: " + m_source + ".  File not copied!");
            return {};
        }
        if (!output.file().setModificationTime(roundDownToTwoSeconds(before->mtimeSeconds))) {
            sayWriteError();
            return {};
        }
        if (!output.install(m_destName)) {
            if (errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST)
                sayCannotCreate();
            else
                sayWriteError();
            return {};
        }
        return {true, bytes};
    }

private:
    bool transfer(FileHandle& input, FileHandle& output, std::int64_t size, std::int64_t& bytes)
    {
        // Where the kernel can copy between the two files itself, the bytes never pass through
        // this process, which is several times faster than any buffer. It stops at the first
        // refusal (another kind of file system, a pseudo file whose size reads as 0, or any
        // error), and the buffered loop takes over from the same position: it copies what is
        // left and reports a real failure on the side where it happens. A file that grows
        // meanwhile is caught by the check of its size after the copy.
        const std::size_t request = std::max(m_bufferSize, KernelCopyRequest);
        while (bytes < size) {
            const std::int64_t n = input.copyRangeTo(output, request);
            if (n <= 0)
                break;
            bytes += n;
        }
        if (bytes == size && size > 0)
            return true;
        return bufferedTransfer(input, output, bytes);
    }

    bool bufferedTransfer(FileHandle& input, FileHandle& output, std::int64_t& bytes)
    {
        // One buffer a file, released when the copy ends whatever happens.
        auto buffer = std::make_unique_for_overwrite<char[]>(m_bufferSize);
        for (;;) {
            const std::int64_t n = input.read(buffer.get(), m_bufferSize);
            if (n < 0) {
                say("Error reading source file: " + m_source + ".  File not copied!");
                return false;
            }
            if (n == 0)
                return true;
            if (!output.writeAll(buffer.get(), static_cast<std::size_t>(n))) {
                sayWriteError();
                return false;
            }
            bytes += n;
        }
    }

    void say(const std::string& text)
    {
        if (!m_quiet)
            m_services.showMessage(text);
    }
    void sayCannotCreate()
    {
        say("Could not create destination file: " + m_destFile + ".  File not copied!");
    }
    void sayWriteError()
    {
        say("Error writing destination file: " + m_destFile +
            ".  File not copied! Possibly out of disk space.");
    }

    WindowingServices& m_services;
    const CopyDirectory& m_sourceDir;
    const CopyDirectory& m_destDir;
    std::string m_sourceName;
    std::string m_destName;
    std::string m_source;
    std::string m_destFile;
    bool m_quiet;
    std::size_t m_bufferSize;
};

// The directory part of a path, for opening; "." for a bare name.
std::string directoryPart(const std::string& path)
{
    const std::string dir = extractFilePath(path);
    return dir.empty() ? std::string(".") : dir;
}

} // namespace

std::size_t effectiveBufferSize(std::int32_t copyBuffer)
{
    if (copyBuffer <= 0)
        return static_cast<std::size_t>(DefaultCopyBuffer);
    return std::min(static_cast<std::size_t>(copyBuffer), MaxBufferSize);
}

CopyOutcome copyFileAt(WindowingServices& services, const CopyDirectory& sourceDir,
                       const CopyDirectory& destinationDir, const std::string& name, bool quiet,
                       std::int32_t copyBuffer)
{
    Copier copier(services, sourceDir, destinationDir, name, name, quiet,
                  effectiveBufferSize(copyBuffer));
    return copier.run();
}

CopyOutcome copyFile(WindowingServices& services, const std::string& source,
                     const std::string& destination, bool quiet, std::int32_t copyBuffer)
{
    std::string destFile = expandFileName(destination);
    const int attr = fileGetAttr(destFile);
    // A path whose attributes cannot be read counts as a directory.
    if (attr == -1 || (attr & faDirectory) != 0)
        destFile = joinPath(destFile, extractFileName(source));
    const FileHandle sourceHandle = openDirectoryBase(directoryPart(source));
    const FileHandle destHandle = openDirectoryBase(directoryPart(destFile));
    const CopyDirectory sourceDir{sourceHandle.fd(), extractFilePath(source), {}};
    const CopyDirectory destDir{destHandle.fd(), extractFilePath(destFile), {}};
    Copier copier(services, sourceDir, destDir, extractFileName(source), extractFileName(destFile),
                  quiet, effectiveBufferSize(copyBuffer));
    return copier.run();
}

bool BufferedCopy(WindowingServices& services, const std::string& source,
                  const std::string& destination, bool quiet, std::int32_t copyBuffer)
{
    return copyFile(services, source, destination, quiet, copyBuffer).copied;
}

std::int32_t FileSizeByName(const std::string& path)
{
    // A listed link stands for the file it points to.
    auto st = statusOf(path, true);
    if (!st)
        st = statusOf(path, false);
    if (!st)
        return -1;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(st->size & 0xFFFFFFFF));
}

} // namespace twinfold
