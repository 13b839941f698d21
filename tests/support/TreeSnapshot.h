#pragma once

#include <map>
#include <string>

namespace twinfold::test
{

// Every entry below root by its path below it: a file with its contents, a directory with a
// trailing "/" and no contents. Comparing two of them compares whole trees, so a stray
// temporary file or a file copied where it should not be shows up as a difference. The tree is
// read from open directories, so paths beyond the system's limit are read too.
std::map<std::string, std::string> treeOf(const std::string& root);

} // namespace twinfold::test
