#include "core/random.h"

#include <limits>

Random::Random() : engine_(5489u) {
    std::random_device device;
    engine_.seed(static_cast<uint32_t>(device()));
}

int Random::Range(int min, int max) {
    const uint32_t n = static_cast<uint32_t>(max) - static_cast<uint32_t>(min) + 1u;
    if (n == 0) {
        return static_cast<int>(static_cast<uint32_t>(min) + Raw());
    }
    if (n == 1) {
        return min;
    }
    constexpr uint32_t M = std::numeric_limits<uint32_t>::max();
    // Rejection sampling: accept r only from the largest prefix of the range that is a whole
    // number of copies of n, so that r mod n is exactly uniform.
    for (;;) {
        const uint32_t r = Raw();
        if (r / n < M / n || M % n == n - 1) {
            return static_cast<int>(static_cast<uint32_t>(min) + r % n);
        }
    }
}
