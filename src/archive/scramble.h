#pragma once
#include <cstdint>

// The fixed 65,536-byte table that scrambles the animation data file. The packer adds
// K[position mod 65536] to every byte of data3.dat; the archive subtracts it again on open.
namespace archive {

constexpr uint32_t kScrambleTableSize = 65536;
const uint8_t* ScrambleTable();

inline uint8_t ScrambleKey(uint64_t absolutePosition) {
    return ScrambleTable()[absolutePosition & (kScrambleTableSize - 1)];
}

}  // namespace archive
