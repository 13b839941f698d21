#pragma once

#include "controls/Controls.h"
#include "engine/FileResult.h"
#include "platform/Signal.h"
#include "platform/Window.h"

#include <cstdint>
#include <string>

namespace twinfold
{

class WindowingServices;

// How a run ended: every file gone through, stopped by a confirmed Cancel, or abandoned by a
// failure that escaped it.
enum class RunEnd { Completed, Cancelled, Abandoned };

// The progress window "Twinfolding...": what a run is doing, and the only way to stop it.
// ModalResult is the cancel state of a run: 1 while it may go on, 2 once the user confirmed
// Cancel. The engine sets it to 1 at its polls and reads it after processing pending events.
// Front ends follow a run through the signals below rather than through the labels.
class TSyncBox : public Window
{
public:
    static constexpr int mrRun = 1;
    static constexpr int mrCancel = 2;

    explicit TSyncBox(WindowingServices& services);

    Label SyncDirFrom;
    Label SyncDirTo;
    Label FileName;
    Label Process;
    twinfold::Gauge Gauge;
    int ModalResult = mrRun;

    // Takes the input focus back after every file; the front end raises the window.
    void SetFocus();
    Signal<> focusRequested;

    // The Cancel button (mouse, Enter, Space or Escape).
    void CancelClick();
    // A cancel request from any front end: the Cancel button's question and result.
    void requestCancel() { CancelClick(); }

    // The close box. During a run it asks the Cancel question, as the Cancel button does, so
    // the window never disappears while the run goes on; outside a run it just closes.
    void closeBoxClicked();

    // Whether a run is in progress; the engine sets it for the length of a run.
    bool running = false;

    // The run protocol, announced by the engine.
    Signal<> runStarted;
    Signal<const std::string&, const std::string&> passStarted; // from, to
    // "Copying" or "Skipping", and the source path.
    Signal<const std::string&, const std::string&> fileStatus;
    Signal<std::int64_t> fileDone; // the bytes copied for the file
    Signal<RunEnd> runFinished;
    // A directory the run could not enter or make, logged as failed and left out with its
    // subtree (the keep-going choice): its path and the reason.
    Signal<const std::string&, const std::string&> directoryPassedOver;
    // Each file's outcome and why, once the run is done with it.
    Signal<const FileResult&> fileResult;
    // A directory the run made (a dry run: would make), by its full path, each level of a
    // missing tree on its own.
    Signal<const std::string&> directoryMade;

    // How far the copy of the current file is: copied of size bytes (size 0: not known). Set at
    // the polls of a copy long enough to reach one, and back to 0 of 0 when it ends; a run of
    // small files never changes it.
    std::int64_t fileCopied() const { return m_fileCopied; }
    std::int64_t fileSize() const { return m_fileSize; }
    void setFileProgress(std::int64_t copied, std::int64_t size);
    Signal<std::int64_t, std::int64_t> fileProgress; // copied, size

    // Sets the status label and announces the file.
    void setFileStatus(const std::string& status, const std::string& sourcePath);
    // Sets the direction labels and announces the pass.
    void startPass(const std::string& from, const std::string& to);

private:
    WindowingServices& m_services;
    std::int64_t m_fileCopied = 0;
    std::int64_t m_fileSize = 0;
};

} // namespace twinfold
