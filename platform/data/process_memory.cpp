#include "data/process_memory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__) && defined(M_ARENA_MAX)
  // Blocks up to this size come from the heap, where a freed one is reused,
  // not from a mapping of their own that is unmapped when freed.
  constexpr int kLargestFromHeap = 32 << 20;
  // Free memory at the heap's top is given back only beyond this much: the
  // working memory of the largest calls stays ready for the next.
  constexpr int kKeptFree = 256 << 20;
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, kLargestFromHeap);
  mallopt(M_TRIM_THRESHOLD, kKeptFree);
#endif
}
