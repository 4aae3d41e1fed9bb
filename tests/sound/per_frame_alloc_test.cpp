// The match scene services its effects every frame (UpdateSe, and a check whether the medal
// sound still plays) and the title scene fades its jingle every frame: once the effects are
// loaded, those calls must not touch the heap. Counted by replacing the global allocation
// functions of this test program; counting is on only around the per-frame calls.
#include <gtest/gtest.h>

#include "core/result.h"
#include "count_allocations.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "sound/dx_sound.h"
#include "sound_fixtures.h"

namespace {

class SoundPerFrame : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDebugSink([](const std::string&) {});
        device = platform::audio::InstallHeadlessDevice();
    }
    void TearDown() override {
        DxSound::Instance().Release();
        platform::audio::InstallDevice(nullptr);
        platform::SetDebugSink(nullptr);
    }
    platform::audio::HeadlessAudioDevice* device = nullptr;
};

TEST_F(SoundPerFrame, EffectServiceDoesNotAllocateOnceLoaded) {
    const auto pcm = soundtest::Pcm16(std::vector<int16_t>(2 * 4410, 500));
    soundtest::SetArchive(ArchiveId::SoundEffects, {{"se_medal_move.wav", soundtest::MakeWav({}, pcm)},
                                                    {"menu_title.wav", soundtest::MakeWav({}, pcm)}});
    DxSound& sound = DxSound::Instance();
    ASSERT_EQ(sound.Init(), S_OK_RESULT);
    sound.SetSeVolume(100);
    ASSERT_EQ(sound.PlaySe("se_medal_move.wav", true), S_OK_RESULT);
    ASSERT_EQ(sound.PlaySe("menu_title.wav", true), S_OK_RESULT);
    device->Advance(1024);  // the recording buffers grow outside the counted frames
    // One frame outside the count: first calls may set up what they keep for later frames.
    sound.UpdateSe();
    sound.IsMedalMoveSePlaying();
    sound.SetTitleJingleGain(1.0f);

    long allocations = 0;
    bool playing = true;
    for (int frame = 0; frame < 30; ++frame) {
        allocations += testsupport::CountAllocations([&] {
            sound.UpdateSe();
            playing = playing && sound.IsMedalMoveSePlaying();
            sound.SetTitleJingleGain(static_cast<float>(29 - frame) / 29.0f);
        });
        device->Advance(735);
    }
    EXPECT_TRUE(playing);
    EXPECT_EQ(allocations, 0);
}

}  // namespace
