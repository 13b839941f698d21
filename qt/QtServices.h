#pragma once

#include "FocusMemory.h"

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

namespace twinfold
{

class HelpWindow;

// The windowing services on Qt Widgets. Each model window is paired with its view, so that a
// dialog asked for by a model is centred on and owned by the view the user sees.
class QtServices : public WindowingServices
{
public:
    QtServices();
    ~QtServices() override;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    void registerView(const Window& model, QWidget* view);
    QWidget* viewOf(const Window* owner) const;
    // The window that stands for a null owner.
    void setMainView(QWidget* view) { m_mainView = view; }
    // Shows the main window, centred on the screen unless it has a place already.
    void showMainView();

    Answer messageBox(const Window* owner, MessageForm form, const std::string& caption,
                      const std::string& text) override;
    // The models' dialogs without an owner appear over the main window.
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initialText) override
    {
        return inputBox(nullptr, caption, prompt, initialText);
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override
    {
        return openFileDialog(nullptr, options);
    }
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override
    {
        return saveFileDialog(nullptr, options);
    }
    std::optional<std::string> inputBox(const Window* owner, const std::string& caption,
                                        const std::string& prompt, const std::string& initialText);
    std::optional<std::string> openFileDialog(const Window* owner,
                                              const FileDialogOptions& options);
    std::optional<std::string> saveFileDialog(const Window* owner,
                                              const FileDialogOptions& options);
    void showModal(Window& window) override;
    // Pending events are fetched at most this often, however often a run polls.
    static constexpr int PollIntervalMs = 5;
    void processPendingEvents() override;
    void setBusyCursor(bool busy) override;
    void showHelpContents() override;
    void showHelpTopic(int topic) override;
    void closeHelp() override;

    HelpWindow* helpWindow() const { return m_help.get(); }

    // Called with every dialog once it is on screen, so that tests can answer it without a
    // person. Unset, the dialogs wait for the user.
    std::function<void(QDialog&)> dialogHook;

private:
    void restoreCursor();
    QWidget* dialogOwner(const Window* owner);
    static void placeBeside(QWidget& window, const QWidget& anchor);
    void returnFocus(const QList<QPointer<QWidget>>& onTop, QWidget* owner);
    QElapsedTimer m_sincePolled;
    int runDialog(QDialog& dialog);
    void showNotice(const Window* owner, const std::string& caption, const std::string& text);
    std::optional<std::string> fileDialog(const Window* owner, const FileDialogOptions& options,
                                          bool save);

    std::map<const Window*, QPointer<QWidget>> m_views;
    QPointer<QWidget> m_mainView;
    std::unique_ptr<HelpWindow> m_help;
    FocusMemory m_focus;
    int m_busyDepth = 0;
    bool m_cursorShown = false;
    QTimer m_cursorRestore;
};

} // namespace twinfold
