// SPDX-License-Identifier: MIT
#include "core/common/memory.hpp"

#include <malloc.h>

namespace kavo {

bool keepFreedMemory() {
    // Above these the allocator's own adjustment is kept; 32 MB is the largest mapping
    // threshold it accepts.
    const bool trim = mallopt(M_TRIM_THRESHOLD, 256 << 20) == 1;
    const bool map = mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1;
    return trim && map;
}

} // namespace kavo
