#include "toolkit/random.h"

#include <chrono>

namespace tk {

namespace {

std::uint64_t state = 0x9E3779B97F4A7C15ull;
bool fixed = false;

std::uint64_t splitmix(std::uint64_t& s) {
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void Randomize() {
    if (fixed) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::uint64_t mix = static_cast<std::uint64_t>(now);
    state ^= splitmix(mix);
}

float Rnd() {
    // 24 random bits: every value is exactly representable as a float below 1.
    const std::uint64_t bits = splitmix(state) >> 40;
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

void fixRandomSeed(std::uint64_t seed) {
    state = seed;
    fixed = true;
}

void unfixRandomSeed() { fixed = false; }

}  // namespace tk
