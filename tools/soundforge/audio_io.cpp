#include "audio_io.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace sf {
namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(std::vector<uint8_t>& b, const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(t[i]));
}

int16_t ToPcm(float v) {
    const double s = std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0;
    return static_cast<int16_t>(std::lround(s));
}

bool WriteAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f) {
            std::fprintf(stderr, "soundforge: cannot write %s\n", tmp.c_str());
            return false;
        }
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!f) {
            std::fprintf(stderr, "soundforge: write failed for %s\n", tmp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::fprintf(stderr, "soundforge: cannot rename %s: %s\n", tmp.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> WavBytes(int channels, const float* left, const float* right, size_t frames) {
    const uint32_t dataBytes = static_cast<uint32_t>(frames * static_cast<size_t>(channels) * 2);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    PutTag(b, "RIFF");
    Put32(b, 36 + dataBytes);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, static_cast<uint32_t>(channels));
    Put32(b, 44100);
    Put32(b, 44100u * static_cast<uint32_t>(channels) * 2u);
    Put16(b, static_cast<uint32_t>(channels) * 2u);
    Put16(b, 16);
    PutTag(b, "data");
    Put32(b, dataBytes);
    for (size_t i = 0; i < frames; ++i) {
        Put16(b, static_cast<uint16_t>(ToPcm(left[i])));
        if (channels == 2) Put16(b, static_cast<uint16_t>(ToPcm(right[i])));
    }
    return b;
}

bool WriteWav(const std::string& path, const std::vector<float>& mono) {
    return WriteAtomically(path, WavBytes(1, mono.data(), nullptr, mono.size()));
}

bool WriteWav(const std::string& path, const Stereo& s) {
    return WriteAtomically(path, WavBytes(2, s.l.data(), s.r.data(), s.Size()));
}

bool WriteOgg(const std::string& path, const Stereo& s, float quality, int serial) {
    std::vector<uint8_t> out;
    auto putPage = [&out](const ogg_page& og) {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    };
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, 44100, quality) != 0) {
        vorbis_info_clear(&vi);
        std::fprintf(stderr, "soundforge: vorbis encoder set-up failed for %s\n", path.c_str());
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", std::filesystem::path(path).stem().string().c_str());
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    ogg_packet header, headerComm, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComm, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComm);
    ogg_stream_packetin(&os, &headerCode);
    ogg_page og;
    while (ogg_stream_flush(&os, &og) != 0) putPage(og);

    auto drain = [&]() {
        ogg_packet op;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) putPage(og);
            }
        }
    };
    const size_t total = s.Size();
    constexpr size_t kChunk = 4096;
    for (size_t at = 0; at < total; at += kChunk) {
        const size_t n = std::min(kChunk, total - at);
        float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            buf[0][i] = s.l[at + i];
            buf[1][i] = s.r[at + i];
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);  // end of stream: the last granule position marks the exact length
    drain();
    while (ogg_stream_flush(&os, &og) != 0) putPage(og);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return WriteAtomically(path, out);
}

}  // namespace sf
