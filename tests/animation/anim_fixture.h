#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "animation/sylkie_animation.h"
#include "core/global.h"
#include "archive/archive.h"
#include "archive/scramble.h"
#include "graphics/dds.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "sound/dx_sound.h"
#include "test_support.h"

namespace animtest {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Fills a global archive index (the animation archive is scrambled as the packer does it).
inline void SetArchive(ArchiveId id, const std::map<std::string, Bytes>& entries) {
    ASSERT_TRUE(testsupport::InstallArchive(id, testsupport::ArchiveEntries(entries.begin(), entries.end())));
}

// A short 16-bit stereo PCM WAV.
inline Bytes MakeWav(uint32_t frames) {
    Bytes w;
    auto put = [&w](const char* s) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(s[i]));
    };
    auto put32 = [&w](uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&w](uint16_t v) {
        w.push_back(static_cast<uint8_t>(v));
        w.push_back(static_cast<uint8_t>(v >> 8));
    };
    const uint32_t data = frames * 4;
    put("RIFF");
    put32(36 + data);
    put("WAVE");
    put("fmt ");
    put32(16);
    put16(1);
    put16(2);
    put32(44100);
    put32(176400);
    put16(4);
    put16(16);
    put("data");
    put32(data);
    for (uint32_t i = 0; i < data; ++i) w.push_back(static_cast<uint8_t>(i * 7));
    return w;
}

inline Bytes Picture(int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0xFF808080u);
    return dds::EncodeArgb(w, h, px.data());
}

// Headless graphics and sound with test archives: pictures "sozai3.png" (32 x 16), "a.png" and
// "b.png" (8 x 8); effects "se_decide.wav" and "se_hit.wav"; debug lines captured.
class AnimTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetArchive(ArchiveId::Images, {{"sozai3.dds", Picture(32, 16)}, {"a.dds", Picture(8, 8)}, {"b.dds", Picture(8, 8)}});
        SetArchive(ArchiveId::SoundEffects, {{"se_decide.wav", MakeWav(100)}, {"se_hit.wav", MakeWav(100)}});
        auto p = std::make_unique<platform::HeadlessPlatform>();
        headless = p.get();
        platform::Install(std::move(p));
        ASSERT_EQ(DxGraphic::Instance().Init("test", 1280, 720, true), 0);
        platform::audio::InstallHeadlessDevice();
        ASSERT_EQ(DxSound::Instance().Init(), 0);
        Global::Instance().Clear();
        platform::SetDebugSink([this](const std::string& line) { debugLines.push_back(line); });
    }
    void TearDown() override {
        DxSound::Instance().Release();
        platform::audio::InstallDevice(nullptr);
        DxGraphic::Instance().ReleaseAllTextures();
        DxGraphic::Instance().Shutdown();
        platform::Install(nullptr);
        platform::SetDebugSink({});
        Global::Instance().Clear();
    }

    // Reads the text (lines joined with CR LF) into the animation.
    static void LoadText(SylkieAnimation& a, const std::string& text) {
        ASSERT_EQ(a.LoadFromMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0);
    }

    // One draw; returns the quads it produced.
    std::vector<platform::Quad> Step(SylkieAnimation& a) {
        headless->ClearQuads();
        a.draw(0.0f, 0.0f, 0.0f);
        std::vector<platform::Quad> out;
        for (const auto& q : headless->Quads()) out.push_back(q.quad);
        return out;
    }

    // True once the effect has been started since the last call (the check stops it again).
    static bool Played(const std::string& name) {
        const bool on = DxSound::Instance().IsSePlaying(name);
        DxSound::Instance().StopSe(name);
        return on;
    }

    platform::HeadlessPlatform* headless = nullptr;
    std::vector<std::string> debugLines;
};

// Joins lines with CR LF, the file format's line ending.
inline std::string Crlf(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

inline uint32_t AlphaByte(const platform::Quad& q) { return q.argb >> 24; }

}  // namespace animtest
