#pragma once

#include "FileHandle.h"

#include <string>

namespace twinfold
{

// A path in a form the system takes in one call: a directory handle and a path relative to it
// that stays within the system's path limit.
//
// A path within the limit is used as it is, relative to the handle it was given with (no call
// is made, nothing is opened). A longer one is reached step by step: its leading directories
// are opened, each step's piece within the limit, and the last of them becomes the anchor of
// the rest. Symbolic links on the way are followed as the system follows them in a full path,
// and a directory on the way needs only search permission, so a long path reaches exactly what
// a short one with the same parts would.
//
// The rest points into the path given, which must outlive the object.
class AnchoredPath
{
public:
    AnchoredPath(int baseFd, const std::string& path);

    // 0 when the path was anchored, else the error of opening a directory on the way.
    int error() const { return m_error; }
    bool ok() const { return m_error == 0; }

    int fd() const { return m_fd; }
    const char* rest() const { return m_rest; }

private:
    void openLeadingDirectories(const std::string& path);

    FileHandle m_anchor;
    int m_fd;
    const char* m_rest;
    int m_error = 0;
};

// True when the system takes the path in one call.
bool withinPathLimit(const std::string& path);

} // namespace twinfold
