#include "sound_fixtures.h"

#include <fcntl.h>
#include <unistd.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "test_support.h"

namespace soundtest {
namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void PutTag(std::vector<uint8_t>& v, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        v.push_back(static_cast<uint8_t>(tag[i]));
    }
}

}  // namespace

std::vector<uint8_t> MakeWav(const WavSpec& s, const std::vector<uint8_t>& pcm) {
    std::vector<uint8_t> v;
    PutTag(v, "RIFF");
    Put32(v, 0);  // patched below
    PutTag(v, "WAVE");
    PutTag(v, "fmt ");
    Put32(v, s.fmtSize);
    Put16(v, s.formatTag);
    Put16(v, s.channels);
    Put32(v, s.rate);
    const uint16_t block = static_cast<uint16_t>(s.channels * s.bits / 8);
    Put32(v, s.rate * block);
    Put16(v, block);
    Put16(v, s.bits);
    for (uint32_t i = 16; i < s.fmtSize; ++i) {
        v.push_back(0);
    }
    if (s.fact) {
        PutTag(v, "fact");
        Put32(v, 4);
        Put32(v, static_cast<uint32_t>(pcm.size() / (block ? block : 1)));
    }
    if (s.listChunk) {
        PutTag(v, "LIST");
        Put32(v, 4);
        PutTag(v, "INFO");
    }
    PutTag(v, "data");
    Put32(v, s.dataSizeOverride >= 0 ? static_cast<uint32_t>(s.dataSizeOverride) : static_cast<uint32_t>(pcm.size()));
    v.insert(v.end(), pcm.begin(), pcm.end());
    const uint32_t riff = static_cast<uint32_t>(v.size() - 8);
    std::memcpy(v.data() + 4, &riff, 4);
    return v;
}

std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> v;
    for (int16_t s : samples) {
        Put16(v, static_cast<uint16_t>(s));
    }
    return v;
}

std::vector<int16_t> TestSignal(uint32_t frames, uint32_t rate) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    const double twoPi = 6.283185307179586;
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double l = 9000.0 * std::sin(twoPi * 441.7 * t) + 6000.0 * std::sin(twoPi * 97.3 * t + 0.3);
        const double r = 12000.0 * std::sin(twoPi * (660.0 + 40.0 * t) * t);
        out[2 * i] = static_cast<int16_t>(std::lround(l));
        out[2 * i + 1] = static_cast<int16_t>(std::lround(r));
    }
    return out;
}

std::vector<uint8_t> EncodeOgg(const std::vector<int16_t>& interleaved, int channels, long rate) {
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.5f) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);
    ogg_packet header, comm, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comm);
    ogg_stream_packetin(&os, &code);
    ogg_page og;
    auto append = [&out](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    while (ogg_stream_flush(&os, &og) != 0) {
        append(og);
    }
    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        const size_t n = std::min<size_t>(4096, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) {
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] = interleaved[(done + i) * static_cast<size_t>(channels) + static_cast<size_t>(c)] / 32768.0f;
                }
            }
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op) != 0) {
                ogg_stream_packetin(&os, &op);
                while (!eos && ogg_stream_pageout(&os, &og) != 0) {
                    append(og);
                    if (ogg_page_eos(&og)) {
                        eos = true;
                    }
                }
            }
        }
        if (n == 0 && !eos) {
            while (ogg_stream_flush(&os, &og) != 0) {
                append(og);
                if (ogg_page_eos(&og)) {
                    eos = true;
                }
            }
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

namespace {
struct Cursor {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};
size_t ReadCb(void* p, size_t size, size_t count, void* src) {
    auto* c = static_cast<Cursor*>(src);
    const size_t want = size * count;
    const size_t n = std::min(want, c->bytes->size() - c->pos);
    std::memcpy(p, c->bytes->data() + c->pos, n);
    c->pos += n;
    return size ? n / size : 0;
}
int SeekCb(void* src, ogg_int64_t off, int whence) {
    auto* c = static_cast<Cursor*>(src);
    int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<int64_t>(c->pos)
                                                              : static_cast<int64_t>(c->bytes->size());
    const int64_t p = base + off;
    if (p < 0 || p > static_cast<int64_t>(c->bytes->size())) {
        return -1;
    }
    c->pos = static_cast<size_t>(p);
    return 0;
}
long TellCb(void* src) { return static_cast<long>(static_cast<Cursor*>(src)->pos); }
}  // namespace

std::vector<int16_t> DecodeOgg(const std::vector<uint8_t>& ogg) {
    std::vector<int16_t> out;
    Cursor cursor{&ogg, 0};
    OggVorbis_File vf;
    ov_callbacks cb{ReadCb, SeekCb, nullptr, TellCb};
    if (ov_open_callbacks(&cursor, &vf, nullptr, 0, cb) != 0) {
        return out;
    }
    char buf[8192];
    for (;;) {
        int section = 0;
        const long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
        if (n <= 0) {
            break;
        }
        const size_t old = out.size();
        out.resize(old + static_cast<size_t>(n) / 2);
        std::memcpy(out.data() + old, buf, static_cast<size_t>(n));
    }
    ov_clear(&vf);
    return out;
}

void SetArchive(ArchiveId id, const std::map<std::string, std::vector<uint8_t>>& entries) {
    testsupport::InstallArchive(id, testsupport::ArchiveEntries(entries.begin(), entries.end()));
}

int MaxDiff(const int16_t* got, const int16_t* want, size_t n) {
    int worst = 0;
    for (size_t i = 0; i < n; ++i) {
        worst = std::max(worst, std::abs(static_cast<int>(got[i]) - static_cast<int>(want[i])));
    }
    return worst;
}

}  // namespace soundtest
