#pragma once

#include <stdexcept>
#include <string>

namespace twinfold
{

// The text shown for a platform error number: ENOENT "File not found"; ENOTDIR,
// ENAMETOOLONG, EINVAL, ELOOP "Invalid filename"; EMFILE, ENFILE "Too many open files";
// EACCES, EPERM, EROFS "File access denied"; ENOSPC, EDQUOT "Disk full"; else "I/O error %d".
std::string errorText(int errorNumber);

// What an error number means where a caller decides on it, so that no caller outside the
// platform compares against the system's own numbers.
// Something already stands under the name.
bool isNameTaken(int errorNumber);
int nameTakenError();
// Nothing stands under the name (or a directory on its path is missing).
bool isNotFound(int errorNumber);
// The file system cannot make files without a name at all (rather than failing this once).
bool isUnnamedUnsupported(int errorNumber);
// An open met something other than a regular file.
bool isNotRegularFile(int errorNumber);
// A path that names a directory where one is not expected, or a non-directory where one is.
bool isNotDirectory(int errorNumber);
// The file system holding the file is mounted read-only.
bool isReadOnlyVolume(int errorNumber);
int readOnlyVolumeError();
// No space left where the file was being written, or the user's quota is used up.
bool isVolumeFull(int errorNumber);

// An input-output failure that a command does not handle itself; its what() is errorText().
class IoError : public std::runtime_error
{
public:
    explicit IoError(int errorNumber);
    IoError(int errorNumber, const std::string& text);
    int errorNumber() const noexcept { return m_errorNumber; }

private:
    int m_errorNumber;
};

// The failure of a path longer than the platform takes.
IoError nameTooLongError();

// A failure with a designed text of its own ("Unable to write to %s", ...).
class CommandError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The text of the general error report: the failure's text with a full stop appended unless it
// already ends with one.
std::string errorReportText(const std::string& text);

} // namespace twinfold
