// The main window's file and directory operations.
#include "ui/FileOperations.h"

#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Window.h"
#include "platform/Windowing.h"
#include "ui/DelBox.h"

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

// A bare name has no parent path to make first: a short one needs nothing, a longer one that
// names no existing directory fails rather than landing somewhere the user did not type.
bool isBareName(const std::string& text)
{
    std::string_view name = text;
    if (endsWithSeparator(name))
        name.remove_suffix(1);
    return !name.empty() && name.find(NativeSeparator) == std::string_view::npos;
}

void makeNamedDirectory(const std::string& text, const std::string& viewDirectory)
{
    if (!isBareName(text)) {
        forceDirectories(newDirectoryPath(text, viewDirectory));
        return;
    }
    const std::string name = endsWithSeparator(text) ? text.substr(0, text.size() - 1) : text;
    if (name.size() < 3 || directoryExists(joinPath(viewDirectory, name)))
        return;
    throw CommandError(UnableToCreateDirectory);
}

void makeDirectoryBelow(WindowingServices& services, DirectoryCache& cache, DirectoryView& view)
{
    const auto text =
        services.inputBox("Create Directory", "Enter New Directory Name:", view.directory());
    if (text)
        makeNamedDirectory(*text, view.directory());
    cache.clear();
    view.update();
}

void openDeleteDialog(WindowingServices& services, TDelete& dialog, const DirectoryView& view)
{
    dialog.Edit1.setText(recordedPath(view.directory()));
    services.showModal(dialog);
}

} // namespace

FileOperations::FileOperations(WindowingServices& services, const Window& owner,
                               DirectoryCache& cache, DirectoryView& sourceView,
                               FileListBox& fileList, DirectoryView& destinationView,
                               TDelete& deleteDialog)
    : m_services(services), m_owner(owner), m_cache(cache), SourceDirListBox(sourceView),
      FileList(fileList), DestDirListBox(destinationView), m_delete(deleteDialog)
{
}

void FileOperations::Delete1Click()
{
    const std::string directory = SourceDirListBox.directory();
    std::vector<std::string> chosen;
    for (int i = 0; i < FileList.count(); ++i) {
        if (FileList.selected(i))
            chosen.push_back(joinPath(directory, FileList.item(i)));
    }
    bool go = false;
    if (chosen.size() == 1)
        go = m_services.confirm(&m_owner, "Delete File: " + chosen.front() + "?");
    else if (chosen.size() > 1)
        go = m_services.confirm(&m_owner,
                                "Delete Selected Files from " + joinPath(directory, "") + "?");
    // A file that cannot be deleted (read-only, in use, gone) simply stays listed.
    if (go) {
        for (const auto& path : chosen)
            static_cast<void>(deleteFile(path));
    }
    m_cache.clear();
    FileList.update();
}

void FileOperations::Rename1Click()
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
        m_services.showMessage(&m_owner, "File not renamed!");
    m_cache.clear();
    FileList.update();
}

void FileOperations::MakeDirectorySDClick()
{
    makeDirectoryBelow(m_services, m_cache, SourceDirListBox);
}

void FileOperations::MakeDirectoryDDClick()
{
    makeDirectoryBelow(m_services, m_cache, DestDirListBox);
}

void FileOperations::DeleteDirectorySDClick()
{
    openDeleteDialog(m_services, m_delete, SourceDirListBox);
}

void FileOperations::DeleteDirectoryDDClick()
{
    openDeleteDialog(m_services, m_delete, DestDirListBox);
}

} // namespace twinfold
