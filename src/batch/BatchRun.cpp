// Batch runs: each settings file of a batch file loaded in turn and synchronised.
#include "batch/BatchRun.h"

#include "batch/BatchFile.h"
#include "batch/BatchWindow.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/Windowing.h"
#include "settings/Options.h"
#include "settings/SyncSettings.h"
#include "ui/DirectoryView.h"

#include <unordered_map>

namespace twinfold
{

namespace
{

using Section = std::unordered_map<std::string, std::string>;

// The keys of one job, each read as the INI layer reads a single key.
class JobFile
{
public:
    explicit JobFile(const std::string& path)
        : m_settings(IniFile::readSection(path, "Settings")),
          m_options(IniFile::readSection(path, "Options"))
    {
    }

    std::string setting(const std::string& key, const std::string& fallback) const
    {
        return text(m_settings, key, fallback);
    }
    std::string option(const std::string& key, const std::string& fallback) const
    {
        return text(m_options, key, fallback);
    }
    std::int32_t integer(const Section& section, const std::string& key,
                         std::int32_t fallback) const
    {
        const auto found = section.find(key);
        std::int32_t value = 0;
        return found != section.end() && IniFile::parseInteger(found->second, value) ? value
                                                                                     : fallback;
    }
    const Section& settings() const { return m_settings; }
    const Section& options() const { return m_options; }

private:
    static std::string text(const Section& section, const std::string& key,
                            const std::string& fallback)
    {
        const auto found = section.find(key);
        return found == section.end() ? fallback : found->second;
    }

    Section m_settings;
    Section m_options;
};

} // namespace

BatchRun::BatchRun(WindowingServices& services, BatchWindow& window, SyncSettings& settings,
                   TOptionsbx& options)
    : m_services(services), m_window(window), m_settings(settings), m_options(options)
{
}

bool BatchRun::checkJob(const std::string& entry, const std::string& source,
                        const std::string& dest)
{
    if (source == "Invalid" || dest == "Invalid") {
        m_services.information(nullptr,
                               "The ini file: " + entry + " is invalid...process will be skipped!");
        return false;
    }
    if (source.empty() || dest.empty() ||
        !((directoryExists(source) && directoryExists(dest)) || endsWithSeparator(source) ||
          endsWithSeparator(dest))) {
        m_services.information(nullptr, "The source: " + recordedPath(source) +
                                            " or dest: " + recordedPath(dest) +
                                            " dir is invalid...process will be skipped!");
        return false;
    }
    return true;
}

void BatchRun::ExecuteBatch(const std::string& path)
{
    // A batch started at a poll of another batch's run would interleave the two.
    if (m_running) {
        m_services.showMessage(nullptr, "A batch file is already running.");
        return;
    }
    // BatchMode and the running flag hold for the whole batch, however it ends.
    m_window.setBatchMode(true);
    m_running = true;
    const ScopeExit ended([this] {
        m_window.setBatchMode(false);
        m_running = false;
    });
    m_skipped = 0;
    m_settings.BatchDir = path;
    for (const std::string& entry : ReadBatchFile(path)) {
        const JobFile job(entry);
        const std::string source = job.setting("sourcedir", "Invalid");
        const std::string dest = job.setting("destdir", "Invalid");
        const bool run = checkJob(entry, source, dest);
        if (!run)
            ++m_skipped;

        // The job's options are loaded whether it runs or not.
        m_window.fileTypeBox().setItemIndex(job.integer(job.options(), "filetype", 0));
        m_window.syncAllBox().setChecked(job.integer(job.settings(), "syncall", 0) != 0);
        const bool selectAll = job.integer(job.settings(), "selectall", 0) != 0;
        m_settings.Exclude = job.option("exclude", "");
        m_settings.Include = job.option("include", "");
        m_settings.CopyBuffer = job.integer(job.options(), "copybuffer", 32768);
        m_window.showCopyBufferSize(m_settings.CopyBuffer);
        m_options.loadFilterLists();

        if (!run)
            continue;
        // A directory let through by its trailing separator may not exist: the failure ends
        // the whole batch and reaches the general error report.
        m_window.sourceView().setDirectory(source);
        m_window.destinationView().setDirectory(dest);
        m_window.applyFileType();
        m_window.selectAllBox().setChecked(selectAll);
        m_window.sync();
    }
}

} // namespace twinfold
