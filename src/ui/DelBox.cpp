#include "ui/DelBox.h"

#include "platform/DirectoryTree.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/TreeRemoval.h"
#include "platform/Windowing.h"

namespace twinfold
{

namespace
{

// OK has been chosen once the handler runs: the dialog closes on every way out, a reported
// failure included.
class CloseOnExit
{
public:
    explicit CloseOnExit(Window& window) : m_window(window) {}
    ~CloseOnExit() { m_window.Close(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    Window& m_window;
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
        throw IoError(invalidArgumentError());
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

TDelete::TDelete(WindowingServices& services, DirectoryCache& cache, DirectoryView& sourceView,
                 DirectoryView& destinationView)
    : Window("TDelete"), m_services(services), m_cache(cache), m_sourceView(sourceView),
      m_destinationView(destinationView)
{
}

void TDelete::BitBtn2Click()
{
    const CloseOnExit close(*this);
    const BusyCursor busy(m_services);
    m_services.processPendingEvents();
    deleteDirectory(targetOf(Edit1.text()));
}

void TDelete::BitBtn1Click()
{
    Close();
}

void TDelete::deleteDirectory(const std::string& target)
{
    const std::string source = m_sourceView.directory();
    const std::string destination = m_destinationView.directory();

    // Neither view may sit in the directory that is about to go.
    if (samePath(target, destination))
        m_destinationView.setDirectory(parentPath(destination));
    if (samePath(target, source))
        m_sourceView.setDirectory(parentPath(source));

    if (DelSubdir.checked()) {
        DelTree(target);
    } else {
        DeleteFiles(target);
        m_sourceView.setDirectory(source);
        m_destinationView.setDirectory(destination);
    }
    refreshViews();
}

void TDelete::DelTree(const std::string& path)
{
    delTree(path, [this](const std::string& stays) {
        m_services.information(this, ProblemRemovingDirectory + stays);
    });
}

void TDelete::DeleteFiles(const std::string& path)
{
    deleteFiles(path);
}

void TDelete::refreshViews()
{
    // The listings are cached by directory; after removals nothing cached is trusted.
    m_cache.clear();
    refreshView(m_sourceView);
    refreshView(m_destinationView);
}

} // namespace twinfold
