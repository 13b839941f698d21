// The mirrored-directory arithmetic on arbitrary roots and relative paths, with either
// separator: a directory below the source root maps to the same relative path below the
// destination root, and the other path functions hold together.
#include "FuzzInput.h"

#include "platform/PathRules.h"

#include <cstdlib>

using namespace twinfold;
using twinfold::fuzz::FuzzInput;

namespace
{

void checkWith(char sep, const std::string& sourceRoot, const std::string& relative,
               const std::string& destRoot)
{
    const std::string current = relative.empty() ? sourceRoot : joinPath(sourceRoot, relative, sep);
    const std::string mirrored = mirroredDirectory(sourceRoot, current, destRoot, sep);
    if (!destRoot.empty() && !isSameOrBelow(mirrored, destRoot, sep) &&
        !(endsWithSeparator(destRoot, sep) && mirrored + sep == destRoot))
        std::abort();
    if (relative.empty() && mirrored != destRoot &&
        !(endsWithSeparator(destRoot, sep) && mirrored + sep == destRoot))
        std::abort();

    extractFileName(current, sep);
    extractFilePath(current, sep);
    isFullPathText(current, sep);
    if (isFullPathText(current, sep) && !isRootPath(current, sep)) {
        const auto chain = ancestorChain(current, sep);
        if (chain.empty())
            std::abort();
        parentPath(current, sep);
    }
    nameLess(sourceRoot, destRoot);
    recordedPath(current);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string sourceRoot = input.next();
    const std::string relative = input.next();
    const std::string destRoot = input.rest();
    // A relative path is a chain of names: no empty step, no separator at either end.
    for (const char sep : {'/', '\\'}) {
        if (relative.find(std::string(2, sep)) != std::string::npos ||
            (!relative.empty() && (relative.front() == sep || relative.back() == sep)))
            continue;
        checkWith(sep, sourceRoot, relative, destRoot);
    }
    return 0;
}
