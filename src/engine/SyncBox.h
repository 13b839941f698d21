#pragma once

#include "controls/Controls.h"

#include <cstdint>
#include <functional>
#include <string>

namespace twinfold
{

class WindowingServices;

// The progress window "Twinfolding...": what a run is doing, and the only way to stop it.
// ModalResult is the cancel state of a run: 1 while it may go on, 2 once the user confirmed
// Cancel. The engine sets it to 1 at its polls and reads it after processing pending events.
class TSyncBox
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

    bool visible() const { return m_visible; }
    void Show() { m_visible = true; }
    void Close() { m_visible = false; }
    // Takes the input focus back after every file; the front end raises the window.
    void SetFocus();
    std::function<void()> onFocus;

    // The Cancel button (mouse, Enter, Space or Escape).
    void CancelClick();

    // The close box. During a run it asks the Cancel question, as the Cancel button does, so
    // the window never disappears while the run goes on; outside a run it just closes.
    void closeBoxClicked();

    // Whether a run is in progress; the engine sets it for the length of a run.
    bool running = false;

    // Counters of the run in progress, for front ends that show throughput.
    std::int64_t filesDone = 0;
    std::int64_t bytesCopied = 0;

    // Told of each file as its status is set: "Copying" or "Skipping" and the source path.
    std::function<void(const std::string& status, const std::string& sourcePath)> onFileStatus;

    // Sets the status label and tells the observer.
    void setFileStatus(const std::string& status, const std::string& sourcePath);

private:
    WindowingServices& m_services;
    bool m_visible = false;
};

} // namespace twinfold
