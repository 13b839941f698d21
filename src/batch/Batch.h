#pragma once

#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "platform/Window.h"
#include "platform/Windowing.h"

#include <string>

namespace twinfold
{

struct SyncSettings;

inline constexpr const char* Untitled = "Untitled";

// The batch editor: a file browser for settings files on the left, the list being composed on
// the right, and the File menu to open and save batch files.
class TBatchDlg : public Window
{
public:
    TBatchDlg(WindowingServices& services, SyncSettings& settings, DirectoryCache& cache);

    // The browser.
    ComboBox DriveComboBox1;
    DirectoryView SDirList;
    Label SourceLabel;
    FileListBox FileList;
    ComboBox FilterComboBox1{{"Ini Files (*.ini)", "All files (*.*)"}};

    ListBox BatchList;
    std::string BatchFileName = Untitled;
    bool Modified = false;
    std::string Caption = "Batch Editor (Untitled)";

    FileDialogOptions Open;
    FileDialogOptions SaveAs;

    void FormCreate();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAsMenuClick();
    void ExitClick();
    void CancelClick();
    void FileListDblClick();
    void SpeedButton4Click(); // adds the selected files
    void SpeedButton3Click(); // removes the selected entries
    void BatchListDblClick();
    void ClearBatchList();
    void FilterComboBox1Change();
    void DriveComboBox1Change();

    void closeBoxClicked() { Close(); }

    // The dialogs are seeded from the remembered batch file each time they are shown.
    FileDialogOptions seeded(const FileDialogOptions& dialog) const;

private:
    std::string fullPathOf(int fileIndex) const;
    void setTitle(const std::string& path);
    void followDirectory();

    WindowingServices& m_services;
    SyncSettings& m_settings;
};

} // namespace twinfold
