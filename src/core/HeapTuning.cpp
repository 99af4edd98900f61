#include "core/HeapTuning.h"

#include <cstdlib> // defines __GLIBC__ with the C library's own macros

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tav {

void keepFreedHeapForReuse()
{
#if defined(__GLIBC__)
    constexpr int kKeptFreeHeap = 16 * 1024 * 1024;
    constexpr int kOwnMappingFrom = 4 * 1024 * 1024;
    // Setting one of the two stops the library adjusting the other by
    // itself: both are set.
    mallopt(M_TRIM_THRESHOLD, kKeptFreeHeap);
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
#endif
}

} // namespace tav
