#include "ui/Main.h"

#include "app/Application.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"

namespace twinfold
{

namespace
{

constexpr const char* UnableToCreateDirectory = "Unable to create directory";

// Creates a directory and every missing level above it; an empty text names none.
void forceDirectories(const std::string& path)
{
    if (path.empty())
        throw CommandError(UnableToCreateDirectory);
    createDirectoryTree(path);
}

// The text of the Make Directory box as a full path. A relative text names a directory below
// the view's own directory, where the box started, rather than below the program's current
// directory, which the user never sees.
std::string newDirectoryPath(const std::string& text, const std::string& viewDirectory)
{
    if (text.empty())
        throw CommandError(UnableToCreateDirectory);
    return expandFileName(isFullPathText(text) ? text : joinPath(viewDirectory, text));
}

void makeDirectoryBelow(WindowingServices& services, DirectoryCache& cache, DirectoryView& view)
{
    const auto text =
        services.inputBox("Create Directory", "Enter New Directory Name:", view.directory());
    if (text)
        forceDirectories(newDirectoryPath(*text, view.directory()));
    cache.clear();
    view.update();
}

void openDeleteDialog(WindowingServices& services, Application& app, const DirectoryView& view)
{
    app.Delete.Edit1.text = recordedPath(view.directory());
    app.Delete.ShowModal();
    services.showModal("TDelete");
}

} // namespace

void TMain::Delete1Click()
{
    const std::string directory = SourceDirListBox.directory();
    std::vector<std::string> chosen;
    for (int i = 0; i < FileList.count(); ++i) {
        if (FileList.selected(i))
            chosen.push_back(joinPath(directory, FileList.item(i)));
    }
    bool go = false;
    if (chosen.size() == 1)
        go = m_services.confirm("Delete File: " + chosen.front() + "?");
    else if (chosen.size() > 1)
        go = m_services.confirm("Delete Selected Files from " + joinPath(directory, "") + "?");
    // A file that cannot be deleted (read-only, in use, gone) simply stays listed.
    if (go) {
        for (const auto& path : chosen)
            deleteFile(path);
    }
    m_app.directoryCache.clear();
    FileList.update();
}

void TMain::Rename1Click()
{
    // The current file is the focused entry only while it is selected; a focused entry that is
    // not selected is no current file, and nothing happens, as when nothing is selected.
    const int current = FileList.itemIndex();
    if (current < 0 || current >= FileList.count() || !FileList.selected(current))
        return;
    const std::string directory = SourceDirListBox.directory();
    const std::string name = FileList.item(current);
    const auto text = m_services.inputBox("Rename File", "Enter New File Name:", name);
    if (text && !renameFile(joinPath(directory, name), joinPath(directory, *text)))
        m_services.showMessage("File not renamed!");
    m_app.directoryCache.clear();
    FileList.update();
}

void TMain::MakeDirectorySDClick()
{
    makeDirectoryBelow(m_services, m_app.directoryCache, SourceDirListBox);
}

void TMain::MakeDirectoryDDClick()
{
    makeDirectoryBelow(m_services, m_app.directoryCache, DestDirListBox);
}

void TMain::DeleteDirectorySDClick()
{
    openDeleteDialog(m_services, m_app, SourceDirListBox);
}

void TMain::DeleteDirectoryDDClick()
{
    openDeleteDialog(m_services, m_app, DestDirListBox);
}

} // namespace twinfold
