#pragma once
// Writers for the two formats the game reads: plain PCM WAV (effects, voices) and Ogg Vorbis
// (music). Files are written to a temporary name and renamed, so a failed run never leaves a
// half-written asset behind.
#include <string>
#include <vector>

#include "dsp.h"

namespace sf {

// 16-bit PCM WAV with exactly the chunks "RIFF", "WAVE", "fmt " (16 bytes) and "data".
bool WriteWav(const std::string& path, const std::vector<float>& mono);
bool WriteWav(const std::string& path, const Stereo& stereo);

// Ogg Vorbis, 44100 Hz stereo, VBR quality q; the decoded length equals the frame count exactly.
bool WriteOgg(const std::string& path, const Stereo& stereo, float quality, int serial);

std::vector<uint8_t> WavBytes(int channels, const float* left, const float* right, size_t frames);

}  // namespace sf
