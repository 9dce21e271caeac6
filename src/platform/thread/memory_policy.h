// How the process's allocator treats large blocks, set once at start-up.
#pragma once

namespace orlu {

// From here on every block of 128 KiB or more is mapped from the system on
// its own and unmapped as soon as it is freed; smaller ones come from the
// allocator's heaps as before. Without it the allocator raises that bound to
// the largest block freed so far, after which the reply buffers of hundreds
// of fetching workers (up to a few MB each) are carved out of per-thread
// heaps that keep their pages once the buffers are freed: a job against
// servers that send without end then holds about a gigabyte long after its
// last row. Call before the first worker starts; repeating it does no harm.
void ReturnLargeBlocksToSystem();

}  // namespace orlu
