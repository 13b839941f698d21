#pragma once

#include "platform/Signal.h"
#include "platform/Windowing.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace twinfold
{
class TSyncBox;
}

namespace twinfold::test
{

// A scripted stand-in for the user: records every message box, answers questions from a queue
// (an unexpected question fails the test and answers No), and runs actions at chosen polls.
class ScriptedServices : public WindowingServices
{
public:
    struct Message {
        const Window* owner;
        MessageForm form;
        std::string caption;
        std::string text;
    };

    Answer messageBox(const Window* owner, MessageForm form, const std::string& caption,
                      const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initialText) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    void showModal(Window& window) override;
    void processPendingEvents() override;
    void setBusyCursor(bool busy) override;
    void showHelpContents() override { helpRequests.push_back(0); }
    void showHelpTopic(int topic) override { helpRequests.push_back(topic); }
    void closeHelp() override { ++helpCloses; }
    // A clock that stands still unless a test moves it, so that no poll depends on how fast
    // the machine is.
    std::chrono::steady_clock::time_point now() const override { return clock; }

    // Script.
    void answer(Answer next) { m_answers.push_back(next); }
    void answerInput(std::optional<std::string> text) { m_inputs.push_back(std::move(text)); }
    void answerDialog(std::optional<std::string> path) { m_dialogs.push_back(std::move(path)); }
    // Runs action at the n-th call of processPendingEvents (counted from 1).
    void atPoll(int n, std::function<void()> action) { m_pollActions[n] = std::move(action); }
    // Runs action inside the next showModal(window): the user acting in that modal window.
    // Actions for one window are used in the order given. A scripted modal window that the
    // action leaves open is closed here and recorded in modalsLeftOpen; a modal window without
    // an action stays open for the test to act in.
    void inModal(const std::string& window, std::function<void()> action)
    {
        m_modalActions[window].push_back(std::move(action));
    }
    // Follows the runs of a progress window, for onFileStatus.
    void attach(TSyncBox& syncBox);
    // Runs action (once) at the poll after the run announces status ("Copying", "Skipping") for the
    // file whose path ends with name: a test says at which file it acts.
    void onFileStatus(const std::string& status, const std::string& name,
                      std::function<void()> action);

    // Called after every message box and every modal window has closed, as the main window
    // becoming active again; not called again while it runs.
    std::function<void()> afterModal;

    // Starts counting polls afresh and forgets every poll and file action and recorded message.
    void restart()
    {
        polls = 0;
        m_pollActions.clear();
        m_fileActions.clear();
        m_atNextPoll.clear();
        messages.clear();
    }

    // Record.
    std::vector<Message> messages;
    std::vector<FileDialogOptions> dialogs;
    std::vector<int> helpRequests;
    std::vector<std::string> modalWindows;
    std::vector<std::string> modalsLeftOpen;
    int helpCloses = 0;
    int polls = 0;
    int busyDepth = 0;
    std::chrono::steady_clock::time_point clock{};

    std::vector<std::string> texts() const;
    bool saw(const std::string& text) const;
    bool answersLeft() const { return !m_answers.empty(); }

private:
    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_inputs;
    std::deque<std::optional<std::string>> m_dialogs;
    std::map<int, std::function<void()>> m_pollActions;
    std::map<std::string, std::deque<std::function<void()>>> m_modalActions;
    bool m_inAfterModal = false;
    struct FileAction {
        std::string status;
        std::string name;
        std::function<void()> action;
    };
    std::vector<FileAction> m_fileActions;
    std::vector<std::function<void()>> m_atNextPoll;
    Connection m_fileStatus;

    void modalClosed();
};

} // namespace twinfold::test
