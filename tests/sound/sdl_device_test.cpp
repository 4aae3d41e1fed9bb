#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/result.h"
#include "platform/audio/audio.h"
#include "platform/debug.h"
#include "sound/dx_sound.h"

using namespace platform::audio;

namespace {

class SdlDevice : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDebugSink([this](const std::string& line) { lines.push_back(line); });
    }
    void TearDown() override {
        unsetenv("SDL_AUDIODRIVER");
        platform::SetDebugSink(nullptr);
    }
    std::vector<std::string> lines;
};

}  // namespace

// A machine whose audio driver cannot be opened: Open fails at once with one line giving the
// reason (no slow fallback at start-up), and the sound service then moves the mixer by the clock.
TEST_F(SdlDevice, AnUnusableDriverFailsAtOnceWithOneLine) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    Mixer mixer;
    auto device = CreateSdlDevice();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(device->Open(&mixer));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no audio device"), std::string::npos) << lines[0];
    device->Close();

    // The dummy driver opens and pulls the mixer in real time on its own thread.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(device->Open(&mixer));
    PcmFormat format;
    auto buffer = mixer.CreateBuffer(format, 4 * 4410);
    EventGroup events;
    const Notification n = {4 * 2205, &events, 0};
    ASSERT_EQ(buffer->SetNotificationPositions(&n, 1), S_OK_RESULT);
    buffer->Play(true);
    std::thread([&events] { events.WaitAny(); }).join();  // the cursor moves in real time
    EXPECT_TRUE(buffer->GetStatus() & kStatusPlaying);
    device->Close();
    const uint32_t stopped = buffer->CurrentPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(buffer->CurrentPosition(), stopped);  // no longer pulled after Close
}

// The service on the default device: whatever this machine has, Init works and music plays.
// Nothing reaches the terminal on the way (the audio library's own complaints about missing
// hardware included); a machine without sound says so on the debug line: the device's reason
// and the service's own error line.
TEST_F(SdlDevice, SoundServiceRunsOnTheDefaultDevice) {
    InstallDevice(nullptr);
    DxSound& sound = DxSound::Instance();
    std::fflush(stderr);
    const int saved = dup(2);
    std::FILE* capture = std::tmpfile();
    ASSERT_NE(capture, nullptr);
    dup2(fileno(capture), 2);
    const int result = sound.Init();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string printed;
    std::rewind(capture);
    for (int c; (c = std::fgetc(capture)) != EOF;) printed += static_cast<char>(c);
    std::fclose(capture);
    ASSERT_EQ(result, S_OK_RESULT);
    EXPECT_EQ(printed, "");
    EXPECT_LE(lines.size(), 2u);
    sound.Release();
}
