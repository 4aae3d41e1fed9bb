// libFuzzer entry for the music decoder path: the bytes are opened as a track through the game's
// memory callbacks, decoded to the end, then a seek (to a frame taken from the input) and a
// second read. Checks what the game relies on while streaming: a read never claims more bytes
// than asked, whole 16-bit frames only, and a track that refused to open leaves nothing open.
// Positions are not checked: they come from the stream's own granule positions, which a damaged
// file can send past the total and back again (the game's fill copes; see the music tests).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sound/music_stream.h"

namespace {

// Decodes until the end, an error or a budget of bytes (a long stream from a small input is
// possible: the fuzzer must keep going). Aborts when a read breaks its contract.
void ReadThrough(sound::MusicStream& stream, long budget) {
    uint8_t buffer[4096 + 8];
    int ask = 4096;
    while (budget > 0) {
        std::memset(buffer + ask, 0xA5, 8);
        const long got = stream.Read(buffer, ask);
        if (got <= 0) {
            return;
        }
        if (got > ask || got % (2 * stream.Channels()) != 0) {
            std::abort();
        }
        for (int i = 0; i < 8; ++i) {
            if (buffer[ask + i] != 0xA5) {
                std::abort();  // wrote past the size it was given
            }
        }
        stream.Tell();  // asked as the game asks it between reads
        budget -= got;
        ask = ask == 4096 ? 1000 : 4096;  // odd sizes too: the decoder must round down to frames
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sound::MusicStream stream;
    const sound::MusicStream::OpenResult result = stream.Open(data, size);
    if (result != sound::MusicStream::OpenResult::Ok) {
        if (stream.IsOpen() || stream.Channels() != 0) {
            std::abort();
        }
        return 0;
    }
    if (stream.Channels() <= 0) {
        std::abort();
    }
    ReadThrough(stream, 1 << 20);
    // A seek target from the last bytes of the input: in range, past the end or negative.
    int64_t frame = 0;
    if (size >= 4) {
        int32_t raw;
        std::memcpy(&raw, data + size - 4, sizeof raw);
        frame = raw;
    }
    if (stream.Seek(frame)) {
        if (frame < 0) {
            std::abort();  // a negative frame must be refused
        }
        ReadThrough(stream, 1 << 18);
    }
    stream.Close();
    if (stream.IsOpen()) {
        std::abort();
    }
    return 0;
}
