#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive/archive.h"

// Builders for the sound tests: WAV files of any layout, Ogg Vorbis tracks encoded on the spot,
// and archive indices over data files written to a temporary folder.
namespace soundtest {

struct WavSpec {
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    uint32_t fmtSize = 16;     // F; bytes beyond 16 are written as zeros
    bool fact = false;         // a 12-byte "fact" chunk before "data"
    bool listChunk = false;    // a "LIST" chunk before "data"
    int64_t dataSizeOverride = -1;  // a lying data size field
};

std::vector<uint8_t> MakeWav(const WavSpec& format, const std::vector<uint8_t>& pcm);
// 16-bit PCM bytes from samples.
std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples);

// Interleaved stereo test signal of `frames` frames: two tones on the left, one on the right,
// never periodic within a few seconds, so that a shifted stretch does not match.
std::vector<int16_t> TestSignal(uint32_t frames, uint32_t rate = 44100);
// Encodes interleaved 16-bit samples as Ogg Vorbis (quality 0.5).
std::vector<uint8_t> EncodeOgg(const std::vector<int16_t>& interleaved, int channels, long rate);
// Decodes a whole Ogg Vorbis file linearly: the reference the streamed output is compared with.
std::vector<int16_t> DecodeOgg(const std::vector<uint8_t>& ogg);

// Fills one of the global archive indices with the given entries, stored in a data file of its
// own in a temporary folder. The descriptors stay open until the process ends.
void SetArchive(ArchiveId id, const std::map<std::string, std::vector<uint8_t>>& entries);

// Largest absolute difference between got[i] and want[i] over n samples (n must fit both).
int MaxDiff(const int16_t* got, const int16_t* want, size_t n);

}  // namespace soundtest
