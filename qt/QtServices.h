#pragma once

#include "platform/Window.h"
#include "platform/Windowing.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QTextBrowser;

namespace twinfold
{

// The windowing services on Qt Widgets. Each model window is paired with its view, so that a
// dialog asked for by a model is centred on and owned by the view the user sees; the models'
// dialogs without an owner appear over the main window.
class QtServices : public WindowingServices
{
public:
    QtServices();
    ~QtServices() override;

    void registerView(const Window& model, QWidget* view);
    QWidget* viewOf(const Window* owner) const;
    // The window that stands for a null owner.
    void setMainView(QWidget* view) { m_mainView = view; }
    // Shows the main window, centred on the screen unless it has a place already.
    void showMainView();

    Answer messageBox(const Window* owner, MessageForm form, const std::string& caption,
                      const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initialText) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override
    {
        return fileDialog(options, false);
    }
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override
    {
        return fileDialog(options, true);
    }
    void showModal(Window& window) override;
    // Pending events are fetched at most this often, however often a run polls.
    static constexpr int PollIntervalMs = 5;
    void processPendingEvents() override;
    void setBusyCursor(bool busy) override;
    void showHelpContents() override { showHelpTopic(0); }
    void showHelpTopic(int topic) override;
    void closeHelp() override;

    QWidget* helpWindow() const { return m_help.get(); }

    // Called with every dialog once it is on screen, so that tests can answer it without a
    // person. Unset, the dialogs wait for the user.
    std::function<void(QDialog&)> dialogHook;

private:
    QWidget* dialogOwner(const Window* owner);
    int runDialog(QDialog& dialog);
    void returnFocus(const QList<QPointer<QWidget>>& onTop, QWidget* owner);
    void showNotice(const Window* owner, const std::string& caption, const std::string& text);
    std::optional<std::string> fileDialog(const FileDialogOptions& options, bool save);

    std::map<const Window*, QPointer<QWidget>> m_views;
    QPointer<QWidget> m_mainView;
    // The help viewer: the pages compiled into the program, reached by topic number; 0 is the
    // contents.
    std::unique_ptr<QWidget> m_help;
    QTextBrowser* m_helpPages;
    // The control of each window that last had the keyboard focus, given back to it when a
    // modal window over it closes.
    std::map<const QWidget*, QPointer<QWidget>> m_lastFocus;
    QElapsedTimer m_sincePolled;
    int m_busyDepth = 0;
    QTimer m_cursorRestore;
};

} // namespace twinfold
