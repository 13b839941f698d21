#pragma once

#include "platform/ErrorText.h"

#include <string>
#include <utility>

namespace twinfold
{

// What a run could not do with a directory.
enum class DirectoryAction { Enter, Make };

// A directory a run could not enter or make. The message stays the system's own; the
// directory travels with it, because a person reading a log after an unattended run has no
// window to tell them where the run stopped.
class DirectoryFailure : public IoError
{
public:
    DirectoryFailure(const IoError& cause, DirectoryAction action, std::string path)
        : IoError(cause), m_action(action), m_path(std::move(path))
    {
    }

    DirectoryAction action() const noexcept { return m_action; }
    const std::string& path() const noexcept { return m_path; }

private:
    DirectoryAction m_action;
    std::string m_path;
};

} // namespace twinfold
