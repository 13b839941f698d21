#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twinfold
{

// Path arithmetic as pure functions of strings and a separator, so that the rules hold for
// Windows paths ("C:\Data") and POSIX paths ("/data") alike.

#ifdef _WIN32
inline constexpr char NativeSeparator = '\\';
#else
inline constexpr char NativeSeparator = '/';
#endif

bool endsWithSeparator(std::string_view path, char sep = NativeSeparator);

// A directory and a name joined with one separator between them, none added when the
// directory already ends with one.
std::string joinPath(std::string_view dir, std::string_view name, char sep = NativeSeparator);

// The part after the last separator (and, with '\\', after a drive colon).
std::string extractFileName(std::string_view path, char sep = NativeSeparator);

// The part up to and including the last separator (and, with '\\', a drive colon).
std::string extractFilePath(std::string_view path, char sep = NativeSeparator);

// True for a full path as a user types it: beginning with the separator, or with '\\' a drive
// letter, a colon and the separator.
bool isFullPathText(std::string_view text, char sep = NativeSeparator);

// True for a root: "/" on POSIX, "C:\" or "C:" with '\\'.
bool isRootPath(std::string_view path, char sep = NativeSeparator);

// The parent of a full directory path (no trailing separator except for a root); a root is its
// own parent.
std::string parentPath(std::string_view path, char sep = NativeSeparator);

// The chain of a full directory path: the root, each ancestor below it, the path itself.
std::vector<std::string> ancestorChain(std::string_view path, char sep = NativeSeparator);

// The destination directory that mirrors `current` (a directory at or below sourceRoot)
// below destRoot:
//   C:\Data + C:\Data\Sub\Deep + D:\Back -> D:\Back\Sub\Deep
//   C:\ + C:\Sub + D:\Back -> D:\Back\Sub;  C:\Data + C:\Data + D:\ -> D:\ .
std::string mirroredDirectory(std::string_view sourceRoot, std::string_view current,
                              std::string_view destRoot, char sep = NativeSeparator);

// True when `path` is `dir` itself or lies below it.
bool isSameOrBelow(std::string_view path, std::string_view dir, char sep = NativeSeparator);

// The recorded form of a path in result lists and batch entries. Windows names are
// case-insensitive and are recorded in upper case; POSIX names are case-sensitive and keep
// their case, since upper-casing would name another file or none.
std::string recordedPath(std::string_view path);

// Upper-casing of the letters a to z only.
std::string upperAscii(std::string_view text);

// Case-insensitive name order with ties broken by byte order, so that sorting is stable.
bool nameLess(std::string_view a, std::string_view b);

// Whether two names differ at most in the case of the letters a to z: nameLess() sorts such
// names next to each other.
bool sameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Sorts names into nameLess() order.
void sortByName(std::vector<std::string>& names);

} // namespace twinfold
