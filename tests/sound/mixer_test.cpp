#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "core/result.h"
#include "platform/audio/audio.h"

using namespace platform::audio;

namespace {

PcmFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) { return PcmFormat::Make(channels, rate, bits); }

// A buffer filled with the given bytes.
std::unique_ptr<SoundBuffer> Filled(Mixer& mixer, const PcmFormat& f, const std::vector<uint8_t>& bytes) {
    auto b = mixer.CreateBuffer(f, static_cast<uint32_t>(bytes.size()));
    EXPECT_NE(b, nullptr);
    uint8_t *p1, *p2;
    uint32_t n1, n2;
    EXPECT_EQ(b->Lock(0, static_cast<uint32_t>(bytes.size()), &p1, &n1, &p2, &n2), S_OK_RESULT);
    std::memcpy(p1, bytes.data(), n1);
    EXPECT_EQ(b->Unlock(p1, n1, p2, n2), S_OK_RESULT);
    return b;
}

std::vector<uint8_t> Stereo16(const std::vector<int16_t>& s) {
    std::vector<uint8_t> v(s.size() * 2);
    std::memcpy(v.data(), s.data(), v.size());
    return v;
}

std::vector<int16_t> MixOut(Mixer& mixer, uint32_t frames) {
    std::vector<int16_t> out(frames * 2, 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

}  // namespace

TEST(Mixer, SilentWithoutPlayingBuffersAndExactAtFullVolume) {
    Mixer mixer;
    auto b = Filled(mixer, Format(2, 44100, 16), Stereo16({100, -200, 300, -400, 500, -600}));
    auto out = MixOut(mixer, 4);
    EXPECT_EQ(out, std::vector<int16_t>(8, 0));  // not playing
    b->Play(false);
    out = MixOut(mixer, 4);
    EXPECT_EQ(out, (std::vector<int16_t>{100, -200, 300, -400, 500, -600, 0, 0}));
    EXPECT_EQ(b->GetStatus() & kStatusPlaying, 0u);  // a one-shot buffer stops at its end
    EXPECT_EQ(b->CurrentPosition(), 12u);
}

TEST(Mixer, VolumeFollowsDecibelsAndSilenceIsExact) {
    Mixer mixer;
    auto b = Filled(mixer, Format(2, 44100, 16), Stereo16(std::vector<int16_t>(200, 20000)));
    for (int32_t att : {0, -600, -2000, -6000, -9999}) {
        ASSERT_EQ(b->SetVolume(att), S_OK_RESULT);
        b->SetCurrentPosition(0);
        b->Play(false);
        const auto out = MixOut(mixer, 10);
        const double want = 20000.0 * std::pow(10.0, att / 2000.0);
        EXPECT_NEAR(out[0], want, 1.0) << att;
        EXPECT_EQ(b->GetVolume(), att);
    }
    ASSERT_EQ(b->SetVolume(-10000), S_OK_RESULT);
    b->SetCurrentPosition(0);
    b->Play(false);
    EXPECT_EQ(MixOut(mixer, 10), std::vector<int16_t>(20, 0));
    // Out of range: refused, the volume stays.
    EXPECT_EQ(b->SetVolume(1), E_FAIL_RESULT);
    EXPECT_EQ(b->SetVolume(-10001), E_FAIL_RESULT);
    EXPECT_EQ(b->GetVolume(), -10000);
}

TEST(Mixer, SumsBuffersAndClips) {
    Mixer mixer;
    auto a = Filled(mixer, Format(2, 44100, 16), Stereo16({30000, -30000, 1000, -1000}));
    auto b = Filled(mixer, Format(2, 44100, 16), Stereo16({30000, -30000, 2000, -2000}));
    a->Play(false);
    b->Play(false);
    EXPECT_EQ(MixOut(mixer, 2), (std::vector<int16_t>{32767, -32768, 3000, -3000}));
    EXPECT_EQ(mixer.BufferCount(), 2);
    b.reset();
    EXPECT_EQ(mixer.BufferCount(), 1);
}

TEST(Mixer, ConvertsEightBitMonoAndOtherRates) {
    Mixer mixer;
    // 8-bit unsigned mono: 0x80 is silence, each byte goes to both channels.
    auto m8 = Filled(mixer, Format(1, 44100, 8), {0x80, 0xC0, 0x40, 0xFF});
    m8->Play(false);
    EXPECT_EQ(MixOut(mixer, 4), (std::vector<int16_t>{0, 0, 16384, 16384, -16384, -16384, 32512, 32512}));

    // 22050 Hz mono 16-bit ramp: every source frame lasts two output frames, interpolated.
    std::vector<int16_t> ramp = {0, 1000, 2000, 3000};
    auto half = Filled(mixer, Format(1, 22050, 16), Stereo16(ramp));
    half->Play(false);
    auto out = MixOut(mixer, 8);
    const std::vector<int16_t> left = {out[0], out[2], out[4], out[6], out[8], out[10], out[12]};
    EXPECT_EQ(left, (std::vector<int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000}));
    EXPECT_EQ(out[1], out[0]);
    EXPECT_EQ(half->GetStatus() & kStatusPlaying, 0u);

    // 88200 Hz: every second source frame.
    auto dbl = Filled(mixer, Format(2, 88200, 16), Stereo16({1, -1, 2, -2, 3, -3, 4, -4}));
    dbl->Play(false);
    EXPECT_EQ(MixOut(mixer, 3), (std::vector<int16_t>{1, -1, 3, -3, 0, 0}));

    // Formats the mixer does not take.
    EXPECT_EQ(mixer.CreateBuffer(Format(2, 44100, 24), 600), nullptr);
    EXPECT_EQ(mixer.CreateBuffer(Format(6, 44100, 16), 1200), nullptr);
    EXPECT_EQ(mixer.CreateBuffer(Format(2, 44100, 16), 0), nullptr);
    EXPECT_EQ(mixer.CreateBuffer(Format(2, 44100, 16), 6), nullptr);  // not whole frames
    PcmFormat lying = Format(2, 44100, 16);
    lying.blockAlign = 3;
    EXPECT_EQ(mixer.CreateBuffer(lying, 12), nullptr);
}

TEST(Mixer, LoopsStopKeepsPositionAndLockWraps) {
    Mixer mixer;
    auto b = Filled(mixer, Format(2, 44100, 16), Stereo16({1, 1, 2, 2, 3, 3}));
    b->Play(true);
    EXPECT_EQ(b->GetStatus(), kStatusPlaying | kStatusLooping);
    auto out = MixOut(mixer, 7);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.size(); i += 2) {
        left.push_back(out[i]);
    }
    EXPECT_EQ(left, (std::vector<int16_t>{1, 2, 3, 1, 2, 3, 1}));
    b->Stop();
    EXPECT_EQ(b->GetStatus(), 0u);
    EXPECT_EQ(b->CurrentPosition(), 4u);  // frame 1
    EXPECT_EQ(MixOut(mixer, 2), std::vector<int16_t>(4, 0));
    b->Play(false);
    EXPECT_EQ(MixOut(mixer, 3), (std::vector<int16_t>{2, 2, 3, 3, 0, 0}));

    uint8_t *p1, *p2;
    uint32_t n1, n2;
    ASSERT_EQ(b->Lock(8, 8, &p1, &n1, &p2, &n2), S_OK_RESULT);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(n2, 4u);
    EXPECT_EQ(p2 + 8, p1);
    EXPECT_EQ(b->Unlock(p1, n1, p2, n2), S_OK_RESULT);
    EXPECT_EQ(b->Lock(12, 4, &p1, &n1, &p2, &n2), E_FAIL_RESULT);
    EXPECT_EQ(b->Lock(0, 13, &p1, &n1, &p2, &n2), E_FAIL_RESULT);
    EXPECT_EQ(b->SetCurrentPosition(12), E_FAIL_RESULT);
}

// The music thread refills the half the cursor has left while the device thread goes on mixing,
// with no other synchronisation between the two: Unlock is what hands the new bytes to the mixer.
// (The thread sanitizer reports the bytes as raced when it does not.)
TEST(Mixer, BytesWrittenWhilePlayingReachTheMixAfterUnlock) {
    Mixer mixer;
    auto b = mixer.CreateBuffer(Format(2, 44100, 16), 800);  // 200 frames, looping
    b->Play(true);
    MixOut(mixer, 10);
    std::atomic<bool> written{false};
    std::thread writer([&] {
        uint8_t *p1, *p2;
        uint32_t n1, n2;
        ASSERT_EQ(b->Lock(400, 400, &p1, &n1, &p2, &n2), S_OK_RESULT);
        const std::vector<int16_t> fill(200, 777);
        std::memcpy(p1, fill.data(), n1);
        b->Unlock(p1, n1, p2, n2);
        written.store(true, std::memory_order_relaxed);
    });
    while (!written.load(std::memory_order_relaxed)) {
        std::this_thread::yield();
    }
    const auto out = MixOut(mixer, 190);  // frames 10..199
    writer.join();
    EXPECT_EQ(out[2 * 89], 0);
    EXPECT_EQ(std::vector<int16_t>(out.begin() + 2 * 90, out.end()), std::vector<int16_t>(200, 777));
}

TEST(Mixer, NotificationsFireWhenTheCursorPasses) {
    Mixer mixer;
    // 100 frames looping, notifications at frames 0 and 50.
    auto b = mixer.CreateBuffer(Format(2, 44100, 16), 400);
    EventGroup events;
    const Notification n[2] = {{0, &events, 0}, {200, &events, 1}};
    ASSERT_EQ(b->SetNotificationPositions(n, 2), S_OK_RESULT);
    const Notification bad = {400, &events, 0};
    EXPECT_EQ(b->SetNotificationPositions(&bad, 1), E_FAIL_RESULT);

    b->Play(true);
    MixOut(mixer, 10);  // the cursor starts on offset 0
    EXPECT_EQ(events.WaitAny(), 0);
    MixOut(mixer, 39);  // frames 10..48
    MixOut(mixer, 1);   // frame 49: offset 200 not reached yet
    events.Signal(5);
    EXPECT_EQ(events.WaitAny(), 5);
    MixOut(mixer, 1);  // frame 50
    EXPECT_EQ(events.WaitAny(), 1);
    MixOut(mixer, 60);  // wraps past 0 at frame 100
    EXPECT_EQ(events.WaitAny(), 0);
    MixOut(mixer, 250);  // more than a whole lap: both
    EXPECT_EQ(events.WaitAny(), 0);
    EXPECT_EQ(events.WaitAny(), 1);
}

TEST(EventGroup, AutoResetsAndReportsIdleWaiters) {
    EventGroup events;
    events.Signal(3);
    events.Signal(1);
    EXPECT_EQ(events.WaitAny(), 1);  // the lowest first
    EXPECT_EQ(events.WaitAny(), 3);
    EXPECT_FALSE(events.WaitUntilIdle(10));  // nobody waits
    int got = -1;
    std::thread waiter([&] { got = events.WaitAny(); });
    EXPECT_TRUE(events.WaitUntilIdle(2000));
    events.Signal(0);
    waiter.join();
    EXPECT_EQ(got, 0);
}
