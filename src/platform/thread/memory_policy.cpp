#include "platform/thread/memory_policy.h"

#include <malloc.h>

namespace orlu {

void ReturnLargeBlocksToSystem() {
  // A fixed bound also keeps the heaps' trim bound at its default, so the
  // top of a heap goes back to the system once 128 KiB of it are free.
  // Allocators other than glibc's (a sanitizer's) ignore it.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

}  // namespace orlu
