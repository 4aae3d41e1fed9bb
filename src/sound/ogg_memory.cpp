#include "sound/ogg_memory.h"

#include <cstring>
#include <limits>

namespace sound {

size_t MemoryRead(void* buffer, size_t elementSize, size_t count, void* source) {
    auto* s = static_cast<MemorySource*>(source);
    if (s == nullptr) {
        return std::numeric_limits<size_t>::max();
    }
    if (s->position < 0 || s->position >= static_cast<int64_t>(s->size) || elementSize == 0 || count == 0 ||
        buffer == nullptr) {
        return 0;
    }
    const size_t remaining = static_cast<size_t>(static_cast<int64_t>(s->size) - s->position);
    // size * count may not fit in size_t: compare by division instead of multiplying first.
    if (count < remaining / elementSize ||
        (count == remaining / elementSize && remaining % elementSize != 0)) {
        const size_t bytes = elementSize * count;
        std::memcpy(buffer, s->data.get() + s->position, bytes);
        s->position += static_cast<int64_t>(bytes);
        return count;
    }
    // The rest of the data; only whole elements are reported.
    std::memcpy(buffer, s->data.get() + s->position, remaining);
    s->position = s->size;
    return remaining / elementSize;
}

int MemorySeek(void* source, ogg_int64_t offset, int origin) {
    auto* s = static_cast<MemorySource*>(source);
    if (s == nullptr || s->position < 0) {
        return -1;
    }
    if (offset < 0) {
        s->position = -1;
        return -1;
    }
    int64_t base;
    switch (origin) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = s->position; break;
        case SEEK_END: base = s->size; break;
        default: return -1;
    }
    if (offset > std::numeric_limits<int64_t>::max() - base) {
        return -1;
    }
    s->position = base + offset;
    return 0;
}

int MemoryClose(void* source) {
    auto* s = static_cast<MemorySource*>(source);
    if (s == nullptr) {
        return -1;
    }
    delete s;
    return 0;
}

long MemoryTell(void* source) {
    auto* s = static_cast<MemorySource*>(source);
    if (s == nullptr) {
        return -1;
    }
    return static_cast<long>(s->position);
}

ov_callbacks MemoryCallbacks() {
    ov_callbacks cb;
    cb.read_func = &MemoryRead;
    cb.seek_func = &MemorySeek;
    cb.close_func = &MemoryClose;
    cb.tell_func = &MemoryTell;
    return cb;
}

int OpenMemoryDecoder(OggVorbis_File* decoder, const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) {
        return OV_EREAD;
    }
    auto source = std::make_unique<MemorySource>();
    source->data.reset(new uint8_t[size > 0 ? size : 1]);
    if (size > 0) {
        std::memcpy(source->data.get(), data, size);
    }
    source->size = static_cast<uint32_t>(size);
    source->position = 0;
    const int result = ov_open_callbacks(source.get(), decoder, nullptr, 0, MemoryCallbacks());
    if (result == 0) {
        source.release();  // the decoder closes it through MemoryClose
    }
    // On failure vorbisfile has cleared the decoder without closing the source: ours frees it.
    return result;
}

}  // namespace sound
