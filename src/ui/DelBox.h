#pragma once

#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "platform/Window.h"
#include "settings/Options.h"

#include <string>

namespace twinfold
{

class WindowingServices;

inline constexpr const char* ProblemRemovingDirectory = "Problem removing directory: ";
inline constexpr const char* CannotDeleteRoot = "Cannot delete a root directory";

// The delete-directory dialog "Delete?": deletes the files of one directory, or its whole
// tree. The dialog itself is the confirmation.
class TDelete : public Window
{
public:
    TDelete(WindowingServices& services, DirectoryCache& cache, DirectoryView& sourceView,
            DirectoryView& destinationView);

    EditField Edit1;                                           // the directory to delete
    CheckBox DelSubdir{"Delete All SubDirectories and Files"}; // keeps its tick between uses

    void BitBtn2Click(); // OK: perform the deletion
    void BitBtn1Click(); // Cancel: close

    // The directory and everything below it; each directory that stays is reported.
    void DelTree(const std::string& path);
    // Every entry of the directory except its subdirectories.
    void DeleteFiles(const std::string& path);

    void ShowModal() { Show(); }

private:
    void deleteDirectory(const std::string& target);
    void refreshViews();

    WindowingServices& m_services;
    DirectoryCache& m_cache;
    DirectoryView& m_sourceView;
    DirectoryView& m_destinationView;
};

} // namespace twinfold
