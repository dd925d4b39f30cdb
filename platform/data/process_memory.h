#pragma once
// How a process that builds or loads whole budgets' packets keeps its memory
// between them. A 10,000-party packet takes several megabytes of blocks;
// left to its defaults, glibc maps each large block on its own and unmaps it
// when freed, gives back the heap's free top, and gives every thread its own
// arena, so each such call (on the server, on a worker that has not served
// one lately) faults its memory in again page by page. Call once, at
// start-up, before any thread is made.

// Makes the process's threads share one arena (small blocks still come from
// each thread's own cache, without a lock) and keeps freed memory, up to a
// ceiling, for the next packet. A no-op where the C library is not glibc.
void KeepFreedMemoryForReuse();
