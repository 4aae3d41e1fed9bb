#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "app/timer.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

namespace {

// A scene that logs its calls and asks for `nextId` after `framesBeforeSwitch` updates.
struct Log {
    std::vector<std::string> lines;
};

class ScriptedScene : public Scene {
public:
    ScriptedScene(Log& log, int id, int nextId, int framesBeforeSwitch)
        : log_(log), id_(id), next_(nextId), frames_(framesBeforeSwitch) {}
    ~ScriptedScene() override { log_.lines.push_back("destroy " + std::to_string(id_)); }
    void Enter(int previous) override {
        log_.lines.push_back("enter " + std::to_string(id_) + " from " + std::to_string(previous));
    }
    void Leave() override { log_.lines.push_back("leave " + std::to_string(id_)); }
    void Update(int* nextSceneId) override {
        ++updates_;
        log_.lines.push_back("update " + std::to_string(id_));
        if (updates_ >= frames_) {
            *nextSceneId = next_;
        }
    }

private:
    Log& log_;
    int id_;
    int next_;
    int frames_;
    int updates_ = 0;
};

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override { headless = testsupport::InstallHeadlessWithRenderer(); }
    platform::HeadlessPlatform* headless = nullptr;
    Log log;
};

}  // namespace

TEST_F(SceneManagerTest, TitleEnteredWithZeroThenSwitchSpansTwoPasses) {
    Application app;
    app.SetSceneFactory([&](int id) -> Scene* {
        if (id == 2) return new ScriptedScene(log, 2, 3, 2);
        if (id == 3) return new ScriptedScene(log, 3, 10, 1);
        return nullptr;
    });
    app.nextSceneId = 2;
    EXPECT_EQ(app.Run(), 0);
    const std::vector<std::string> expected = {
        "enter 2 from 0", "update 2", "update 2", "leave 2", "destroy 2",
        "enter 3 from 2", "update 3", "leave 3", "destroy 3",
    };
    EXPECT_EQ(log.lines, expected);
    EXPECT_FALSE(headless->WindowVisible());  // id 10 hides the window
}

TEST_F(SceneManagerTest, WritingOwnIdDoesNotRestart) {
    Application app;
    int created = 0;
    app.SetSceneFactory([&](int id) -> Scene* {
        ++created;
        // Writes its own id (4) on the first update, then quits on the third.
        class Self : public ScriptedScene {
        public:
            using ScriptedScene::ScriptedScene;
            void Update(int* next) override {
                ++n;
                *next = n < 3 ? 4 : 10;
            }
            int n = 0;
        };
        return id == 4 ? new Self(log, 4, 0, 0) : nullptr;
    });
    app.nextSceneId = 4;
    app.Run();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(log.lines.front(), "enter 4 from 0");
    EXPECT_EQ(log.lines[1], "leave 4");
}

TEST_F(SceneManagerTest, CloseByWindowDestroysWithoutLeave) {
    Application app;
    app.SetSceneFactory([&](int id) -> Scene* { return id == 2 ? new ScriptedScene(log, 2, 2, 1000) : nullptr; });
    app.nextSceneId = 2;
    platform::Event close;
    close.type = platform::Event::Type::CloseRequested;
    headless->PushEvent(close);
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
    EXPECT_EQ(app.Run(), 0);
    const std::vector<std::string> expected = {"enter 2 from 0", "update 2", "destroy 2"};
    EXPECT_EQ(log.lines, expected);
    ASSERT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_EQ(headless->MessageBoxes()[0].text, "終了しますか");
    EXPECT_EQ(headless->MessageBoxes()[0].caption, "終了確認");
    EXPECT_EQ(headless->MessageBoxes()[0].buttons, platform::MessageBoxButtons::OkCancel);
    EXPECT_EQ(headless->MessageBoxes()[0].icon, platform::MessageBoxIcon::Question);
    EXPECT_FALSE(headless->WindowCreated());  // the close button's OK destroys the window
}

TEST_F(SceneManagerTest, CancelKeepsRunningAndAltF4AsksToo) {
    Application app;
    int updates = 0;
    class Counting : public Scene {
    public:
        Counting(int& n, platform::HeadlessPlatform* h) : n_(n), h_(h) {}
        void Enter(int) override {}
        void Leave() override {}
        void Update(int*) override {
            ++n_;
            platform::Event e;
            if (n_ == 1) {
                e.type = platform::Event::Type::CloseRequested;
                h_->PushEvent(e);  // answered Cancel
            } else if (n_ == 3) {
                e.type = platform::Event::Type::KeyDown;
                e.key = platform::KeyCode::F4;
                e.alt = false;  // plain F4 does nothing
                h_->PushEvent(e);
            } else if (n_ == 5) {
                e.type = platform::Event::Type::KeyDown;
                e.key = platform::KeyCode::F4;
                e.alt = true;  // answered OK
                h_->PushEvent(e);
            }
        }
        int& n_;
        platform::HeadlessPlatform* h_;
    };
    app.SetSceneFactory([&](int id) -> Scene* { return id == 2 ? new Counting(updates, headless) : nullptr; });
    app.nextSceneId = 2;
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Cancel);
    headless->QueueMessageBoxAnswer(platform::MessageBoxAnswer::Ok);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(updates, 5);
    EXPECT_EQ(headless->MessageBoxes().size(), 2u);
    EXPECT_TRUE(headless->WindowCreated());  // Alt+F4 quits without destroying the window first
}

TEST_F(SceneManagerTest, UnknownIdIdlesUntilClosed) {
    Application app;
    int factoryCalls = 0;
    app.SetSceneFactory([&](int) -> Scene* {
        ++factoryCalls;
        if (factoryCalls == 20) {
            platform::Event close;
            close.type = platform::Event::Type::CloseRequested;
            headless->PushEvent(close);
        }
        return nullptr;
    });
    app.nextSceneId = 5;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(factoryCalls, 20);
    EXPECT_EQ(app.currentSceneId, 0);
}

TEST_F(SceneManagerTest, PassesArePacedBySixtyPerSecond) {
    Application app;
    class Quit : public Scene {
    public:
        void Enter(int) override {}
        void Leave() override {}
        void Update(int* next) override {
            if (++n == 60) *next = 10;
        }
        int n = 0;
    };
    app.SetSceneFactory([&](int id) -> Scene* { return id == 2 ? new Quit() : nullptr; });
    app.nextSceneId = 2;
    Timer::Instance().Wait();  // settle the timer on this clock
    const uint64_t start = headless->ClockNs();
    app.Run();
    const double seconds = static_cast<double>(headless->ClockNs() - start) / 1e9;
    EXPECT_NEAR(seconds, 1.0, 0.02);
}
