#include "ui/DelBox.h"

#include "app/Application.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"
#include "ui/DelTree.h"

#include <cerrno>

namespace twinfold
{

namespace
{

// OK has been chosen once the handler runs: the dialog closes on every way out, a reported
// failure included.
class CloseOnExit
{
public:
    explicit CloseOnExit(bool& visible) : m_visible(visible) {}
    ~CloseOnExit() { m_visible = false; }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    bool& m_visible;
};

bool samePath(const std::string& a, const std::string& b)
{
    return recordedPath(a) == recordedPath(b);
}

// The directory the dialog is to delete, as a full path. A relative path is refused rather than
// taken against the program's current directory, which the user never sees.
std::string targetOf(const std::string& text)
{
    if (!isFullPathText(text))
        throw IoError(EINVAL);
    std::string target = expandFileName(text);
    // There is no parent to move a view to, and removing the root is never meant.
    if (isRootPath(target))
        throw CommandError(CannotDeleteRoot);
    checkDirectoryAccess(target);
    return target;
}

// The directory itself when it can still be entered, else its nearest ancestor that can.
std::string nearestEnterable(std::string path)
{
    for (;;) {
        try {
            checkDirectoryAccess(path);
            return path;
        } catch (const IoError&) {
            const std::string parent = parentPath(path);
            if (parent == path)
                throw;
            path = parent;
        }
    }
}

// Rebuilds a view's listing. A view whose directory went with a deleted tree moves up to the
// nearest ancestor that is left, so that it shows something that exists.
void refreshView(DirectoryView& view)
{
    const std::string shown = nearestEnterable(view.directory());
    if (shown == view.directory())
        view.update();
    else
        view.setDirectory(shown);
}

} // namespace

TDelete::TDelete(WindowingServices& services, Application& app) : m_services(services), m_app(app)
{
}

void TDelete::BitBtn2Click()
{
    const CloseOnExit close(m_visible);
    const BusyCursor busy(m_services);
    m_services.processPendingEvents();
    deleteDirectory(targetOf(Edit1.text));
}

void TDelete::BitBtn1Click()
{
    m_visible = false;
}

void TDelete::deleteDirectory(const std::string& target)
{
    TMain& main = m_app.Main;
    const std::string source = main.SourceDirListBox.directory();
    const std::string destination = main.DestDirListBox.directory();

    // Neither view may sit in the directory that is about to go.
    if (samePath(target, destination))
        main.DestDirListBox.setDirectory(parentPath(destination));
    if (samePath(target, source))
        main.SourceDirListBox.setDirectory(parentPath(source));

    if (DelSubdir.checked()) {
        DelTree(target);
    } else {
        DeleteFiles(target);
        main.SourceDirListBox.setDirectory(source);
        main.DestDirListBox.setDirectory(destination);
    }
    refreshViews();
}

void TDelete::DelTree(const std::string& path)
{
    delTree(path, [this](const std::string& stays) {
        m_services.information(ProblemRemovingDirectory + stays);
    });
}

void TDelete::DeleteFiles(const std::string& path)
{
    deleteFiles(path);
}

void TDelete::refreshViews()
{
    // The listings are cached by directory; after removals nothing cached is trusted.
    m_app.directoryCache.clear();
    refreshView(m_app.Main.SourceDirListBox);
    refreshView(m_app.Main.DestDirListBox);
}

} // namespace twinfold
