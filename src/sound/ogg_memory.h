#pragma once
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace sound {

// A whole compressed track held in memory, read by the decoder through MemoryCallbacks().
struct MemorySource {
    std::unique_ptr<uint8_t[]> data;
    uint32_t size = 0;
    int64_t position = 0;  // byte offset; -1 after a failed seek
};

// The four decoder callbacks over a MemorySource:
// read: copies up to size * count bytes from the position (0 at or past the end or when the
//   position is invalid; whole elements only); no source gives the maximum size_t (error).
// seek: origin 0 start, 1 current, 2 end; -1 for no source, an invalid current position, a
//   negative offset (which invalidates the position), another origin or a negative result
//   (position unchanged). Positions past the end are allowed.
// close: deletes the source (0; -1 with none).
// tell: the position (-1 with no source).
size_t MemoryRead(void* buffer, size_t elementSize, size_t count, void* source);
int MemorySeek(void* source, ogg_int64_t offset, int origin);
int MemoryClose(void* source);
long MemoryTell(void* source);
ov_callbacks MemoryCallbacks();

// Opens decoder over a copy of size bytes (data may be null when size is 0). 0 on success, the
// decoder then owning the copy (freed by ov_clear); otherwise the vorbisfile error, with nothing
// left allocated.
int OpenMemoryDecoder(OggVorbis_File* decoder, const uint8_t* data, size_t size);

}  // namespace sound
