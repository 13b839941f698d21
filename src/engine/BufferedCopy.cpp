#include "BufferedCopy.h"

#include "TemporaryFile.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"

#include <algorithm>
#include <cerrno>
#include <memory>

namespace twinfold
{

namespace
{

constexpr std::size_t MaxBufferSize = 64u << 20;
constexpr std::size_t KernelCopyRequest = 1u << 20;

std::string destinationFileFor(const std::string& source, const std::string& destination)
{
    const std::string expanded = expandFileName(destination);
    const int attr = fileGetAttr(expanded);
    // A path whose attributes cannot be read counts as a directory.
    if (attr == -1 || (attr & faDirectory) != 0)
        return joinPath(expanded, extractFileName(source));
    return expanded;
}

// A file without owner write permission is protected, also against root; an entry that is not
// a regular file or a link cannot be replaced by a file.
bool destinationReplaceable(const std::string& destFile)
{
    const auto st = statusOf(destFile, false);
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

class Copier
{
public:
    Copier(WindowingServices& services, std::string source, std::string destFile, bool quiet,
           std::size_t bufferSize)
        : m_services(services), m_source(std::move(source)), m_destFile(std::move(destFile)),
          m_quiet(quiet), m_bufferSize(bufferSize)
    {
    }

    CopyOutcome run()
    {
        FileHandle input = FileHandle::openForReading(m_source);
        const auto before = input.isOpen() ? input.status() : std::nullopt;
        if (!before) {
            say("Could not open file: " + m_source + ".  File not copied!");
            return {};
        }
        if (!destinationReplaceable(m_destFile)) {
            sayCannotCreate();
            return {};
        }
        TemporaryFile output(extractFilePath(m_destFile));
        if (!output.isOpen()) {
            sayCannotCreate();
            return {};
        }
        std::int64_t bytes = 0;
        if (!transfer(input, output.file(), bytes))
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
        if (!output.install(m_destFile)) {
            if (errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST)
                sayCannotCreate();
            else
                sayWriteError();
            return {};
        }
        return {true, bytes};
    }

private:
    bool transfer(FileHandle& input, FileHandle& output, std::int64_t& bytes)
    {
        // Where the kernel can copy between the two files itself, the bytes never pass through
        // this process, which is several times faster than any buffer. It stops at the first
        // refusal (another kind of file system, a pseudo file whose size reads as 0, or any
        // error), and the buffered loop takes over from the same position: it copies what is
        // left and reports a real failure on the side where it happens.
        const std::size_t request = std::max(m_bufferSize, KernelCopyRequest);
        for (;;) {
            const std::int64_t n = input.copyRangeTo(output, request);
            if (n <= 0)
                break;
            bytes += n;
        }
        return bufferedTransfer(input, output, bytes);
    }

    bool bufferedTransfer(FileHandle& input, FileHandle& output, std::int64_t& bytes)
    {
        // After a kernel copy to the end this read finds nothing, and no full buffer is ever
        // allocated for it.
        char probe[512];
        std::int64_t n = input.read(probe, sizeof probe);
        if (n < 0) {
            say("Error reading source file: " + m_source + ".  File not copied!");
            return false;
        }
        if (n == 0)
            return true;
        if (!output.writeAll(probe, static_cast<std::size_t>(n))) {
            sayWriteError();
            return false;
        }
        bytes += n;
        // One buffer a file, released when the copy ends whatever happens.
        auto buffer = std::make_unique_for_overwrite<char[]>(m_bufferSize);
        for (;;) {
            n = input.read(buffer.get(), m_bufferSize);
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
    std::string m_source;
    std::string m_destFile;
    bool m_quiet;
    std::size_t m_bufferSize;
};

} // namespace

std::size_t effectiveBufferSize(std::int32_t copyBuffer)
{
    if (copyBuffer <= 0)
        return static_cast<std::size_t>(DefaultCopyBuffer);
    return std::min(static_cast<std::size_t>(copyBuffer), MaxBufferSize);
}

CopyOutcome copyFile(WindowingServices& services, const std::string& source,
                     const std::string& destination, bool quiet, std::int32_t copyBuffer)
{
    Copier copier(services, source, destinationFileFor(source, destination), quiet,
                  effectiveBufferSize(copyBuffer));
    return copier.run();
}

CopyOutcome copyFileTo(WindowingServices& services, const std::string& source,
                       const std::string& destinationFile, bool quiet, std::int32_t copyBuffer)
{
    Copier copier(services, source, destinationFile, quiet, effectiveBufferSize(copyBuffer));
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
