#include "Wildcard.h"

namespace twinfold
{

namespace
{

char foldCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Greedy matching that remembers only the last "*": when a later literal fails, that star takes
// one more character and matching resumes after it. Earlier stars never need revisiting, so
// the work stays proportional to name length times pattern length at worst.
bool matchesExactly(std::string_view name, std::string_view pattern)
{
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern.empty())
        return false;
    if (matchesExactly(name, pattern))
        return true;
    // A name without an extension is searched as if it had an empty one.
    if (name.find('.') == std::string_view::npos) {
        std::string dotted(name);
        dotted += '.';
        return matchesExactly(dotted, pattern);
    }
    return false;
}

std::vector<std::string> splitMask(std::string_view mask)
{
    std::vector<std::string> patterns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = mask.find(';', start);
        if (end == std::string_view::npos) {
            patterns.emplace_back(mask.substr(start));
            return patterns;
        }
        patterns.emplace_back(mask.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace twinfold
