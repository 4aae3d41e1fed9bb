#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "sound/dx_sound.h"
#include "sound/volume.h"
#include "sound/wav.h"
#include "sound_fixtures.h"
#include "test_support.h"

using soundtest::MakeWav;
using soundtest::WavSpec;

namespace {

std::vector<uint8_t> Constant16(size_t frames, int16_t value) {
    return soundtest::Pcm16(std::vector<int16_t>(frames * 2, value));
}

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

class Effects : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDebugSink([this](const std::string& line) { lines.push_back(line); });
        device = platform::audio::InstallHeadlessDevice();
        WavSpec f18;
        f18.fmtSize = 18;
        WavSpec fact;
        fact.fact = true;
        WavSpec list;
        list.listChunk = true;
        WavSpec mono8;
        mono8.channels = 1;
        mono8.bits = 8;
        mono8.rate = 22050;
        soundtest::SetArchive(
            ArchiveId::SoundEffects,
            {{"se_decide.wav", MakeWav({}, Constant16(4410, 1000))},
             {"se_cancel.wav", MakeWav({}, Constant16(441, 2000))},
             {"se_medal_move.wav", MakeWav({}, Constant16(441, 100))},
             {"menu_title.wav", MakeWav({}, Constant16(44100, 100))},
             {"f18.wav", MakeWav(f18, Constant16(100, 7))},
             {"fact.wav", MakeWav(fact, Constant16(100, 7))},
             {"list.wav", MakeWav(list, Constant16(100, 7))},
             {"mono8.wav", MakeWav(mono8, std::vector<uint8_t>(50, 0xC0))},
             {"adpcm.wav", MakeWav(WavSpec{2}, Constant16(100, 7))},
             {"lying.wav", MakeWav(WavSpec{1, 2, 44100, 16, 16, false, false, 1000000}, Constant16(100, 7))},
             {"truncated.wav", Truncated(MakeWav({}, Constant16(100, 7)), 30)}});
        ASSERT_EQ(sound().Init(), S_OK_RESULT);
        sound().SetSeVolume(100);
        lines.clear();
    }
    void TearDown() override {
        sound().Release();
        platform::audio::InstallDevice(nullptr);
        platform::SetDebugSink(nullptr);
    }
    static DxSound& sound() { return DxSound::Instance(); }
    // Left channel of the next n frames.
    std::vector<int16_t> Left(uint32_t n) {
        device->ClearRecording();
        device->Advance(n);
        std::vector<int16_t> left;
        for (size_t i = 0; i < device->Recorded().size(); i += 2) {
            left.push_back(device->Recorded()[i]);
        }
        return left;
    }

    platform::audio::HeadlessAudioDevice* device = nullptr;
    std::vector<std::string> lines;
};

}  // namespace

TEST(Volume, AttenuationTable) {
    EXPECT_EQ(sound::VolumeToAttenuation(0), -10000);
    EXPECT_EQ(sound::VolumeToAttenuation(100), 0);
    EXPECT_EQ(sound::VolumeToAttenuation(50), -999);
    EXPECT_EQ(sound::VolumeToAttenuation(30), -1736);
    EXPECT_EQ(sound::VolumeToAttenuation(1), -6643);
    EXPECT_EQ(sound::VolumeToAttenuation(150), 584);
    EXPECT_EQ(sound::VolumeToAttenuation(-5), -10000);
}

TEST_F(Effects, PlayingTwiceRestartsOneBuffer) {
    ASSERT_EQ(sound().PlaySe("se_decide.wav"), S_OK_RESULT);
    EXPECT_EQ(Left(1000), std::vector<int16_t>(1000, 1000));
    ASSERT_EQ(sound().PlaySe("se_decide.wav"), S_OK_RESULT);
    EXPECT_EQ(sound().LoadedSeCount(), 1u);
    // Restarted: a single copy plays the whole 4410 frames again, never summed with itself.
    EXPECT_EQ(Left(4410), std::vector<int16_t>(4410, 1000));
    EXPECT_EQ(Left(10), std::vector<int16_t>(10, 0));
    // Different names play together.
    sound().PlaySe("se_decide.wav");
    sound().PlaySe("se_cancel.wav");
    EXPECT_EQ(Left(1)[0], 3000);
}

TEST_F(Effects, DelayedStartRunsOnTheThirdUpdate) {
    ASSERT_EQ(sound().PlaySe("se_cancel.wav", false, 3), S_OK_RESULT);
    EXPECT_TRUE(sound().IsSeLoaded("se_cancel.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 1u);
    sound().UpdateSe();
    sound().UpdateSe();
    EXPECT_FALSE(sound().IsSePlaying("se_cancel.wav"));
    EXPECT_EQ(Left(5), std::vector<int16_t>(5, 0));
    sound().UpdateSe();
    EXPECT_TRUE(sound().IsSePlaying("se_cancel.wav"));
    EXPECT_EQ(sound().PendingSeCount(), 0u);
    EXPECT_EQ(Left(5), std::vector<int16_t>(5, 2000));

    // Without updates a queued start never happens.
    device->Advance(441);
    sound().PlaySe("se_decide.wav", false, 1);
    EXPECT_EQ(Left(100), std::vector<int16_t>(100, 0));
    EXPECT_FALSE(sound().IsSePlaying("se_decide.wav"));
}

TEST_F(Effects, FinishedEffectsAreUnloadedByUpdate) {
    sound().PlaySe("se_cancel.wav");
    sound().LoadSe("se_decide.wav");
    sound().UpdateSe();
    EXPECT_TRUE(sound().IsSeLoaded("se_cancel.wav"));  // still playing
    device->Advance(441);
    sound().UpdateSe();
    EXPECT_FALSE(sound().IsSeLoaded("se_cancel.wav"));
    EXPECT_TRUE(sound().IsSeLoaded("se_decide.wav"));  // loaded, never played: kept
    // A stopped effect is kept too (StopSe clears releaseWhenDone).
    sound().PlaySe("se_decide.wav", true);
    EXPECT_EQ(sound().StopSe("se_decide.wav"), S_OK_RESULT);
    sound().UpdateSe();
    EXPECT_TRUE(sound().IsSeLoaded("se_decide.wav"));
    EXPECT_EQ(sound().UnloadSe("se_decide.wav"), S_OK_RESULT);
    EXPECT_EQ(sound().UnloadSe("se_decide.wav"), E_FAIL_RESULT);
    EXPECT_EQ(sound().StopSe("se_decide.wav"), E_FAIL_RESULT);
    EXPECT_EQ(sound().LoadedSeCount(), 0u);
}

TEST_F(Effects, ZeroVolumePlaysSilentlyButStarts) {
    sound().SetSeVolume(0);
    EXPECT_EQ(sound().SeAttenuation(), -10000);
    ASSERT_EQ(sound().PlaySe("se_decide.wav"), S_OK_RESULT);
    EXPECT_TRUE(sound().IsSePlaying("se_decide.wav"));
    EXPECT_EQ(sound().SeBufferVolume("se_decide.wav"), -10000);
    EXPECT_EQ(Left(100), std::vector<int16_t>(100, 0));
    sound().SetSeVolume(50);
    sound().PlaySe("se_decide.wav");
    EXPECT_EQ(sound().SeBufferVolume("se_decide.wav"), -999);
    EXPECT_NEAR(Left(1)[0], 1000 * std::pow(10.0, -999 / 2000.0), 1.0);
}

TEST_F(Effects, AcceptedAndRefusedLayouts) {
    EXPECT_EQ(sound().LoadSe("f18.wav"), S_OK_RESULT);
    EXPECT_EQ(sound().LoadSe("fact.wav"), S_OK_RESULT);
    EXPECT_EQ(sound().LoadSe("mono8.wav"), S_OK_RESULT);
    EXPECT_EQ(sound().LoadSe("f18.wav"), E_FAIL_RESULT);  // already loaded
    EXPECT_TRUE(lines.empty());
    // Wrong layouts fail without a message.
    EXPECT_EQ(sound().LoadSe("list.wav"), E_FAIL_RESULT);
    EXPECT_EQ(sound().LoadSe("adpcm.wav"), E_FAIL_RESULT);
    EXPECT_TRUE(lines.empty());
    // Truncated and lying headers are refused with a line.
    EXPECT_EQ(sound().LoadSe("lying.wav"), E_FAIL_RESULT);
    EXPECT_EQ(sound().LoadSe("truncated.wav"), E_FAIL_RESULT);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(sound().PlaySe("missing.wav"), E_FAIL_RESULT);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "error: 効果音ファイルのオープンに失敗");
    EXPECT_EQ(sound().LoadedSeCount(), 3u);

    // 8-bit mono at 22050 Hz reaches both output channels at the output rate.
    sound().PlaySe("mono8.wav");
    device->ClearRecording();
    device->Advance(101);
    EXPECT_EQ(device->Recorded()[0], 16384);
    EXPECT_EQ(device->Recorded()[1], 16384);
    EXPECT_EQ(device->Recorded()[2 * 99], 16384);  // 50 source frames last 100 output frames
    EXPECT_EQ(device->Recorded()[2 * 100], 0);
}

TEST_F(Effects, WavReaderChecksEveryFieldAgainstTheSize) {
    const auto good = MakeWav({}, Constant16(10, 5));
    sound::WavData wav;
    ASSERT_EQ(sound::ParseWav(good.data(), good.size(), wav), sound::WavResult::Ok);
    EXPECT_EQ(wav.pcmBytes, 40u);
    // Every prefix of a valid file is refused, never read past its end (the sanitizers watch).
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_NE(sound::ParseWav(prefix.data(), prefix.size(), wav), sound::WavResult::Ok) << n;
    }
    auto bad = MakeWav(WavSpec{}, Constant16(10, 5));
    bad[16] = 0xF0;
    bad[17] = bad[18] = bad[19] = 0xFF;
    EXPECT_EQ(sound::ParseWav(bad.data(), bad.size(), wav), sound::WavResult::Truncated);
    bad[16] = 8;
    bad[17] = bad[18] = bad[19] = 0;
    EXPECT_EQ(sound::ParseWav(bad.data(), bad.size(), wav), sound::WavResult::Truncated);
    WavSpec factAtEnd;
    factAtEnd.fact = true;
    auto f = MakeWav(factAtEnd, {});
    f.resize(f.size() - 8);  // "fact" present, nothing after it
    EXPECT_EQ(sound::ParseWav(f.data(), f.size(), wav), sound::WavResult::Truncated);
}

TEST_F(Effects, MedalMoveAndTitleJingle) {
    EXPECT_FALSE(sound().IsMedalMoveSePlaying());
    sound().PlaySe("se_medal_move.wav");
    EXPECT_TRUE(sound().IsMedalMoveSePlaying());
    device->Advance(441);
    EXPECT_FALSE(sound().IsMedalMoveSePlaying());

    sound().SetTitleJingleGain(0.5f);  // not loaded: nothing
    EXPECT_FALSE(sound().IsSeLoaded("menu_title.wav"));
    sound().SetSeVolume(30);
    sound().PlaySe("menu_title.wav");
    EXPECT_EQ(sound().SeBufferVolume("menu_title.wav"), -1736);
    sound().SetTitleJingleGain(0.5f);
    EXPECT_EQ(sound().SeBufferVolume("menu_title.wav"), sound::VolumeToAttenuation(15));
    sound().SetTitleJingleGain(0.0f);
    EXPECT_EQ(sound().SeBufferVolume("menu_title.wav"), -10000);
    EXPECT_EQ(Left(10), std::vector<int16_t>(10, 0));
}

TEST_F(Effects, LoadsLooseFilesFromTheWavFolder) {
    const std::string dir = testsupport::MakeTempDir();
    std::filesystem::create_directory(dir + "/wav");
    {
        std::ofstream out(dir + "/wav/Pemra_win.wav", std::ios::binary);
        const auto bytes = MakeWav({}, Constant16(100, 321));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);  // the folder is relative to the working directory
    EXPECT_EQ(sound().LoadSeFromFile("Pemra_win.wav"), S_OK_RESULT);
    EXPECT_EQ(sound().LoadSeFromFile("Pemra_win.wav"), E_FAIL_RESULT);  // still loaded: not read
    EXPECT_EQ(sound().PlaySe("Pemra_win.wav"), S_OK_RESULT);
    EXPECT_EQ(Left(1)[0], 321);
    EXPECT_EQ(sound().LoadSeFromFile("Pemra_lose.wav"), E_FAIL_RESULT);
    std::filesystem::current_path(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "error: 効果音ファイルのオープンに失敗");
}

TEST_F(Effects, ReleaseWritesItsLinesAndAllowsInitAgain) {
    sound().PlaySe("se_decide.wav", true);
    sound().Release();
    EXPECT_EQ(lines, (std::vector<std::string>{"info: DirectSoundの効果音をすべて開放",
                                               "info: DirectSoundのバックミュージックバッファを開放",
                                               "info: DirectSoundのミューテックスを開放"}));
    EXPECT_EQ(sound().LoadedSeCount(), 0u);
    EXPECT_FALSE(device->IsOpen());
    EXPECT_EQ(sound().PlaySe("se_decide.wav"), E_FAIL_RESULT);  // no device: nothing to play on
    ASSERT_EQ(sound().Init(), S_OK_RESULT);
    EXPECT_EQ(sound().PlaySe("se_decide.wav"), S_OK_RESULT);
}

namespace {

// An output that never opens, not even silently.
class DeadDevice final : public platform::audio::Device {
public:
    bool Open(platform::audio::Mixer*) override { return false; }
    void Close() override {}
};

}  // namespace

TEST(EffectsWithoutDevice, TheClockPullsTheMixerSoEffectsEndOnTime) {
    std::vector<std::string> lines;
    platform::SetDebugSink([&](const std::string& line) { lines.push_back(line); });
    platform::HeadlessPlatform* clock = testsupport::InstallHeadless();
    platform::audio::InstallDevice(std::make_unique<DeadDevice>());
    // 300 ms of medal sound.
    soundtest::SetArchive(ArchiveId::SoundEffects, {{"se_medal_move.wav", MakeWav({}, Constant16(13230, 100))}});
    DxSound& sound = DxSound::Instance();
    ASSERT_EQ(sound.Init(), S_OK_RESULT);
    EXPECT_TRUE(sound.PulledByClock());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Error: DirectSoundオブジェクトの作成に失敗"), 1);

    ASSERT_EQ(sound.PlaySe("se_medal_move.wav"), S_OK_RESULT);
    int playingFrames = 0;
    for (int frame = 0; frame < 60 && sound.IsMedalMoveSePlaying(); ++frame) {
        clock->AdvanceClockMs(10.0);
        sound.UpdateSe();
        ++playingFrames;
    }
    // About 300 ms: the frame after the sound's end finds it stopped (and unloaded).
    EXPECT_GE(playingFrames, 29);
    EXPECT_LE(playingFrames, 31);
    EXPECT_FALSE(sound.IsMedalMoveSePlaying());
    EXPECT_FALSE(sound.IsSeLoaded("se_medal_move.wav"));

    // A long stall is not caught up in full, and the next effect still lasts its length.
    clock->AdvanceClockMs(60000.0);
    sound.UpdateSe();
    ASSERT_EQ(sound.PlaySe("se_medal_move.wav"), S_OK_RESULT);
    clock->AdvanceClockMs(250.0);
    sound.UpdateSe();
    EXPECT_TRUE(sound.IsMedalMoveSePlaying());
    clock->AdvanceClockMs(100.0);
    sound.UpdateSe();
    EXPECT_FALSE(sound.IsMedalMoveSePlaying());

    sound.Release();
    platform::audio::InstallDevice(nullptr);
    platform::SetDebugSink(nullptr);
}
