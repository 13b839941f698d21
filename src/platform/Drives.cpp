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

// File systems of the kernel's own, which hold nothing a user would synchronise.
bool isPseudoFileSystem(const std::string& type)
{
    static const char* const pseudo[] = {
        "proc",      "sysfs",     "cgroup",          "cgroup2",    "devpts",
        "mqueue",    "debugfs",   "tracefs",         "securityfs", "pstore",
        "bpf",       "configfs",  "fusectl",         "autofs",     "binfmt_misc",
        "devtmpfs",  "hugetlbfs", "rpc_pipefs",      "nsfs",       "efivarfs",
        "selinuxfs", "nfsd",      "fuse.gvfsd-fuse", "fuse.portal"};
    return std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo);
}

// The kernel's interface trees: whatever is mounted in them (/dev/shm, /sys/fs/cgroup, ...)
// serves the system, not the user.
bool isUnderKernelTree(const std::string& point)
{
    for (const char* tree : {"/proc", "/sys", "/dev"}) {
        if (isSameOrBelow(point, tree, '/'))
            return true;
    }
    return false;
}

std::string readMountTable()
{
    std::ifstream mounts("/proc/self/mounts");
    std::ostringstream table;
    table << mounts.rdbuf();
    return table.str();
}

} // namespace

std::vector<std::string> drivesOfMountTable(const std::string& table)
{
    std::vector<std::string> points;
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        std::string type;
        if (!(fields >> device >> mountPoint >> type) || isPseudoFileSystem(type))
            continue;
        std::string point = decodeMountField(mountPoint);
        if (point != "/" && !isUnderKernelTree(point))
            points.push_back(std::move(point));
    }
    sortByName(points);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    points.insert(points.begin(), "/");
    return points;
}

std::vector<std::string> listDrives()
{
    return drivesOfMountTable(readMountTable());
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
