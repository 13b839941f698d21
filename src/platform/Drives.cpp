#include "FileSystem.h"

#include "PathRules.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace twinfold
{

namespace
{

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The mount table writes blanks, tabs, newlines and backslashes in names as "\ooo".
std::string decodeMountField(const std::string& field)
{
    std::string decoded;
    decoded.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            const int code =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            decoded += static_cast<char>(code);
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::vector<std::string> readMountPoints()
{
    std::vector<std::string> points;
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        if (fields >> device >> mountPoint)
            points.push_back(decodeMountField(mountPoint));
    }
    return points;
}

} // namespace

std::vector<std::string> listDrives()
{
    std::vector<std::string> points = readMountPoints();
    points.erase(std::remove(points.begin(), points.end(), "/"), points.end());
    sortByName(points);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    points.insert(points.begin(), "/");
    return points;
}

std::string driveOf(const std::string& path)
{
    const std::string full = expandFileName(path);
    std::string best = "/";
    for (const std::string& point : listDrives()) {
        if (point.size() > best.size() && isSameOrBelow(full, point, '/'))
            best = point;
    }
    return best;
}

} // namespace twinfold
