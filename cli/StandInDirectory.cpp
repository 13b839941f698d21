#include "StandInDirectory.h"

#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <filesystem>
#include <random>

namespace twinfold::cli
{

StandInDirectory::StandInDirectory()
{
    std::error_code error;
    const std::string base = std::filesystem::temp_directory_path(error).string();
    if (error)
        throw IoError(error.value());
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string candidate =
            joinPath(base, "twinfold-dry-run-" + std::to_string(random()));
        if (createDirectory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw IoError(nameTakenError(),
                  "no empty directory could be made to stand in for the destination");
}

StandInDirectory::~StandInDirectory()
{
    static_cast<void>(removeDirectory(m_path)); // one that cannot be removed is left behind
}

} // namespace twinfold::cli
