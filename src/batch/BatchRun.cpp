// Batch runs: each settings file of a batch file loaded in turn and synchronised.
#include "app/Application.h"
#include "batch/BatchFile.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "ui/Main.h"

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

void TMain::BatchFileEditor1Click()
{
    auto& editor = m_app.BatchDlg;
    editor.SDirList.setDirectory(SourceDirListBox.directory());
    editor.ClearBatchList();
    editor.BatchFileName = Untitled;
    editor.Caption = "Batch Editor (Untitled)";
    editor.Modified = false;
    editor.ShowModal();
    m_services.showModal("TBatchDlg");
}

void TMain::RunBatchFile1Click()
{
    const auto path = m_services.openFileDialog(m_app.BatchDlg.seeded(m_app.BatchDlg.Open));
    if (path)
        ExecuteBatch(*path);
}

void TMain::ExecuteBatch(const std::string& path)
{
    // A batch started at a poll of another batch's run would interleave the two.
    if (m_batchRunning) {
        m_services.showMessage("A batch file is already running.");
        return;
    }
    // BatchMode and the running flag hold for the whole batch, however it ends.
    BatchMode = true;
    m_batchRunning = true;
    const ScopeExit ended([this] { BatchMode = m_batchRunning = false; });
    batchSkipped = 0;
    m_settings.BatchDir = path;
    for (const std::string& entry : ReadBatchFile(path)) {
        const JobFile job(entry);
        const std::string source = job.setting("sourcedir", "Invalid");
        const std::string dest = job.setting("destdir", "Invalid");
        bool run = false;
        if (source == "Invalid" || dest == "Invalid") {
            m_services.information("The ini file: " + entry +
                                   " is invalid...process will be skipped!");
        } else if (source.empty() || dest.empty() ||
                   !((directoryExists(source) && directoryExists(dest)) ||
                     endsWithSeparator(source) || endsWithSeparator(dest))) {
            m_services.information("The source: " + recordedPath(source) +
                                   " or dest: " + recordedPath(dest) +
                                   " dir is invalid...process will be skipped!");
        } else {
            run = true;
        }
        if (!run)
            ++batchSkipped;

        // The job's options are loaded whether it runs or not.
        EditFilter.setItemIndex(job.integer(job.options(), "filetype", 0));
        SyncAll.setChecked(job.integer(job.settings(), "syncall", 0) != 0);
        const bool selectAll = job.integer(job.settings(), "selectall", 0) != 0;
        m_settings.Exclude = job.option("exclude", "");
        m_settings.Include = job.option("include", "");
        m_settings.CopyBuffer = job.integer(job.options(), "copybuffer", 32768);
        setChunkSizeForm(m_settings.CopyBuffer);
        m_app.Optionsbx.loadFilterLists();

        if (!run)
            continue;
        // A directory let through by its trailing separator may not exist: the failure ends
        // the whole batch and reaches the general error report.
        SourceDirListBox.setDirectory(source);
        DestDirListBox.setDirectory(dest);
        EditFilterChange();
        cbSelectAll.setChecked(selectAll);
        SyncBtnClick();
    }
}

} // namespace twinfold
