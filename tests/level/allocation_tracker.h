// Replaces the global operator new of the test program that links allocation_tracker.cpp, so
// tests can see what a load asked for: its largest single allocation and the most it held at
// once. A damaged count or size that would ask for gigabytes shows up even when the machine
// could have given them.
#pragma once

#include <cstddef>

namespace slab::test {

// Starts a new measurement: the largest allocation is forgotten, the peak starts from what
// is held now.
void ResetAllocations();
size_t LargestAllocation();
// The most bytes held at once since the reset, beyond what was held at the reset.
size_t PeakAllocatedSinceReset();

}  // namespace slab::test
