#pragma once

#include <string>

namespace twinfold
{

class BatchWindow;
class DirectoryView;
class TOptionsbx;
class WindowingServices;
struct StoredSettings;
struct SyncSettings;

// A batch run: each settings file of a batch file loaded into the window in turn and
// synchronised.
class BatchRun
{
public:
    BatchRun(WindowingServices& services, BatchWindow& window, SyncSettings& settings,
             TOptionsbx& options);
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    void ExecuteBatch(const std::string& path);

    // Entries of the last batch run that were skipped as invalid.
    int skipped() const { return m_skipped; }

private:
    // Whether a job may run; the reason it may not is reported.
    bool checkJob(const std::string& entry, const StoredSettings& job);
    // Moves a view to a job's directory; a failure names the directory.
    void showJobDirectory(DirectoryView& view, const std::string& directory);

    WindowingServices& m_services;
    BatchWindow& m_window;
    SyncSettings& m_settings;
    TOptionsbx& m_options;
    int m_skipped = 0;
    bool m_running = false;
};

} // namespace twinfold
