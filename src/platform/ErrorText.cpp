#include "ErrorText.h"

#include <cerrno>

namespace twinfold
{

std::string errorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

bool isNameTaken(int errorNumber)
{
    return errorNumber == EEXIST;
}

int nameTakenError()
{
    return EEXIST;
}

bool isNotFound(int errorNumber)
{
    return errorNumber == ENOENT;
}

bool isUnnamedUnsupported(int errorNumber)
{
    return errorNumber == EOPNOTSUPP || errorNumber == EISDIR || errorNumber == EINVAL ||
           errorNumber == ENOENT;
}

bool isNoReplaceUnsupported(int errorNumber)
{
    return errorNumber == EINVAL || errorNumber == ENOSYS || errorNumber == EOPNOTSUPP;
}

bool isNotRegularFile(int errorNumber)
{
    return errorNumber == EISDIR || errorNumber == EINVAL;
}

bool isNotDirectory(int errorNumber)
{
    return errorNumber == ENOTDIR;
}

bool isReadOnlyVolume(int errorNumber)
{
    return errorNumber == EROFS;
}

int readOnlyVolumeError()
{
    return EROFS;
}

bool isVolumeFull(int errorNumber)
{
    return errorNumber == ENOSPC || errorNumber == EDQUOT;
}

IoError::IoError(int errorNumber) : IoError(errorNumber, errorText(errorNumber)) {}

IoError::IoError(int errorNumber, const std::string& text)
    : std::runtime_error(text), m_errorNumber(errorNumber)
{
}

IoError IoError::about(const std::string& path) const
{
    IoError failure(*this);
    if (failure.m_path.empty())
        failure.m_path = path;
    return failure;
}

std::string errorReportText(const std::string& text)
{
    if (!text.empty() && text.back() == '.')
        return text;
    return text + ".";
}

std::string errorReportText(const std::exception& failure)
{
    std::string text = errorReportText(std::string(failure.what()));
    const auto* io = dynamic_cast<const IoError*>(&failure);
    if (io && !io->path().empty() && text.find(io->path()) == std::string::npos)
        text += "\n" + io->path();
    return text;
}

IoError nameTooLongError()
{
    return IoError(ENAMETOOLONG);
}

} // namespace twinfold
