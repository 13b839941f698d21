#pragma once

#include "SyncOptions.h"
#include "platform/Signal.h"
#include "platform/Windowing.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace twinfold
{
class TSyncBox;
}

namespace twinfold::cli
{

// The console's stand-in for the user: every message box becomes one line on standard error,
// questions take the answer given on the command line, nothing waits. On a terminal, the polls
// of a run draw a one-line progress display; Ctrl+C is a confirmed Cancel at the next poll.
class ConsoleServices : public WindowingServices
{
public:
    explicit ConsoleServices(const RunOptions& options);
    ~ConsoleServices() override;
    ConsoleServices(const ConsoleServices&) = delete;
    ConsoleServices& operator=(const ConsoleServices&) = delete;

    // The progress window whose run the display follows and whose Cancel Ctrl+C presses.
    void attach(TSyncBox& syncBox);

    Answer messageBox(const Window* owner, MessageForm form, const std::string& caption,
                      const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initialText) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    void showModal(Window&) override {}
    void processPendingEvents() override;
    void setBusyCursor(bool) override {}
    void showHelpContents() override {}
    void showHelpTopic(int) override {}
    void closeHelp() override {}

    // Clears the progress line so that the summary starts on a clean line.
    void finish();

    // One line for standard error. A quiet run holds its lines until its exit status is known:
    // one that succeeds prints nothing at all but its warnings.
    void say(const std::string& line, bool warning = false);
    // The exit status is known: the held lines are printed unless it is 0. Lines still held when
    // the console goes away belong to a run that ended otherwise, and are printed then.
    void settle(int status);

    bool interrupted() const;

    // What the run did, for the result of the command.
    std::int64_t bytesCopied() const { return m_bytesCopied; }
    double elapsedSeconds() const;
    // The last error reported, with the directory it concerned; empty when there was none.
    const std::string& lastError() const { return m_lastError; }

private:
    // Prints "Copying PATH" / "Skipping PATH" in verbose mode ("Would copy", "Would skip" in a
    // dry run).
    void fileStatus(const std::string& status, const std::string& path);
    void printHeldLines(bool all);
    void drawProgress();
    void clearProgress();

    RunOptions m_options;
    TSyncBox* m_syncBox = nullptr;
    std::vector<Connection> m_connections;
    // What the progress line shows, as the run announced it.
    std::string m_passSource;
    std::string m_lastError;
    std::int64_t m_filesDone = 0;
    std::int64_t m_bytesCopied = 0;
    // Set while Ctrl+C's own Cancel question is being asked: it is answered Yes, unshown.
    bool m_cancelConfirmed = false;
    bool m_progress = false;
    bool m_lineShown = false;
    struct HeldLine {
        std::string line;
        bool warning;
    };
    std::vector<HeldLine> m_heldLines;
    bool m_settled = false;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastDraw;
};

} // namespace twinfold::cli
