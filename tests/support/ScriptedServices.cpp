#include "support/ScriptedServices.h"

#include "engine/SyncBox.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

namespace twinfold::test
{

Answer ScriptedServices::messageBox(const Window* owner, MessageForm form,
                                    const std::string& caption, const std::string& text)
{
    messages.push_back({owner, form, caption, text});
    // A notice waits for nothing.
    if (form == MessageForm::Notice || form == MessageForm::Remark)
        return Answer::Ok;
    Answer next = Answer::Ok;
    if (form == MessageForm::Confirmation || form == MessageForm::Warning) {
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            next = Answer::No;
        } else {
            next = m_answers.front();
            m_answers.pop_front();
        }
    }
    modalClosed();
    return next;
}

void ScriptedServices::showModal(Window& window)
{
    modalWindows.push_back(window.name());
    window.Show();
    auto queued = m_modalActions.find(window.name());
    if (queued != m_modalActions.end() && !queued->second.empty()) {
        const auto action = std::move(queued->second.front());
        queued->second.pop_front();
        action();
        // The modal loop runs until the window closes; nothing is left to close it.
        if (window.visible()) {
            modalsLeftOpen.push_back(window.name());
            window.Close();
        }
    }
    modalClosed();
}

void ScriptedServices::attach(TSyncBox& syncBox)
{
    m_fileStatus =
        syncBox.fileStatus.connect([this](const std::string& status, const std::string& path) {
            for (auto& scripted : m_fileActions) {
                const std::string& name = scripted.name;
                const bool named = path.size() >= name.size() &&
                                   path.compare(path.size() - name.size(), name.size(), name) == 0;
                if (scripted.action && scripted.status == status && named) {
                    // The user's action reaches the program at its next poll, as events do.
                    m_atNextPoll.push_back(std::move(scripted.action));
                    scripted.action = nullptr;
                    return;
                }
            }
        });
}

void ScriptedServices::onFileStatus(const std::string& status, const std::string& name,
                                    std::function<void()> action)
{
    m_fileActions.push_back({status, name, std::move(action)});
}

void ScriptedServices::modalClosed()
{
    if (!afterModal || m_inAfterModal)
        return;
    m_inAfterModal = true;
    try {
        afterModal();
    } catch (...) {
        m_inAfterModal = false;
        throw;
    }
    m_inAfterModal = false;
}

std::optional<std::string> ScriptedServices::inputBox(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& initialText)
{
    messages.push_back({nullptr, MessageForm::Plain, caption, prompt + " [" + initialText + "]"});
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << caption;
        return std::nullopt;
    }
    auto next = m_inputs.front();
    m_inputs.pop_front();
    return next;
}

std::optional<std::string> ScriptedServices::openFileDialog(const FileDialogOptions& options)
{
    dialogs.push_back(options);
    if (m_dialogs.empty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return std::nullopt;
    }
    auto next = m_dialogs.front();
    m_dialogs.pop_front();
    return next;
}

std::optional<std::string> ScriptedServices::saveFileDialog(const FileDialogOptions& options)
{
    return openFileDialog(options);
}

void ScriptedServices::processPendingEvents()
{
    ++polls;
    auto due = std::move(m_atNextPoll);
    m_atNextPoll.clear();
    for (const auto& pending : due)
        pending();
    const auto action = m_pollActions.find(polls);
    if (action != m_pollActions.end())
        action->second();
}

void ScriptedServices::setBusyCursor(bool busy)
{
    busyDepth += busy ? 1 : -1;
    EXPECT_GE(busyDepth, 0);
}

std::vector<std::string> ScriptedServices::texts() const
{
    std::vector<std::string> result;
    for (const auto& message : messages)
        result.push_back(message.text);
    return result;
}

bool ScriptedServices::saw(const std::string& text) const
{
    for (const auto& message : messages) {
        if (message.text == text)
            return true;
    }
    return false;
}

} // namespace twinfold::test
