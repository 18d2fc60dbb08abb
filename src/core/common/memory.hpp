// SPDX-License-Identifier: MIT
#pragma once
// How the process keeps the memory it has freed.

namespace kavo {

// Keeps freed memory in the process for the next use instead of handing it back to the
// system at once: the marks, the overview and the check fill again and again with texts of
// the same sizes, and memory handed back is taken again page by page, which cost more than
// reading the tree itself when conditions are large. The peak stays what it was; memory is
// still handed back above 256 MB of free space, and blocks above 32 MB still come and go
// whole. Returns whether the allocator took both settings. Call it once, at the start.
bool keepFreedMemory();

} // namespace kavo
