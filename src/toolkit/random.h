#pragma once
// The program's random generator: Randomize re-seeds it from the clock, Rnd
// draws a single-precision fraction in [0, 1).
//
// Re-seeding mixes the clock into the running state instead of replacing it,
// so re-seeding before every draw (as the reorder and the random draws do)
// still gives independent draws even when the clock has not moved between two
// calls. Tests fix the seed, which also makes Randomize a no-op.

#include <cstdint>

namespace tk {

void Randomize();
float Rnd();

// Fixes the sequence for tests: Randomize stops reading the clock.
void fixRandomSeed(std::uint64_t seed);
// Back to clock seeding.
void unfixRandomSeed();

}  // namespace tk
