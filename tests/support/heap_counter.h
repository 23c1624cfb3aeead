// Counts the heap allocations a test program makes while `counting` is set:
// the test support replaces the global operator new and delete, so every
// allocation of a test program goes through the counter.
#pragma once
#include <atomic>

extern std::atomic<bool> counting;
extern std::atomic<long> allocations;
