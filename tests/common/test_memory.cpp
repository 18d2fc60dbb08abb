// SPDX-License-Identifier: MIT
// Freed memory stays with the process for the next fill of the same size.
#include "core/common/memory.hpp"

#include <gtest/gtest.h>

#include <malloc.h>
#include <memory>

TEST(KeepFreedMemory, ABlockFreedStaysForTheNextOne) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker's allocator stands in for the C library's";
#endif
    ASSERT_TRUE(kavo::keepFreedMemory());
    constexpr std::size_t size = 8 << 20;
    {
        // Touched, as a read fills it, then freed.
        auto block = std::make_unique<char[]>(size);
        block[size - 1] = 1;
    }
    // Without the setting the block would be unmapped (above the default mapping threshold)
    // or trimmed from the heap's top; kept, it is free space of the heap.
    EXPECT_GE(mallinfo2().fordblks, size);
}
