// libFuzzer target: the music open path (the in-memory source and its callbacks under
// vorbisfile), then decoding, seeking and decoding again as the refills do.
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>

#include "sound/ogg_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OggVorbis_File vf{};
    if (sound::OpenMemoryDecoder(&vf, data, size) != 0) {
        ov_clear(&vf);
        return 0;
    }
    if (ov_info(&vf, -1) != nullptr) {
        char pcm[8192];
        int section = 0;
        for (int i = 0; i < 8; ++i) {
            if (ov_read(&vf, pcm, sizeof pcm, 0, 2, 1, &section) <= 0) {
                break;
            }
        }
        const ogg_int64_t total = ov_pcm_total(&vf, -1);
        if (total > 0) {
            ov_pcm_seek(&vf, total / 2);
            ov_read(&vf, pcm, sizeof pcm, 0, 2, 1, &section);
        }
        ov_pcm_seek(&vf, 0);
        ov_read(&vf, pcm, sizeof pcm, 0, 2, 1, &section);
    }
    ov_clear(&vf);
    return 0;
}
