#pragma once
#include <cstdint>
#include <random>

#include "core/singleton.h"

// The game's source of random integers: MT19937 seeded from the operating system.
class Random : public Singleton<Random> {
    friend class Singleton<Random>;

public:
    // Uniform integer in [min, max], both ends included. Range(n, n) draws nothing.
    int Range(int min, int max);
    // Reseeds the engine with the standard MT19937 initialisation (tests use it).
    void Seed(uint32_t seed) { engine_.seed(seed); }
    uint32_t Raw() { return static_cast<uint32_t>(engine_()); }

private:
    Random();
    std::mt19937 engine_;
};
