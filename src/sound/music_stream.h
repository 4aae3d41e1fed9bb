#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace sound {

// One Ogg Vorbis track decoded from a copy held in memory, as 16-bit little-endian signed PCM.
// Keeps the decoder library out of the headers that include the sound service.
class MusicStream {
public:
    enum class OpenResult { Ok, OpenFailed, NoInfo };

    MusicStream();
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Closes any open track and opens a copy of size bytes. OpenFailed when the bytes are not a
    // stream the decoder accepts, NoInfo when it has no stream description or no channels;
    // either way nothing stays open.
    OpenResult Open(const uint8_t* data, size_t size);
    // Frees the decoder and its copy (harmless when nothing is open).
    void Close();

    bool IsOpen() const { return channels_ > 0; }
    int Channels() const { return channels_; }
    // Length in sample frames (negative when the decoder cannot tell).
    int64_t TotalFrames() const { return totalFrames_; }
    // Sample frame the next Read starts at (negative on error).
    int64_t Tell();
    // Moves to a sample frame; false when the decoder refuses.
    bool Seek(int64_t frame);
    // Decodes up to bytes bytes into dst: the bytes written, 0 at the end of the stream,
    // negative on a decoder error.
    long Read(uint8_t* dst, int bytes);

private:
    struct Decoder;
    std::unique_ptr<Decoder> decoder_;
    int channels_ = 0;
    int64_t totalFrames_ = 0;
};

}  // namespace sound
