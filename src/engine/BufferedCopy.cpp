#include "BufferedCopy.h"

#include "NewerThan.h"
#include "TemporaryFile.h"
#include "platform/DirectoryEntries.h"
#include "platform/ErrorText.h"
#include "platform/FileHandle.h"
#include "platform/FileServices.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Termination.h"
#include "platform/Windowing.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace twinfold
{

namespace
{

constexpr std::size_t KernelCopyRequest = 1u << 20;
constexpr unsigned PermissionBits = 0777;
constexpr unsigned OwnerWrite = 0200;
constexpr unsigned StickyBit = 01000;

// A file without owner write permission is protected, also against root; an entry that is not
// a regular file or a link cannot be replaced by a file.
bool replaceable(const FileStatus& destination)
{
    if (destination.symlink)
        return true; // the link itself is replaced, never written through
    return destination.regular && destination.ownerWritable;
}

bool sameContentState(const FileStatus& before, const FileStatus& after)
{
    return before.size == after.size && before.mtimeSeconds == after.mtimeSeconds &&
           before.mtimeNanoseconds == after.mtimeNanoseconds &&
           before.ctimeSeconds == after.ctimeSeconds &&
           before.ctimeNanoseconds == after.ctimeNanoseconds;
}

bool changed(const std::optional<FileStatus>& initial, const FileStatus& now)
{
    return !initial || initial->inode != now.inode || initial->device != now.device ||
           initial->mtimeSeconds != now.mtimeSeconds ||
           initial->mtimeNanoseconds != now.mtimeNanoseconds ||
           initial->ctimeSeconds != now.ctimeSeconds ||
           initial->ctimeNanoseconds != now.ctimeNanoseconds;
}

std::string pathOf(const CopyDirectory& dir, const std::string& name)
{
    return dir.path.empty() ? name : joinPath(dir.path, name);
}

} // namespace

std::string CopyDirectory::entry(const std::string& name) const
{
    if (fd == currentDirectoryFd())
        return pathOf(*this, name);
    return prefix.empty() ? name : joinPath(prefix, name);
}

namespace
{

enum class Transfer { Complete, Failed, SourceChanged, Abandoned };

class Copier
{
public:
    // The request outlives the copier.
    Copier(WindowingServices* services, const CopyDirectory& sourceDir,
           const CopyDirectory& destDir, std::string sourceName, std::string destName,
           const CopyRequest& request)
        : m_services(services), m_sourceDir(sourceDir), m_destDir(destDir),
          m_sourceName(std::move(sourceName)), m_destName(std::move(destName)),
          m_source(pathOf(sourceDir, m_sourceName)), m_destFile(pathOf(destDir, m_destName)),
          m_quiet(request.quiet), m_bufferSize(effectiveBufferSize(request.copyBuffer)),
          m_durable(request.durable),
          m_destinationSeen(request.destinationKnown ? &request.destination : nullptr),
          m_watcher(request.watcher)
    {
    }

    const std::string& failure() const { return m_failure; }
    int destinationError() const { return m_destinationError; }

    CopyOutcome run()
    {
        CopyOutcome outcome = attempt();
        // The copy was sound, only its file is gone: made once more.
        if (m_temporaryLost) {
            m_temporaryLost = false;
            m_madeAgain = true;
            outcome = attempt();
        }
        return outcome;
    }

    // Everything of a copy but taking the destination's place, for a copy made ahead of its
    // turn: nothing is said or shown, and a copy that does not come about is simply not there
    // (its turn makes it as it would have without a copy ahead, failure and all). mayHold is
    // asked with the source's size once it is open.
    std::optional<PreparedCopy> prepare(const std::function<bool(std::int64_t)>& mayHold)
    {
        PreparedCopy prepared;
        FileHandle input = FileHandle::openForReadingAt(
            m_sourceDir.fd, m_sourceDir.entry(m_sourceName), prepared.source);
        // A file whose size reads as 0 may be a pseudo file of any length.
        if (!input.isOpen() || !prepared.source.regular || prepared.source.size <= 0 ||
            !mayHold(prepared.source.size))
            return std::nullopt;
        prepared.held = prepared.source.size;
        prepared.output = std::make_unique<TemporaryFile>(
            m_destDir.fd, (prepared.source.mode & PermissionBits) | OwnerWrite);
        if (!prepared.output->isOpen() || !made(input, prepared))
            prepared.output.reset();
        return prepared;
    }

    // Installs a copy made ahead, at its turn: the destination as the caller judged it just
    // now decides, as for a copy made there and then.
    CopyOutcome installPrepared(PreparedCopy& prepared)
    {
        std::optional<FileStatus> initial;
        if (!mayReplace(initial))
            return {};
        throwIfTerminated();
        CopyOutcome outcome = install(*prepared.output, initial, prepared.source, prepared.bytes);
        if (outcome.copied)
            checkTimeKept(prepared.time, outcome);
        prepared.output.reset();
        // The copy was sound, only its file is gone: made once more, here.
        if (m_temporaryLost) {
            m_temporaryLost = false;
            m_madeAgain = true;
            outcome = attempt();
        }
        return outcome;
    }

private:
    // The transfer and the checks of a copy made ahead; false where it did not come about.
    bool made(FileHandle& input, PreparedCopy& prepared)
    {
        FileHandle& output = prepared.output->file();
        if (transfer(input, output, prepared.source.size, prepared.bytes) != Transfer::Complete)
            return false;
        const auto after = input.status();
        if (!after || !sameContentState(prepared.source, *after) || !output.flush().ok())
            return false;
        prepared.time = roundDownToTwoSeconds(prepared.source.mtimeSeconds);
        return output.setTimes(prepared.source.atimeSeconds, prepared.time).ok() &&
               (!m_durable || output.sync().ok());
    }

    CopyOutcome attempt()
    {
        FileStatus before;
        FileHandle input =
            FileHandle::openForReadingAt(m_sourceDir.fd, m_sourceDir.entry(m_sourceName), before);
        if (!input.isOpen()) {
            say("Could not open file: " + m_source + ".  File not copied!");
            return {};
        }
        std::optional<FileStatus> initial;
        if (!mayReplace(initial))
            return {};
        // A copy never grants more than the source does; the owner's write permission is the
        // one exception, since a protected destination would never be updated again.
        TemporaryFile output(m_destDir.fd, (before.mode & PermissionBits) | OwnerWrite);
        if (!output.isOpen()) {
            sayCannotCreate(output.error());
            return {};
        }
        std::int64_t bytes = 0;
        const Transfer transferred = transfer(input, output.file(), before.size, bytes);
        if (transferred == Transfer::Failed)
            return {};
        if (transferred == Transfer::Abandoned)
            return CopyOutcome::abandonedCopy();
        const auto after = input.status();
        if (transferred == Transfer::SourceChanged || !after || !sameContentState(before, *after)) {
            say("Source file changed during copy: " + m_source + ".  File not copied!");
            return {};
        }
        // A late write error (a network file system reports it at the close) must come while a
        // replaced destination still stands.
        if (const auto flushed = output.file().flush(); !flushed.ok()) {
            sayWithReason("Could not close destination file: ", flushed.error);
            return {};
        }
        const std::int64_t time = roundDownToTwoSeconds(before.mtimeSeconds);
        if (const auto timed = output.file().setTimes(before.atimeSeconds, time); !timed.ok()) {
            sayWithReason("Could not set the time of destination file: ", timed.error);
            return {};
        }
        if (const auto synced = m_durable ? output.file().sync() : succeeded(); !synced.ok()) {
            sayWriteError(synced.error);
            return {};
        }
        CopyOutcome outcome = install(output, initial, before, bytes);
        if (outcome.copied)
            checkTimeKept(time, outcome);
        return outcome;
    }

    // The destination as the caller judged it (initial), to tell later whether it changed
    // meanwhile; false, said, where what stands there may not be replaced.
    bool mayReplace(std::optional<FileStatus>& initial)
    {
        initial = m_destinationSeen ? *m_destinationSeen
                                    : statusAt(m_destDir.fd, m_destDir.entry(m_destName), false);
        if (initial && !replaceable(*initial)) {
            sayCannotCreate();
            return false;
        }
        return true;
    }

    // Some file systems keep another time than the one set, or none at all (a driver that
    // ignores the request, a share that stamps the file when it is closed). Looked at as the
    // next run will look at it, once the copy stands under its name.
    void checkTimeKept(std::int64_t time, CopyOutcome& outcome) const
    {
        const auto kept = statusAt(m_destDir.fd, m_destDir.entry(m_destName), false);
        if (kept && !inStep(kept->mtimeSeconds, time)) {
            outcome.timeSet = time;
            outcome.timeKept = kept->mtimeSeconds;
        }
    }

    CopyOutcome install(TemporaryFile& output, const std::optional<FileStatus>& initial,
                        const FileStatus& source, std::int64_t bytes)
    {
        throwIfTerminated();
        // A name found free is taken without looking again: the install refuses to replace
        // whatever came there meanwhile, which is then judged as it is now. A name found taken
        // is judged first.
        const auto named = initial ? failedWith(nameTakenError()) : output.installNew(m_destName);
        if (!named.ok()) {
            if (!isNameTaken(named.error)) {
                if (!lostOnce(output, named.error))
                    sayWithReason("Could not name destination file: ", named.error);
                return {};
            }
            // Something stands under the name: the destination as it is now decides.
            const auto destination = statusAt(m_destDir.fd, m_destDir.entry(m_destName), false);
            if (destination) {
                if (!replaceable(*destination)) {
                    sayCannotCreate();
                    return {};
                }
                // Written by another program while the copy was made: the newer-than rule
                // decides again, as if the run had found it so.
                if (changed(initial, *destination) && !sourceIsNewer(source, destination))
                    return CopyOutcome::keptDestination();
                if (destination->regular) {
                    if (const auto kept = keepAccessOf(output.file(), *destination); !kept.ok()) {
                        sayWithReason("Could not set the permissions of destination file: ",
                                      kept.error);
                        return {};
                    }
                }
            }
            if (const auto replaced = output.replace(m_destName); !replaced.ok()) {
                if (!lostOnce(output, replaced.error))
                    sayWithReason("Could not replace destination file: ", replaced.error);
                return {};
            }
        }
        output.closeInstalled();
        if (const auto synced = m_durable ? syncDirectory() : succeeded(); !synced.ok()) {
            sayWithReason("Could not sync the directory of destination file: ", synced.error);
            return {};
        }
        return CopyOutcome::copiedWith(bytes);
    }

    // Another run's clean-up took the temporary for a leftover before it was locked. Told only
    // when it happens to the copy made again as well.
    bool lostOnce(const TemporaryFile& output, int error)
    {
        if (m_madeAgain || !output.lostItsName(error))
            return false;
        m_temporaryLost = true;
        return true;
    }

    // A replacement is what overwriting the file in place would leave: its permission bits,
    // and its owner and group where the process may set them. Set-user-ID and set-group-ID are
    // dropped, as a write into the file would drop them. Bits that cannot be set fail the copy:
    // the replacement has the source's, which may let more people read it.
    static IoResult<bool> keepAccessOf(FileHandle& file, const FileStatus& destination)
    {
        // Looked at first: the copy mostly has them already, and each change is a round trip.
        const auto copy = file.status();
        const bool sameOwner =
            copy && copy->owner == destination.owner && copy->group == destination.group;
        // Refused unless the process may give files away, which fails no copy.
        if (!sameOwner)
            static_cast<void>(file.setOwner(destination.owner, destination.group));
        const unsigned mode = destination.mode & (PermissionBits | StickyBit);
        if (sameOwner && copy->mode == mode)
            return succeeded();
        return file.setMode(mode);
    }

    IoResult<bool> syncDirectory()
    {
        const auto opened = fileServices().openDirectory(m_destDir.fd, ".", true);
        FileHandle dir(opened.value);
        if (!opened.ok())
            return failedWith(opened.error);
        return dir.sync();
    }

    Transfer transfer(FileHandle& input, FileHandle& output, std::int64_t size, std::int64_t& bytes)
    {
        // Where the kernel can copy between the two files itself, the bytes never pass through
        // this process, which is several times faster than any buffer. It stops at the first
        // refusal (another kind of file system, a pseudo file whose size reads as 0, or any
        // error), and the buffered loop takes over from the same position: it copies what is
        // left and reports a real failure on the side where it happens. Neither goes beyond the
        // size seen at the open: a source that grows meanwhile is not chased, and counts as
        // changed.
        const std::size_t request = std::max(m_bufferSize, KernelCopyRequest);
        while (bytes < size) {
            const std::int64_t n =
                input.copyRangeTo(output, static_cast<std::size_t>(std::min<std::int64_t>(
                                              static_cast<std::int64_t>(request), size - bytes)));
            throwIfTerminated();
            if (n <= 0)
                break;
            bytes += n;
            if (!watched(bytes, size))
                return Transfer::Abandoned;
        }
        if (bytes == size && size > 0)
            return Transfer::Complete;
        return bufferedTransfer(input, output, size, bytes);
    }

    // size 0 is read to its end: pseudo files have contents though their size reads as 0. A
    // real file that grows from 0 meanwhile is noticed after each buffer.
    Transfer bufferedTransfer(FileHandle& input, FileHandle& output, std::int64_t size,
                              std::int64_t& bytes)
    {
        // One buffer a file, released when the copy ends whatever happens.
        auto buffer = std::make_unique_for_overwrite<char[]>(m_bufferSize);
        for (;;) {
            std::size_t want = m_bufferSize;
            if (size > 0) {
                if (bytes >= size)
                    return Transfer::Complete;
                want = static_cast<std::size_t>(
                    std::min<std::int64_t>(static_cast<std::int64_t>(want), size - bytes));
            }
            const auto read = input.read(buffer.get(), want);
            if (!read.ok()) {
                // The file that failed is the source, so the message names it.
                say("Error reading source file: " + m_source + " (" + errorText(read.error) +
                    ").  File not copied!");
                return Transfer::Failed;
            }
            const std::int64_t n = read.value;
            if (n == 0)
                return size > 0 ? Transfer::SourceChanged : Transfer::Complete; // it shrank
            if (const auto written = output.writeAll(buffer.get(), static_cast<std::size_t>(n));
                !written.ok()) {
                sayWriteError(written.error);
                return Transfer::Failed;
            }
            bytes += n;
            throwIfTerminated();
            if (!watched(bytes, size))
                return Transfer::Abandoned;
            if (size == 0) {
                const auto now = input.status();
                if (!now || now->size != 0)
                    return Transfer::SourceChanged;
            }
        }
    }

    bool watched(std::int64_t bytes, std::int64_t size)
    {
        return m_watcher == nullptr || m_watcher->goOn(bytes, size);
    }

    void say(const std::string& text)
    {
        // A failure caused by a signal that ends the program is no failure of the copy.
        throwIfTerminated();
        m_failure = text;
        if (!m_quiet && m_services != nullptr)
            m_services->showMessage(text);
    }
    // The cause in the words of the error texts.
    void sayWithReason(const std::string& lead, int error)
    {
        say(lead + m_destFile + " (" + errorText(error) + ").  File not copied!");
        m_destinationError = error;
    }
    void sayCannotCreate(int error = 0)
    {
        say("Could not create destination file: " + m_destFile + ".  File not copied!");
        m_destinationError = error;
    }
    void sayWriteError(int error)
    {
        say("Error writing destination file: " + m_destFile +
            ".  File not copied! Possibly out of disk space.");
        m_destinationError = error;
    }

    WindowingServices* m_services;
    const CopyDirectory& m_sourceDir;
    const CopyDirectory& m_destDir;
    std::string m_sourceName;
    std::string m_destName;
    std::string m_source;
    std::string m_destFile;
    bool m_quiet;
    std::string m_failure;
    int m_destinationError = 0;
    std::size_t m_bufferSize;
    bool m_durable;
    const std::optional<FileStatus>* m_destinationSeen;
    CopyWatcher* m_watcher;
    bool m_temporaryLost = false;
    bool m_madeAgain = false;
};

// The directory part of a path, for opening; "." for a bare name.
std::string directoryPart(const std::string& path)
{
    const std::string dir = extractFilePath(path);
    return dir.empty() ? std::string(".") : dir;
}

CopyOutcome withFailure(CopyOutcome outcome, const Copier& copier)
{
    if (!outcome.copied && !outcome.destinationKept && !outcome.abandoned) {
        outcome.failure = copier.failure();
        outcome.destinationError = copier.destinationError();
    }
    return outcome;
}

} // namespace

std::size_t effectiveBufferSize(std::int32_t copyBuffer)
{
    if (copyBuffer <= 0)
        return static_cast<std::size_t>(DefaultCopyBuffer);
    return std::min(static_cast<std::size_t>(copyBuffer), static_cast<std::size_t>(MaxCopyBuffer));
}

CopyOutcome copyFileAt(WindowingServices& services, const CopyDirectory& sourceDir,
                       const CopyDirectory& destinationDir, const std::string& name,
                       const CopyRequest& request)
{
    Copier copier(&services, sourceDir, destinationDir, name, name, request);
    return withFailure(copier.run(), copier);
}

PreparedCopy::PreparedCopy() = default;
PreparedCopy::PreparedCopy(PreparedCopy&&) noexcept = default;
PreparedCopy& PreparedCopy::operator=(PreparedCopy&&) noexcept = default;
PreparedCopy::~PreparedCopy() = default;

std::optional<PreparedCopy> prepareCopyAt(const CopyDirectory& sourceDir,
                                          const CopyDirectory& destinationDir,
                                          const std::string& name, const CopyRequest& request,
                                          const std::function<bool(std::int64_t)>& mayHold)
{
    CopyRequest alone = request;
    alone.quiet = true;
    alone.watcher = nullptr;
    Copier copier(nullptr, sourceDir, destinationDir, name, name, alone);
    return copier.prepare(mayHold);
}

CopyOutcome installCopyAt(WindowingServices& services, const CopyDirectory& sourceDir,
                          const CopyDirectory& destinationDir, const std::string& name,
                          const CopyRequest& request, PreparedCopy& prepared)
{
    Copier copier(&services, sourceDir, destinationDir, name, name, request);
    return withFailure(copier.installPrepared(prepared), copier);
}

CopyOutcome BufferedCopy(WindowingServices& services, const std::string& source,
                         const std::string& destination, const CopyRequest& request)
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
    Copier copier(&services, sourceDir, destDir, extractFileName(source), extractFileName(destFile),
                  request);
    return withFailure(copier.run(), copier);
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
