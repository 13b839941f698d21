#include "ConsoleServices.h"

#include "OutputWatch.h"

#include "engine/DirectoryFailure.h"
#include "engine/SyncBox.h"
#include "platform/EscapedName.h"
#include "platform/PathRules.h"
#include "platform/Terminal.h"
#include "platform/Termination.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>

namespace twinfold::cli
{

namespace
{

int terminalWidth()
{
    const auto columns = standardErrorColumns();
    return columns && *columns > 10 ? *columns : 80;
}

std::string humanRate(double perSecond)
{
    const char* units[] = {"B/s", "KB/s", "MB/s", "GB/s"};
    int unit = 0;
    while (perSecond >= 1024 && unit < 3) {
        perSecond /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", perSecond, units[unit]);
    return text;
}

const char* actionText(DirectoryAction action)
{
    return action == DirectoryAction::Make ? "cannot make " : "cannot enter ";
}

// The general error report is shown while the failure is being handled: when it is a directory
// the run could not enter or make, the line before the designed message says which. That
// line's text after the prefix, if any.
std::optional<std::string> failedDirectory()
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return std::nullopt;
    try {
        std::rethrow_exception(current);
    } catch (const DirectoryFailure& failure) {
        return actionText(failure.action()) + escapedName(failure.path());
    } catch (...) {
    }
    return std::nullopt;
}

// In a dry run each line says that nothing was done.
std::string statusText(const std::string& status, bool dryRun)
{
    if (!dryRun)
        return status;
    if (status == "Copying")
        return "Would copy";
    if (status == "Skipping")
        return "Would skip";
    return status;
}

} // namespace

ConsoleServices::ConsoleServices(const RunOptions& options)
    : m_options(options), m_started(std::chrono::steady_clock::now())
{
    // Lines on standard output would tear the progress line on the same terminal.
    m_progress =
        options.verbosity == Verbosity::Normal && !options.itemize && standardErrorIsTerminal();
    installTerminationHandlers();
}

ConsoleServices::~ConsoleServices()
{
    if (!m_settled)
        printHeldLines(true);
    restoreTerminationHandlers();
}

void ConsoleServices::say(const std::string& line, bool warning)
{
    if (m_options.verbosity == Verbosity::Quiet) {
        m_heldLines.push_back({line, warning});
        return;
    }
    clearProgress();
    std::cerr << line << std::endl;
}

void ConsoleServices::settle(int status)
{
    printHeldLines(status != 0);
    m_settled = true;
}

void ConsoleServices::printHeldLines(bool all)
{
    for (const auto& held : m_heldLines)
        if (all || held.warning)
            std::cerr << held.line << '\n';
    std::cerr << std::flush;
    m_heldLines.clear();
}

void ConsoleServices::attach(TSyncBox& syncBox)
{
    m_syncBox = &syncBox;
    // Only what this run shows is followed: a quiet run of many files then pays nothing for
    // the per-file announcements.
    if (m_options.verbosity == Verbosity::Verbose)
        m_connections.push_back(
            syncBox.fileStatus.connect([this](const std::string& status, const std::string& path) {
                fileStatus(status, path);
            }));
    if (m_progress)
        m_connections.push_back(syncBox.passStarted.connect(
            [this](const std::string& from, const std::string&) { m_passSource = from; }));
    if (m_progress || m_options.json)
        m_connections.push_back(syncBox.fileDone.connect([this](std::int64_t bytes) {
            ++m_filesDone;
            m_bytesCopied += bytes;
        }));
    m_connections.push_back(syncBox.directoryPassedOver.connect(
        [this](const std::string& path, const std::string& reason) {
            say("twinfold-cli: passed over " + escapedName(path) + ": " + reason);
        }));
}

bool ConsoleServices::interrupted() const
{
    return twinfold::interruptSeen();
}

double ConsoleServices::elapsedSeconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
}

Answer ConsoleServices::messageBox(const Window*, MessageForm form, const std::string&,
                                   const std::string& text)
{
    if (m_cancelConfirmed && form == MessageForm::Confirmation)
        return Answer::Yes;
    if (form == MessageForm::Error) {
        if (const auto directory = failedDirectory()) {
            say("twinfold-cli: " + *directory);
            // The line naming the directory says where the failure was; the report's own second
            // line, which names the same path unescaped, is left out.
            const std::string designed = text.substr(0, text.find('\n'));
            m_lastError = *directory + ": " + designed;
            say(designed);
        } else {
            m_lastError = text;
            say(text);
        }
    } else if (form == MessageForm::Notice || form == MessageForm::Remark) {
        // A notice is the program's own word, not a designed message: it says whose it is. It
        // warns of what the run could not do well (a destination's clock, a full volume), so even
        // a quiet run that succeeds prints it.
        say("twinfold-cli: " + text, form == MessageForm::Notice);
    } else {
        say(text);
    }
    if (form == MessageForm::Confirmation || form == MessageForm::Warning)
        return m_options.answerYes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

std::optional<std::string> ConsoleServices::inputBox(const std::string&, const std::string&,
                                                     const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> ConsoleServices::openFileDialog(const FileDialogOptions&)
{
    return std::nullopt;
}

std::optional<std::string> ConsoleServices::saveFileDialog(const FileDialogOptions&)
{
    return std::nullopt;
}

void ConsoleServices::processPendingEvents()
{
    throwIfTerminated();
    if (m_syncBox && takeInterruptRequest()) {
        // Ctrl+C is Cancel already confirmed.
        m_cancelConfirmed = true;
        m_syncBox->requestCancel();
        m_cancelConfirmed = false;
    }
    if (m_progress)
        drawProgress();
}

void ConsoleServices::fileStatus(const std::string& status, const std::string& path)
{
    if (m_options.verbosity != Verbosity::Verbose)
        return;
    // Escaped so that a name holding a line break stays one line for the scripts reading it.
    fileLines(m_options) << statusText(status, m_options.dryRun) << ' ' << escapedName(path)
                         << std::endl; // followed live
}

void ConsoleServices::drawProgress()
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_syncBox || now - m_lastDraw < std::chrono::milliseconds(100))
        return;
    m_lastDraw = now;
    const double seconds = std::max(1e-3, std::chrono::duration<double>(now - m_started).count());
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, " %3d%%  %.0f files/s  ", m_syncBox->Gauge.percentDone(),
                  static_cast<double>(m_filesDone) / seconds);
    // The name is read when the line is drawn, at most ten times a second, not at every file.
    std::string line = (m_options.dryRun ? "(dry run) " : "") + m_passSource + "  " +
                       m_syncBox->FileName.text() + numbers +
                       humanRate(static_cast<double>(m_bytesCopied) / seconds);
    const auto width = static_cast<std::size_t>(terminalWidth() - 1);
    if (line.size() > width)
        line = "..." + line.substr(line.size() - width + 3);
    std::cerr << '\r' << line << "\x1b[K" << std::flush;
    m_lineShown = true;
}

void ConsoleServices::clearProgress()
{
    if (!m_lineShown)
        return;
    std::cerr << "\r\x1b[K" << std::flush;
    m_lineShown = false;
}

void ConsoleServices::finish()
{
    clearProgress();
}

} // namespace twinfold::cli
