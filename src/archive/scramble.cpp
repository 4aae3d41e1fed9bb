#include "archive/scramble.h"

#include <array>

namespace archive {

const uint8_t* ScrambleTable() {
    // Filled once from a fixed xorshift sequence: deterministic for the packer and the game alike.
    static const std::array<uint8_t, kScrambleTableSize> table = [] {
        std::array<uint8_t, kScrambleTableSize> t{};
        uint32_t s = 0x7A3C19E5u;
        for (auto& b : t) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            b = static_cast<uint8_t>(s >> 24);
        }
        return t;
    }();
    return table.data();
}

}  // namespace archive
