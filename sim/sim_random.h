#pragma once
#include <cstdint>

namespace tavir::sim {

// A small generator whose sequence depends only on its seed, on every platform and library, so
// that --seed gives the same traffic and the same faults everywhere (splitmix64).
class SimRandom {
public:
    explicit SimRandom(uint64_t seed = 0) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    // Uniform in [low, high]; low when high < low.
    int32_t range(int32_t low, int32_t high) {
        if (high <= low) return low;
        uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
        return static_cast<int32_t>(low + static_cast<int64_t>(next() % span));
    }

    // true with probability p (p <= 0 never, p >= 1 always).
    bool chance(double p) { return p > 0.0 && (p >= 1.0 || unit() < p); }

private:
    uint64_t state_;
};

}  // namespace tavir::sim
