#include "TreeSnapshot.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace twinfold::test
{
namespace
{

struct Descriptor {
    int fd;
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

void collectTree(int dirFd, const std::string& prefix, std::map<std::string, std::string>& tree)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(::dup(dirFd)), ::closedir);
    ASSERT_TRUE(dir) << prefix;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const Descriptor file(::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        ASSERT_GE(file.fd, 0) << prefix << name;
        struct stat st {
        };
        ASSERT_EQ(::fstat(file.fd, &st), 0) << prefix << name;
        if (S_ISDIR(st.st_mode)) {
            tree[prefix + name + "/"];
            collectTree(file.fd, prefix + name + "/", tree);
        } else {
            std::string contents(static_cast<std::size_t>(st.st_size), '\0');
            EXPECT_EQ(::read(file.fd, contents.data(), contents.size()), st.st_size);
            tree[prefix + name] = contents;
        }
    }
}

} // namespace

std::map<std::string, std::string> treeOf(const std::string& root)
{
    std::map<std::string, std::string> tree;
    const Descriptor top(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    EXPECT_GE(top.fd, 0) << root;
    if (top.fd >= 0)
        collectTree(top.fd, "", tree);
    return tree;
}

} // namespace twinfold::test
