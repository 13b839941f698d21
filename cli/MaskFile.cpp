#include "MaskFile.h"

#include "platform/ErrorText.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace twinfold::cli
{

namespace
{

bool isBlank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

std::vector<std::string> masksOf(std::istream& lines)
{
    std::vector<std::string> masks;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!isBlank(line) && line.front() != '#')
            masks.push_back(line);
    }
    return masks;
}

std::vector<std::string> readMaskFile(const std::string& path)
{
    if (path == "-") {
        auto masks = masksOf(std::cin);
        if (std::cin.bad())
            throw std::runtime_error("standard input cannot be read");
        return masks;
    }
    // A directory opens as a stream on some systems and then reads as nothing at all.
    if (directoryExists(path))
        throw std::runtime_error("is a directory, not a file of masks");
    // Not only regular files: a pipe, as made by a shell's process substitution, is read too.
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(errno != 0 ? errorText(errno) : "cannot be opened");
    auto masks = masksOf(file);
    if (file.bad())
        throw std::runtime_error(errno != 0 ? errorText(errno) : "cannot be read");
    return masks;
}

} // namespace twinfold::cli
