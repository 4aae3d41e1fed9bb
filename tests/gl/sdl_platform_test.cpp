// The real platform apart from drawing: full-screen letterboxing and its mouse mapping, start-up
// without a display, and message boxes answered by keyboard under an X server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <thread>
#include <vector>
#include <unistd.h>

#include "platform/debug.h"
#include "platform/platform.h"
#include "platform/sdl/gl_renderer.h"

namespace {

using platform::sdl::ComputeLetterbox;
using platform::sdl::OutputToBackBuffer;

TEST(LetterboxTest, FitsCentresAndMapsTheMouseBack) {
    auto box = ComputeLetterbox(1280, 720, 1280, 720);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.width, 1280);
    EXPECT_EQ(box.height, 720);
    box = ComputeLetterbox(1920, 1200, 1280, 720);  // 16:10: bars top and bottom
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 60);
    EXPECT_EQ(box.width, 1920);
    EXPECT_EQ(box.height, 1080);
    box = ComputeLetterbox(1024, 768, 1280, 720);  // 4:3
    EXPECT_EQ(box.width, 1024);
    EXPECT_EQ(box.height, 576);
    EXPECT_EQ(box.y, 96);
    box = ComputeLetterbox(2560, 1080, 1280, 720);  // ultra-wide: bars left and right
    EXPECT_EQ(box.width, 1920);
    EXPECT_EQ(box.height, 1080);
    EXPECT_EQ(box.x, 320);
    EXPECT_EQ(box.y, 0);
    box = ComputeLetterbox(0, 720, 1280, 720);
    EXPECT_EQ(box.width, 0);

    int x = 0, y = 0;
    OutputToBackBuffer(17, 33, 1280, 720, 1280, 720, x, y);  // windowed: unchanged
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, 33);
    OutputToBackBuffer(-5, 800, 1280, 720, 1280, 720, x, y);  // outside stays outside
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, 800);
    OutputToBackBuffer(1919, 60 + 1079, 1920, 1200, 1280, 720, x, y);  // last shown pixel
    EXPECT_EQ(x, 1279);
    EXPECT_EQ(y, 719);
    OutputToBackBuffer(0, 60, 1920, 1200, 1280, 720, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    OutputToBackBuffer(0, 59, 1920, 1200, 1280, 720, x, y);  // on the bar above the picture
    EXPECT_EQ(y, -1);
    OutputToBackBuffer(320 + 960, 540, 2560, 1080, 1280, 720, x, y);  // centre
    EXPECT_EQ(x, 640);
    EXPECT_EQ(y, 360);
}

[[noreturn]] void StartWithoutDisplay() {
    setenv("SDL_VIDEODRIVER", "tarnwick_no_such_driver", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    auto p = platform::CreateRealPlatform();
    const bool created = p->CreateMainWindow("Tarnwick", 0, 0, 1280, 720, true);
    const bool renderer = p->CreateRenderer(1280, 720);
    platform::Event e;
    const bool polled = p->PollEvent(e);
    int w = 0, h = 0;
    p->DesktopSize(w, h);
    p.reset();
    std::exit(created || renderer || polled || w <= 0 || h <= 0 ? 1 : 0);
}

// Runs in a fresh process (the threadsafe death-test style re-executes the binary), so SDL has
// not been started with a working driver before.
TEST(NoDisplayTest, WindowCreationFailsWithAClearLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(StartWithoutDisplay(),
        ::testing::ExitedWithCode(0), "SDL video could not be initialised");
}

// No display and no driver asked for: SDL would settle on a driver that shows nothing; the
// platform refuses it, so the window cannot be created and the game ends instead of running
// unseen.
[[noreturn]] void StartWithNoDriverAsked() {
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    auto p = platform::CreateRealPlatform();
    const bool created = p->CreateMainWindow("Tarnwick", 0, 0, 1280, 720, true);
    p.reset();
    std::exit(created ? 1 : 0);
}

// The same driver named in SDL_VIDEODRIVER is taken (the scene-shot tool relies on it).
[[noreturn]] void StartOnTheOffscreenDriverOnPurpose() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    auto p = platform::CreateRealPlatform();
    int w = 0, h = 0;
    p->DesktopSize(w, h);  // starts the video subsystem; logs an error line when refused
    p.reset();
    std::exit(0);
}

TEST(NoDisplayTest, InvisibleDriverIsRefusedUnlessAskedFor) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(StartWithNoDriverAsked(), ::testing::ExitedWithCode(0),
                "no display found|SDL video could not be initialised");
    EXPECT_EXIT(StartOnTheOffscreenDriverOnPurpose(), ::testing::ExitedWithCode(0),
                ::testing::Not(::testing::ContainsRegex("no display found")));
}

// Ends the message-box helper processes this test process started, if a key never arrives, so
// that a broken setup fails the test instead of hanging it.
class ChildWatchdog {
public:
    explicit ChildWatchdog(int seconds)
        : thread_([this, seconds] {
              const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
              while (!done_ && std::chrono::steady_clock::now() < end) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
              }
              if (!done_) KillChildren();
          }) {}
    ~ChildWatchdog() {
        done_ = true;
        thread_.join();
    }

private:
    static void KillChildren() {
        const pid_t self = getpid();
        DIR* dir = opendir("/proc");
        if (dir == nullptr) return;
        while (dirent* entry = readdir(dir)) {
            const int pid = std::atoi(entry->d_name);
            if (pid <= 0) continue;
            const std::string path = "/proc/" + std::string(entry->d_name) + "/stat";
            FILE* f = std::fopen(path.c_str(), "r");
            if (f == nullptr) continue;
            int p = 0, ppid = 0;
            char comm[256] = {}, state = 0;
            if (std::fscanf(f, "%d %255s %c %d", &p, comm, &state, &ppid) == 4 && ppid == self) {
                kill(pid, SIGKILL);
            }
            std::fclose(f);
        }
        closedir(dir);
    }
    std::atomic<bool> done_{false};
    std::thread thread_;
};

bool HaveXTools() {
    return std::getenv("DISPLAY") != nullptr &&
           std::system("command -v xdotool >/dev/null && command -v xwininfo >/dev/null") == 0;
}

// Presses `key` in the box titled `caption` once it appears (in the background). The box is found
// with xwininfo: xdotool's own name search cannot read titles stored in the locale's UTF-8
// encoding, which is how the box sets them.
void AnswerBoxLater(const std::string& caption, const std::string& key) {
    const std::string find = "LC_ALL=C.UTF-8 xwininfo -root -tree | grep -F '\"" + caption + "\":' | head -1 | awk '{print $1}'";
    const std::string cmd = "(for i in $(seq 50); do W=$(" + find + "); [ -n \"$W\" ] && break; sleep 0.1; done; " +
                            "[ -n \"$W\" ] && sleep 0.2 && xdotool key --window $W " + key + ") >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
}

TEST(MessageBoxTest, ReturnAnswersOkAndEscapeCancelUnderX) {
    if (!HaveXTools()) {
        GTEST_SKIP() << "needs an X display, xdotool and xwininfo";
    }
    std::vector<std::string> lines;
    platform::SetDebugSink([&](const std::string& line) { lines.push_back(line); });
    auto p = platform::CreateRealPlatform();
    // Shows one box answered by `key` and returns its answer. A box whose helper process failed
    // under a busy X server (an error line instead of a box) is tried again, at most three times.
    auto ask = [&](const std::string& text, const std::string& caption, platform::MessageBoxButtons buttons,
                   platform::MessageBoxIcon icon, const std::string& key) {
        platform::MessageBoxAnswer answer = platform::MessageBoxAnswer::Cancel;
        for (int attempt = 0; attempt < 3; ++attempt) {
            lines.clear();
            ChildWatchdog watchdog(10);
            AnswerBoxLater(caption, key);
            answer = p->ShowMessageBox(text, caption, buttons, icon, false);
            if (lines.empty()) break;
        }
        EXPECT_TRUE(lines.empty()) << caption << ": " << lines.front();  // the box was really shown
        return answer;
    };
    EXPECT_EQ(ask("終了しますか", "終了確認", platform::MessageBoxButtons::OkCancel, platform::MessageBoxIcon::Question,
                  "Return"),
              platform::MessageBoxAnswer::Ok);
    EXPECT_EQ(ask("Quit?", "Tarnwick box two", platform::MessageBoxButtons::OkCancel, platform::MessageBoxIcon::Warning,
                  "Escape"),
              platform::MessageBoxAnswer::Cancel);
    // A lone OK button also takes Escape.
    EXPECT_EQ(ask("Already running.", "Tarnwick box three", platform::MessageBoxButtons::Ok,
                  platform::MessageBoxIcon::Error, "Escape"),
              platform::MessageBoxAnswer::Ok);
    platform::SetDebugSink({});
}

}  // namespace
