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
// The file system cannot rename without replacing (rather than failing this once).
bool isNoReplaceUnsupported(int errorNumber);
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
// Where the failing call knows which path it was about, the failure carries it: the system's
// texts name none, and "File not found." alone leaves the user guessing which.
class IoError : public std::runtime_error
{
public:
    explicit IoError(int errorNumber);
    IoError(int errorNumber, const std::string& text);
    int errorNumber() const noexcept { return m_errorNumber; }

    // The path the failure is about; empty when none is known.
    const std::string& path() const noexcept { return m_path; }
    // The same failure about a path; a path it already carries (a deeper one) is kept.
    IoError about(const std::string& path) const;

private:
    int m_errorNumber;
    std::string m_path;
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
// The same for a failure; one about a path that its text does not name gets the path on a
// second line, the designed first line unchanged.
std::string errorReportText(const std::exception& failure);

} // namespace twinfold
