// How often the calling thread waited.
#include "platform/ThreadWaits.h"

#include <sys/resource.h>

namespace twinfold
{

std::int64_t threadWaits()
{
    rusage usage{};
    if (::getrusage(RUSAGE_THREAD, &usage) != 0)
        return -1;
    return usage.ru_nvcsw;
}

} // namespace twinfold
