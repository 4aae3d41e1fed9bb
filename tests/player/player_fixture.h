#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "core/random.h"
#include "core/result.h"
#include "scenes/match/player.h"
#include "graphics/dx_graphic.h"
#include "platform/audio/audio.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "sound/dx_sound.h"
#include "graphics_test.h"
#include "test_support.h"

namespace playertest {

// A short silent PCM WAV file.
inline std::string SilentWav(uint32_t frames) {
    const uint32_t dataBytes = frames * 4;
    std::string w;
    auto u32 = [&w](uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&w](uint16_t v) {
        w.push_back(static_cast<char>(v & 0xFF));
        w.push_back(static_cast<char>(v >> 8));
    };
    w += "RIFF";
    u32(36 + dataBytes);
    w += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(44100 * 4);
    u16(4);
    u16(16);
    w += "data";
    u32(dataBytes);
    w.append(dataBytes, '\0');
    return w;
}

// Headless graphics (no picture archive: sprites draw as untextured quads) and a headless sound
// device with the three effects the Player plays loaded from loose files. The headless device
// never advances by itself, so a started effect reads as playing until the test looks at it.
class PlayerTest : public testsupport::GraphicsTest {
protected:
    void SetUp() override {
        testsupport::GraphicsTest::SetUp();
        platform::audio::InstallHeadlessDevice();
        ASSERT_EQ(sound().Init(), S_OK_RESULT);
        const std::string dir = testsupport::MakeTempDir() + "/";
        sound().SetSeFolder(dir);
        for (const char* name : {"se_carddraw.wav", "se_hold.wav", "se_cancel.wav"}) {
            ASSERT_TRUE(testsupport::WriteFile(dir + name, SilentWav(4410)));
            ASSERT_EQ(sound().LoadSeFromFile(name), S_OK_RESULT);
        }
        Random::Instance().Seed(1234);
    }
    void TearDown() override {
        sound().Release();
        platform::audio::InstallDevice(nullptr);
        testsupport::GraphicsTest::TearDown();
    }
    static DxSound& sound() { return DxSound::Instance(); }

    // True when the effect was started since the last look; stops it so the next look is fresh.
    static bool played(const char* name) {
        const bool playing = sound().IsSePlaying(name);
        sound().StopSe(name);
        return playing;
    }
    static void silence() {
        for (const char* name : {"se_carddraw.wav", "se_hold.wav", "se_cancel.wav"}) sound().StopSe(name);
    }

    // Deals the five cards into the slots and lets the deal animation finish.
    static void dealHand(Player& p, const std::array<Card, 5>& cards) {
        for (int i = 0; i < 5; ++i) p.dealCard(i, cards[static_cast<size_t>(i)], 0);
        settle(p);
        silence();
        while (sound().PendingSeCount() > 0) sound().UpdateSe();
        silence();
    }
    static void settle(Player& p) {
        for (int f = 0; f < 200 && p.isBusy(); ++f) {
            p.update();
            p.draw(0, 0, 0);
        }
    }
    // Centre of a slot's card on screen.
    static std::pair<int, int> centre(const Player& p, int slot) {
        const auto pos = p.slotPosition(slot);
        return {static_cast<int>(pos.x) + 40, static_cast<int>(pos.y) + 60};
    }
};

// Card shorthand: C(value, suit) with value 0 ace .. 12 king.
constexpr Card C(int value, int suit) { return Card{value, suit}; }
inline constexpr Card kJoker{13, 0};

}  // namespace playertest
