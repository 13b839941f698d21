#pragma once

#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "settings/Options.h"

#include <string>

namespace twinfold
{

class Application;
class WindowingServices;

inline constexpr const char* ProblemRemovingDirectory = "Problem removing directory: ";
inline constexpr const char* CannotDeleteRoot = "Cannot delete a root directory";

// The delete-directory dialog "Delete?": deletes the files of one directory, or its whole
// tree. The dialog itself is the confirmation.
class TDelete
{
public:
    TDelete(WindowingServices& services, Application& app);

    EditField Edit1;                                           // the directory to delete
    CheckBox DelSubdir{"Delete All SubDirectories and Files"}; // keeps its tick between uses

    void BitBtn2Click(); // OK: perform the deletion
    void BitBtn1Click(); // Cancel: close

    // The directory and everything below it; each directory that stays is reported.
    void DelTree(const std::string& path);
    // Every entry of the directory except its subdirectories.
    void DeleteFiles(const std::string& path);

    void ShowModal() { m_visible = true; }
    bool visible() const { return m_visible; }

private:
    void deleteDirectory(const std::string& target);
    void refreshViews();

    WindowingServices& m_services;
    Application& m_app;
    bool m_visible = false;
};

} // namespace twinfold
