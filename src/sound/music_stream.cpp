#include "sound/music_stream.h"

#include <vorbis/vorbisfile.h>

#include "sound/ogg_memory.h"

namespace sound {

struct MusicStream::Decoder {
    OggVorbis_File file{};
};

MusicStream::MusicStream() : decoder_(std::make_unique<Decoder>()) {}

MusicStream::~MusicStream() { Close(); }

MusicStream::OpenResult MusicStream::Open(const uint8_t* data, size_t size) {
    Close();
    if (OpenMemoryDecoder(&decoder_->file, data, size) != 0) {
        ov_clear(&decoder_->file);
        return OpenResult::OpenFailed;
    }
    const vorbis_info* info = ov_info(&decoder_->file, -1);
    if (info == nullptr || info->channels <= 0) {
        ov_clear(&decoder_->file);
        return OpenResult::NoInfo;
    }
    channels_ = info->channels;
    totalFrames_ = ov_pcm_total(&decoder_->file, -1);
    return OpenResult::Ok;
}

void MusicStream::Close() {
    ov_clear(&decoder_->file);
    channels_ = 0;
    totalFrames_ = 0;
}

int64_t MusicStream::Tell() { return ov_pcm_tell(&decoder_->file); }

bool MusicStream::Seek(int64_t frame) { return ov_pcm_seek(&decoder_->file, frame) == 0; }

long MusicStream::Read(uint8_t* dst, int bytes) {
    int section = 0;
    return ov_read(&decoder_->file, reinterpret_cast<char*>(dst), bytes, 0, 2, 1, &section);
}

}  // namespace sound
