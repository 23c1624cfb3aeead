// Shared by the benchmarks: thread CPU time (so other work on a shared
// machine does not skew the numbers) and the reference every cost is also
// reported against, one full-screen opaque blit measured in the same run.
#pragma once

double BenchThreadNs();
// Nanoseconds of one 800 x 600 opaque DrawPattern: the best of several batches.
double ReferenceBlitNs();
