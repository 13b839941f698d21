#include "PathRules.h"

#include <algorithm>

namespace twinfold
{

namespace
{

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char upperAsciiChar(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// With '\\' a drive colon ends the directory part just as a separator does ("C:name").
std::size_t lastDirectoryBreak(std::string_view path, char sep)
{
    if (sep == '\\')
        return path.find_last_of(":\\");
    return path.rfind(sep);
}

bool startsWith(std::string_view text, std::string_view prefix, char sep)
{
    if (text.size() < prefix.size())
        return false;
    const std::string_view head = text.substr(0, prefix.size());
    // Windows names are case-insensitive; POSIX names are compared exactly.
    if (sep == '\\')
        return upperAscii(head) == upperAscii(prefix);
    return head == prefix;
}

} // namespace

bool endsWithSeparator(std::string_view path, char sep)
{
    return !path.empty() && path.back() == sep;
}

std::string joinPath(std::string_view dir, std::string_view name, char sep)
{
    std::string result(dir);
    if (!endsWithSeparator(dir, sep))
        result += sep;
    result += name;
    return result;
}

std::string extractFileName(std::string_view path, char sep)
{
    const std::size_t cut = lastDirectoryBreak(path, sep);
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string extractFilePath(std::string_view path, char sep)
{
    const std::size_t cut = lastDirectoryBreak(path, sep);
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

bool isFullPathText(std::string_view text, char sep)
{
    if (sep == '\\')
        return text.size() >= 3 && text[1] == ':' && text[2] == '\\';
    return !text.empty() && text.front() == sep;
}

bool isRootPath(std::string_view path, char sep)
{
    if (sep == '\\') {
        const bool drive = path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
        return drive && (path.size() == 2 || (path.size() == 3 && path[2] == '\\'));
    }
    return path.size() == 1 && path[0] == sep;
}

std::string parentPath(std::string_view path, char sep)
{
    if (isRootPath(path, sep))
        return std::string(path);
    std::string_view trimmed = path;
    if (endsWithSeparator(trimmed, sep))
        trimmed.remove_suffix(1);
    const std::size_t cut = trimmed.rfind(sep);
    // A bare relative name has no parent to go to; calling it its own parent keeps every
    // "climb until the parent is the path itself" loop finite.
    if (cut == std::string_view::npos)
        return std::string(path);
    const std::string_view withSeparator = trimmed.substr(0, cut + 1);
    if (isRootPath(withSeparator, sep))
        return std::string(withSeparator);
    return std::string(trimmed.substr(0, cut));
}

std::vector<std::string> ancestorChain(std::string_view path, char sep)
{
    std::vector<std::string> chain{std::string(path)};
    for (;;) {
        std::string parent = parentPath(chain.back(), sep);
        if (parent == chain.back())
            break;
        chain.push_back(std::move(parent));
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

std::string mirroredDirectory(std::string_view sourceRoot, std::string_view current,
                              std::string_view destRoot, char sep)
{
    std::string relative;
    if (current.size() > sourceRoot.size())
        relative = current.substr(sourceRoot.size());
    if (!relative.empty() && relative.front() != sep)
        relative.insert(relative.begin(), sep);

    if (endsWithSeparator(destRoot, sep)) {
        std::string result(destRoot.substr(0, destRoot.size() - 1));
        if (relative.empty())
            result += sep;
        else
            result += relative;
        return result;
    }
    return std::string(destRoot) + relative;
}

bool isSameOrBelow(std::string_view path, std::string_view dir, char sep)
{
    if (!startsWith(path, dir, sep))
        return false;
    if (path.size() == dir.size())
        return true;
    return endsWithSeparator(dir, sep) || path[dir.size()] == sep;
}

std::string recordedPath(std::string_view path)
{
#ifdef _WIN32
    return upperAscii(path);
#else
    return std::string(path);
#endif
}

std::string upperAscii(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperAsciiChar);
    return result;
}

bool nameLess(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    // Equal bytes are equal in either case: only from the first difference on does case matter.
    std::size_t i = 0;
    while (i < common && a[i] == b[i])
        ++i;
    for (; i < common; ++i) {
        const char ua = upperAsciiChar(a[i]);
        const char ub = upperAsciiChar(b[i]);
        if (ua != ub)
            return static_cast<unsigned char>(ua) < static_cast<unsigned char>(ub);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return upperAsciiChar(x) == upperAsciiChar(y);
           });
}

void sortByName(std::vector<std::string>& names)
{
    // Every listing a run reads is sorted: the comparison is called directly, not through a
    // function pointer.
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return nameLess(a, b); });
}

} // namespace twinfold
