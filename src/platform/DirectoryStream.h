#pragma once

#include "FileServices.h"

#include <cerrno>
#include <dirent.h>
#include <sys/types.h>

namespace twinfold
{

// Calls onEntry(name, type) for each entry of the directory open at dirFd ("." and ".."
// included; type is a DT_ value, DT_UNKNOWN where the file system does not say), reading the
// entries straight from the kernel in large batches. A walk reads thousands of directories;
// a stream object around each descriptor would cost several calls more for every one.
// 0 when the directory was read to its end, else the system's error number.
//
// A glance (glance true) stops after a batch that left the buffer well short of full: on the
// usual file systems that batch held the rest of the directory, and the call that would only
// confirm the end is saved. Rare file systems hand out short batches early, so a glance may
// miss entries; it serves only searches that lose nothing by a miss.
template <typename OnEntry>
[[nodiscard]] int forEachDirectoryEntry(int dirFd, OnEntry&& onEntry, bool glance = false)
{
    alignas(dirent64) char buffer[32768];
    for (;;) {
        // Through the file services, so that a test can make a listing fail part-way.
        const IoResult<std::int64_t> read =
            fileServices().readDirectory(dirFd, buffer, sizeof buffer);
        if (!read.ok()) {
            if (read.error == EINTR)
                continue;
            return read.error;
        }
        const auto n = static_cast<ssize_t>(read.value);
        if (n == 0)
            return 0;
        for (ssize_t offset = 0; offset < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            onEntry(static_cast<const char*>(entry->d_name), entry->d_type);
        }
        if (glance && n < static_cast<ssize_t>(sizeof buffer) / 2)
            return 0;
    }
}

} // namespace twinfold
