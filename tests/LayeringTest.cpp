// The folders of the core are layers: no file includes one of a layer above its own.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace twinfold::test
{
namespace
{

namespace fs = std::filesystem;

// The layer order and the pending files of a tree's layers.txt.
struct Layers {
    std::vector<std::string> order;
    std::map<std::string, std::string> pending; // file stem below the root -> its layer

    int rankOf(const std::string& stem) const
    {
        const auto moved = pending.find(stem);
        const std::string layer =
            moved != pending.end() ? moved->second : stem.substr(0, stem.find('/'));
        const auto found = std::find(order.begin(), order.end(), layer);
        return found == order.end() ? -1 : static_cast<int>(found - order.begin());
    }
};

Layers readLayers(const fs::path& root)
{
    Layers layers;
    std::ifstream in(root / "layers.txt");
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first.front() == '#')
            continue;
        for (std::string word; words >> word;) {
            if (first == "layers")
                layers.order.push_back(word);
            else
                layers.pending[word] = first;
        }
    }
    return layers;
}

std::string stemOf(const fs::path& root, const fs::path& file)
{
    return fs::relative(file, root).replace_extension().generic_string();
}

// Every include of a file under root that names a file of a higher layer, as "file -> include".
std::vector<std::string> upwardIncludes(const fs::path& root)
{
    const Layers layers = readLayers(root);
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const std::string stem = stemOf(root, entry.path());
        const int own = layers.rankOf(stem);
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, match, include))
                continue;
            const std::string named = match[1];
            // A name without a folder is a file beside the including one.
            const fs::path target = named.find('/') == std::string::npos
                                        ? entry.path().parent_path() / named
                                        : root / named;
            if (layers.rankOf(stemOf(root, target)) > own)
                found.push_back(stem + " -> " + named);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(Layering, NoIncludeOfTheCorePointsUpward)
{
    const fs::path root = TWINFOLD_SOURCE_DIR "/src";
    ASSERT_EQ(readLayers(root).order.size(), 7u);
    EXPECT_EQ(upwardIncludes(root), std::vector<std::string>{});
}

TEST(Layering, TheCheckFindsAnUpwardIncludeAndHonoursPendingFiles)
{
    TempDir tmp;
    tmp.writeFile("layers.txt", "# order\nlayers platform engine ui\nengine platform/Moving\n");
    tmp.writeFile("platform/Base.h", "#include \"platform/Moving.h\"\n");
    tmp.writeFile("platform/Moving.h", "");
    tmp.writeFile("engine/Run.cpp", "#include \"Run.h\"\n#include \"platform/Moving.h\"\n"
                                    "  #  include \"ui/Main.h\"\n");
    tmp.writeFile("engine/Run.h", "");
    tmp.writeFile("ui/Main.h", "#include \"engine/Run.h\"\n");
    EXPECT_EQ(upwardIncludes(tmp.path()),
              (std::vector<std::string>{"engine/Run -> ui/Main.h",
                                        "platform/Base -> platform/Moving.h"}));
}

} // namespace
} // namespace twinfold::test
