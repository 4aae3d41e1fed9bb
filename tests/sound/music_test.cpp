#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "sound/dx_sound.h"
#include "sound/ogg_memory.h"
#include "sound_fixtures.h"

namespace {

constexpr uint32_t kShortFrames = 13230;   // 0.3 s
constexpr uint32_t kLongFrames = 132300;   // 3 s
// Decoding after a seek gives exactly the samples of linear decoding.
constexpr int kTolerance = 0;

struct Tracks {
    std::vector<uint8_t> shortOgg, longOgg, emptyOgg;
    std::vector<int16_t> shortPcm, longPcm;
};

const Tracks& GetTracks() {
    static const Tracks tracks = [] {
        Tracks t;
        t.shortOgg = soundtest::EncodeOgg(soundtest::TestSignal(kShortFrames), 2, 44100);
        t.longOgg = soundtest::EncodeOgg(soundtest::TestSignal(kLongFrames), 2, 44100);
        t.emptyOgg = soundtest::EncodeOgg({}, 2, 44100);
        t.shortPcm = soundtest::DecodeOgg(t.shortOgg);
        t.longPcm = soundtest::DecodeOgg(t.longOgg);
        return t;
    }();
    return tracks;
}

// A stretch [from, from + frames) of the reference.
struct Segment {
    uint32_t from;
    uint32_t frames;
};

std::vector<int16_t> Concat(const std::vector<int16_t>& ref, const std::vector<Segment>& segments) {
    std::vector<int16_t> out;
    for (const Segment& s : segments) {
        out.insert(out.end(), ref.begin() + 2 * s.from, ref.begin() + 2 * (s.from + s.frames));
    }
    return out;
}

// The first frame where got and want differ by more than the tolerance, or -1.
long FirstMismatch(const int16_t* got, const std::vector<int16_t>& want) {
    for (size_t i = 0; i < want.size(); ++i) {
        if (std::abs(got[i] - want[i]) > kTolerance) {
            return static_cast<long>(i / 2);
        }
    }
    return -1;
}

class Music : public ::testing::Test {
protected:
    void SetUp() override {
        const Tracks& t = GetTracks();
        ASSERT_EQ(t.shortPcm.size(), 2u * kShortFrames);
        ASSERT_EQ(t.longPcm.size(), 2u * kLongFrames);
        std::vector<uint8_t> garbage(5000);
        for (size_t i = 0; i < garbage.size(); ++i) {
            garbage[i] = static_cast<uint8_t>(i * 7919u >> 3);
        }
        std::vector<uint8_t> cut(t.longOgg.begin(), t.longOgg.begin() + 3000);
        // Found by fuzzing: a damaged track whose decoder positions run past its total and then
        // back (kept with the fuzz inputs).
        std::vector<uint8_t> backwards;
        if (const char* dir = std::getenv("TARNWICK_TEST_DATA")) {
            std::ifstream in(std::string(dir) + "/../fuzz/corpus/music/regression_positions_run_backwards",
                             std::ios::binary);
            backwards.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        soundtest::SetArchive(ArchiveId::Music, {{"short.ogg", t.shortOgg},
                                                 {"long.ogg", t.longOgg},
                                                 {"empty.ogg", t.emptyOgg},
                                                 {"garbage.ogg", garbage},
                                                 {"cut.ogg", cut},
                                                 {"backwards.ogg", backwards}});
        platform::SetDebugSink([this](const std::string& line) { lines.push_back(line); });
        device = platform::audio::InstallHeadlessDevice();
        ASSERT_EQ(sound().Init(), S_OK_RESULT);
        sound().SetBgmVolume(100);
        for (int i = 0; i < DxSound::kLoopPointCount; ++i) {
            sound().SetBgmLoopPoint(i, 0, 0);
        }
    }
    void TearDown() override {
        sound().Release();
        platform::audio::InstallDevice(nullptr);
        platform::SetDebugSink(nullptr);
    }
    static DxSound& sound() { return DxSound::Instance(); }

    std::vector<int16_t> Fill(uint32_t frames) {
        std::vector<int16_t> out(2 * frames, 0x5A5A);
        const uint32_t bytes = sound().FillPcm(reinterpret_cast<uint8_t*>(out.data()), 4 * frames);
        EXPECT_EQ(bytes, 4 * frames);
        return out;
    }

    // Plays `frames` frames through the device in slices the size of an audio callback, letting
    // the music thread finish its refills after each, and returns what was mixed.
    std::vector<int16_t> Play(uint32_t frames) {
        device->ClearRecording();
        for (uint32_t done = 0; done < frames;) {
            const uint32_t n = std::min<uint32_t>(1024, frames - done);
            device->Advance(n);
            EXPECT_TRUE(sound().WaitMusicThreadIdle(5000));
            done += n;
        }
        return device->Recorded();
    }

    platform::audio::HeadlessAudioDevice* device = nullptr;
    std::vector<std::string> lines;
};

}  // namespace

TEST_F(Music, ShortTrackFillsTheBufferBySeamlessRepetition) {
    const Tracks& t = GetTracks();
    ASSERT_EQ(sound().OpenBgm("short.ogg"), S_OK_RESULT);
    const auto got = Fill(44100);
    std::vector<Segment> want;
    for (uint32_t at = 0; at < 44100; at += kShortFrames) {
        want.push_back({0, std::min(kShortFrames, 44100 - at)});
    }
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.shortPcm, want)), -1);
}

TEST_F(Music, LoopPointInsideTheFillSwitchesAtTheTrigger) {
    const Tracks& t = GetTracks();
    sound().SetBgmLoopPoint(0, 30000, 5000);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    auto got = Fill(44100);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{0, 30000}, {5000, 14100}})), -1);
    // The next fill goes on from where this one stopped.
    got = Fill(22050);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{19100, 10900}, {5000, 11150}})), -1);
}

TEST_F(Music, TwoLoopPointsInOneFillAreServedInOrder) {
    const Tracks& t = GetTracks();
    sound().SetBgmLoopPoint(0, 20000, 1000);
    sound().SetBgmLoopPoint(1, 8000, 12000);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    const auto got = Fill(44100);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{0, 8000},
                                                           {12000, 8000},
                                                           {1000, 7000},
                                                           {12000, 8000},
                                                           {1000, 7000},
                                                           {12000, 6100}})),
              -1);
}

TEST_F(Music, EqualTriggersServeTheLowerEntry) {
    const Tracks& t = GetTracks();
    sound().SetBgmLoopPoint(5, 1000, 9000);
    sound().SetBgmLoopPoint(3, 1000, 4000);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    const auto got = Fill(3000);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{0, 1000}, {4000, 2000}})), -1);
}

TEST_F(Music, TriggerBeyondTheEndNeverFires) {
    const Tracks& t = GetTracks();
    // Close enough to the end that a fill running through the end would reach it.
    sound().SetBgmLoopPoint(0, kLongFrames + 1000, 500);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    const auto got = Fill(2 * kLongFrames + 300);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{0, kLongFrames}, {0, kLongFrames}, {0, 300}})), -1);
}

TEST_F(Music, BrokenTracksStayClosedAndNeverHang) {
    EXPECT_EQ(sound().OpenBgm("missing.ogg"), E_FAIL_RESULT);
    EXPECT_EQ(sound().OpenBgm("garbage.ogg"), E_FAIL_RESULT);
    EXPECT_EQ(sound().OpenBgm("cut.ogg"), E_FAIL_RESULT);
    EXPECT_EQ(lines, (std::vector<std::string>{"error: 音楽ファイルのオープンに失敗", "error: ov_openに失敗",
                                               "error: ov_openに失敗", "error: ov_openに失敗"}));
    EXPECT_EQ(sound().BgmState(), 0);
    EXPECT_EQ(sound().PlayBgm(0), E_FAIL_RESULT);
    // A stream without samples cannot fill anything, and must not loop for ever trying.
    if (sound().OpenBgm("empty.ogg") == S_OK_RESULT) {
        std::vector<uint8_t> out(1000, 0xEE);
        EXPECT_EQ(sound().FillPcm(out.data(), 1000), 0u);
        EXPECT_EQ(out[0], 0xEE);
    }
    // A loop point whose target is its own trigger makes no progress: the fill gives up.
    sound().SetBgmLoopPoint(0, 100, 100);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    std::vector<uint8_t> out(4000);
    EXPECT_EQ(sound().FillPcm(out.data(), 4000), 400u);
    // A target past the end continues from the start.
    sound().SetBgmLoopPoint(0, 100, 10 * kLongFrames);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    const auto got = Fill(300);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(GetTracks().longPcm, {{0, 100}, {0, 100}, {0, 100}})), -1);
}

// Positions that run past the track's total and then backwards (a damaged file) still give whole
// fills, with or without a loop point, and the track keeps going round.
TEST_F(Music, PositionsRunningBackwardsStillFillAndLoop) {
    ASSERT_EQ(sound().OpenBgm("backwards.ogg"), S_OK_RESULT) << "the fuzz input is missing";
    for (int round = 0; round < 3; ++round) {
        Fill(20000);
    }
    sound().SetBgmLoopPoint(0, 20000, 100);
    ASSERT_EQ(sound().OpenBgm("backwards.ogg"), S_OK_RESULT);
    for (int round = 0; round < 3; ++round) {
        Fill(20000);
    }
}

TEST_F(Music, RefillThreadStreamsContinuouslyThroughLoops) {
    const Tracks& t = GetTracks();
    sound().SetBgmLoopPoint(0, 100000, 20000);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    EXPECT_EQ(sound().BgmState(), 2);
    const auto got = Play(5 * 44100);
    std::vector<Segment> want = {{0, 100000}};
    for (uint32_t total = 100000; total < 5 * 44100; total += 80000) {
        want.push_back({20000, std::min<uint32_t>(80000, 5 * 44100 - total)});
    }
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, want)), -1);
    // Nine halves were refilled: one every half second after the first.
    EXPECT_EQ(sound().BgmRefillCount(), 9u);
    EXPECT_TRUE(lines.empty());
}

TEST_F(Music, StopCloseAndRestart) {
    const Tracks& t = GetTracks();
    EXPECT_EQ(sound().StopBgm(), S_OK_RESULT);
    EXPECT_EQ(sound().CloseBgm(), E_FAIL_RESULT);
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    EXPECT_EQ(sound().BgmState(), 1);
    EXPECT_EQ(sound().StopBgm(), S_OK_RESULT);  // open but stopped: nothing happens
    EXPECT_EQ(sound().BgmState(), 1);
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    Play(30000);
    // Playing again restarts from the first sample.
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    auto got = Play(30000);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{0, 30000}})), -1);
    // Stop keeps quiet; play starts over.
    EXPECT_EQ(sound().StopBgm(), S_OK_RESULT);
    EXPECT_EQ(sound().BgmState(), 1);
    EXPECT_FALSE(sound().IsBgmBufferPlaying());
    got = Play(2000);
    EXPECT_EQ(got, std::vector<int16_t>(4000, 0));
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    got = Play(1000);
    EXPECT_EQ(FirstMismatch(got.data(), Concat(t.longPcm, {{0, 1000}})), -1);
    // Opening another track while playing closes the first; it is then open and stopped.
    ASSERT_EQ(sound().OpenBgm("short.ogg"), S_OK_RESULT);
    EXPECT_EQ(sound().BgmState(), 1);
    EXPECT_FALSE(sound().IsBgmBufferPlaying());
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    EXPECT_EQ(sound().CloseBgm(), S_OK_RESULT);
    EXPECT_EQ(sound().BgmState(), 0);
    EXPECT_FALSE(sound().IsBgmBufferPlaying());
    EXPECT_EQ(sound().CloseBgm(), E_FAIL_RESULT);
    EXPECT_EQ(sound().PlayBgm(0), E_FAIL_RESULT);
}

TEST_F(Music, VolumeScalingIsCumulative) {
    EXPECT_EQ(sound().ScaleBgmVolume(50), S_OK_RESULT);
    EXPECT_EQ(sound().BgmVolume(), 50);
    EXPECT_EQ(sound().BgmAttenuation(), -999);
    sound().ScaleBgmVolume(50);
    EXPECT_EQ(sound().BgmVolume(), 25);
    EXPECT_EQ(sound().BgmAttenuation(), -1999);  // single precision: ln 4 / ln 2 falls just short of 2
    sound().ScaleBgmVolume(150);
    EXPECT_EQ(sound().BgmVolume(), 25);
    sound().ScaleBgmVolume(100);
    EXPECT_EQ(sound().BgmVolume(), 25);
    sound().ScaleBgmVolume(33);
    EXPECT_EQ(sound().BgmVolume(), 8);  // 25 x 33 / 100, truncated
    sound().ScaleBgmVolume(-1);
    EXPECT_EQ(sound().BgmVolume(), 0);
    EXPECT_EQ(sound().BgmAttenuation(), -10000);
    // The music plays at the volume set.
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    EXPECT_EQ(Play(500), std::vector<int16_t>(1000, 0));
}

TEST_F(Music, ShutDownJoinsTheThreadPromptly) {
    ASSERT_EQ(sound().OpenBgm("long.ogg"), S_OK_RESULT);
    ASSERT_EQ(sound().PlayBgm(0), S_OK_RESULT);
    Play(30000);
    const auto start = std::chrono::steady_clock::now();
    sound().Release();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(500));
    EXPECT_EQ(sound().BgmState(), 0);
    EXPECT_FALSE(device->IsOpen());
}

TEST(MemorySource, CallbacksStayInsideTheData) {
    auto* s = new sound::MemorySource;
    s->data.reset(new uint8_t[10]);
    for (int i = 0; i < 10; ++i) {
        s->data[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    }
    s->size = 10;
    uint8_t buf[16] = {};
    EXPECT_EQ(sound::MemoryRead(buf, 1, 4, s), 4u);
    EXPECT_EQ(buf[3], 3);
    EXPECT_EQ(sound::MemoryTell(s), 4);
    EXPECT_EQ(sound::MemoryRead(buf, 4, 3, s), 1u);  // six bytes left: one whole element
    EXPECT_EQ(buf[5], 9);
    EXPECT_EQ(sound::MemoryTell(s), 10);
    EXPECT_EQ(sound::MemoryRead(buf, 1, 1, s), 0u);
    // size x count does not fit in size_t: no overflow into a small copy.
    EXPECT_EQ(sound::MemorySeek(s, 2, SEEK_SET), 0);
    EXPECT_EQ(sound::MemoryRead(buf, size_t{1} << 40, size_t{1} << 40, s), 0u);
    EXPECT_EQ(sound::MemoryTell(s), 10);
    // Seeks: past the end is allowed and reads nothing.
    EXPECT_EQ(sound::MemorySeek(s, 100, SEEK_END), 0);
    EXPECT_EQ(sound::MemoryTell(s), 110);
    EXPECT_EQ(sound::MemoryRead(buf, 1, 4, s), 0u);
    EXPECT_EQ(sound::MemorySeek(s, 3, 7), -1);
    EXPECT_EQ(sound::MemorySeek(s, 1, SEEK_SET), 0);
    EXPECT_EQ(sound::MemorySeek(s, 2, SEEK_CUR), 0);
    EXPECT_EQ(sound::MemoryTell(s), 3);
    // A negative offset invalidates the position.
    EXPECT_EQ(sound::MemorySeek(s, -1, SEEK_CUR), -1);
    EXPECT_EQ(sound::MemoryRead(buf, 1, 4, s), 0u);
    EXPECT_EQ(sound::MemorySeek(s, 0, SEEK_SET), -1);
    // No source.
    EXPECT_EQ(sound::MemoryRead(buf, 1, 1, nullptr), static_cast<size_t>(-1));
    EXPECT_EQ(sound::MemorySeek(nullptr, 0, SEEK_SET), -1);
    EXPECT_EQ(sound::MemoryTell(nullptr), -1);
    EXPECT_EQ(sound::MemoryClose(nullptr), -1);
    EXPECT_EQ(sound::MemoryClose(s), 0);
}
