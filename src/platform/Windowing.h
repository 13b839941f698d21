#pragma once

#include <chrono>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace twinfold
{

class Window;

inline constexpr const char* ApplicationTitle = "Twinfold for Windows";

// The forms of message box the program uses.
enum class MessageForm {
    Plain,        // captioned with the application title, one "OK" button
    Confirmation, // "Confirm", "&Yes" and "&No"
    Warning,      // "Warning", Yes and No
    Information,  // "Information", one "OK" button
    Error,        // the general error report: stop symbol, application title, "OK"
    // Something a run found that the user must hear of, said once a run. It never waits for
    // an answer, so that an unattended run goes on: the console writes it as a line of its
    // own, the desktop shows a box that stays while the run goes on.
    Notice,
    // The same for what the user chose and so knows of (a time shift set in the options): said
    // like a notice, but no warning, so that a run asked to be quiet leaves it out.
    Remark,
};

enum class Answer { Ok, Yes, No };

// What an open or save dialog is asked to offer.
struct FileDialogOptions {
    std::string title;
    std::string filter;           // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
    int filterIndex = 1;          // 1-based, as the filter choices are counted
    std::string defaultExtension; // added to a name typed without one
    std::string fileName;         // proposed name
    std::string initialDirectory; // empty: the dialog's own choice
    bool fileMustExist = false;
    bool pathMustExist = true;
    bool confirmOverwrite = false;
};

// The one way a window model reaches the user. The Qt program shows real dialogs, the console
// program writes lines and answers from its options, and tests script the answers.
class WindowingServices
{
public:
    virtual ~WindowingServices() = default;

    // Shows a modal message box over its owner (nullptr: the main window) and blocks until it
    // is answered. Plain, Information and Error boxes answer Ok; Confirmation and Warning boxes
    // answer Yes or No. A Notice answers Ok at once.
    virtual Answer messageBox(const Window* owner, MessageForm form, const std::string& caption,
                              const std::string& text) = 0;

    // A small modal window with a caption, a prompt and one line of at most 255 characters;
    // the edited text on OK, nothing on Cancel.
    virtual std::optional<std::string> inputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initialText) = 0;

    // File dialogs: the full path chosen, nothing when cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogOptions& options) = 0;

    // Shows one of the program's windows modally and returns when that window model has
    // closed; a handler of the window (OkClick, ...) closing it ends the modal loop. The front
    // end routes the user's actions in it to that window's handlers.
    virtual void showModal(Window& window) = 0;

    // Lets the interface process every pending event; a long operation calls it at its polls.
    virtual void processPendingEvents() = 0;
    // The clock by which long work spaces the polls it makes inside one step (a copy of a large
    // file), so that the interface stays alive without being asked at every buffer.
    virtual std::chrono::steady_clock::time_point now() const
    {
        return std::chrono::steady_clock::now();
    }

    // Shows or restores the busy cursor; calls nest.
    virtual void setBusyCursor(bool busy) = 0;

    // The help viewer: contents, a topic by number, close.
    virtual void showHelpContents() = 0;
    virtual void showHelpTopic(int topic) = 0;
    virtual void closeHelp() = 0;

    // Conveniences over messageBox with the designed captions.
    void showMessage(const Window* owner, const std::string& text);
    bool confirm(const Window* owner, const std::string& text);
    bool warningYesNo(const Window* owner, const std::string& text);
    void information(const Window* owner, const std::string& text);
    void errorReport(const Window* owner, const std::string& text); // appends the full stop rule
    void notice(const std::string& text);
    void remark(const std::string& text);
    // The report of a failure: its text by the same rule, and the path it is about, if any.
    void errorReport(const Window* owner, const std::exception& failure);

    // The same over the main window, for callers that belong to no window.
    void showMessage(const std::string& text) { showMessage(nullptr, text); }
    bool confirm(const std::string& text) { return confirm(nullptr, text); }
    bool warningYesNo(const std::string& text) { return warningYesNo(nullptr, text); }
    void information(const std::string& text) { information(nullptr, text); }
    void errorReport(const std::string& text) { errorReport(nullptr, text); }
    void errorReport(const std::exception& failure) { errorReport(nullptr, failure); }
};

// Shows the busy cursor for the lifetime of the object.
class BusyCursor
{
public:
    explicit BusyCursor(WindowingServices& services) : m_services(services)
    {
        m_services.setBusyCursor(true);
    }
    ~BusyCursor() { m_services.setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    WindowingServices& m_services;
};

} // namespace twinfold
