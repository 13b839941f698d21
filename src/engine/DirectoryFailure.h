#pragma once

#include "platform/ErrorText.h"

#include <string>

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
    // The directory is the one the run was at, even where the cause names a deeper path.
    DirectoryFailure(const IoError& cause, DirectoryAction action, const std::string& path)
        : IoError(IoError(cause.errorNumber(), cause.what()).about(path)), m_action(action)
    {
    }

    DirectoryAction action() const noexcept { return m_action; }

private:
    DirectoryAction m_action;
};

} // namespace twinfold
