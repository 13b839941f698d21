#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace twinfold::test
{

// A fresh directory under /tmp for one test, removed with everything in it when the object
// goes out of scope (read-only and unreadable subdirectories included).
//
// Relative paths below are taken inside the directory and use "/"; missing parent directories
// are created. Every helper throws std::runtime_error on failure, so a test never goes on with
// a half-built tree.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The absolute path of the directory, without a trailing separator.
    const std::string& path() const { return m_path; }

    // path() + "/" + relativePath.
    std::string pathOf(const std::string& relativePath) const;

    // Writes a file (replacing one that is there) and, if given, sets its modification time
    // in POSIX seconds. Returns the file's absolute path.
    std::string writeFile(const std::string& relativePath, const std::string& contents,
                          std::optional<std::int64_t> mtime = std::nullopt) const;

    // Makes a directory and any missing parents. Returns its absolute path.
    std::string makeDir(const std::string& relativePath) const;

    // The whole contents of a file.
    std::string readFile(const std::string& relativePath) const;

private:
    std::string m_path;
};

} // namespace twinfold::test
