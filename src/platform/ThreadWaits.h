#pragma once

#include <cstdint>

namespace twinfold
{

// How many times the calling thread has given up the processor to wait (for a disk, the
// network, a lock) rather than being made to by the scheduler; -1 where the system does not
// say. Work between two readings that waited at all is work that more threads can overlap.
std::int64_t threadWaits();

} // namespace twinfold
