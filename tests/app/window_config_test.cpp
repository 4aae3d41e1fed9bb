// The window through the main loop: Alt+Enter, resizes remembered in config.ini at the end, the
// scale applied at start.
#include <fstream>
#include <iterator>

#include "app/application.h"
#include "core/global.h"
#include "platform/system.h"
#include "scene_fixture.h"
#include "test_support.h"

namespace {

class WindowConfigTest : public testsupport::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        SetConfigFolder(saveDir);
        SetFactory([](int) -> Scene* { return nullptr; });
        Start(kSceneTitle);
    }
    void TearDown() override {
        SetConfigFolder("");
        SceneTest::TearDown();
    }
    std::string config() const {
        std::ifstream in(saveDir + "/config.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void altEnter() {
        headless->PushEvent(platform::Event{platform::Event::Type::KeyDown, platform::KeyCode::Return, true});
        frames(1);
    }
};

TEST_F(WindowConfigTest, AltEnterTogglesFullScreenAndPlainEnterDoesNot) {
    headless->PushEvent(platform::Event{platform::Event::Type::KeyDown, platform::KeyCode::Return, false});
    frames(1);
    EXPECT_FALSE(headless->IsFullScreen());
    altEnter();
    EXPECT_TRUE(headless->IsFullScreen());
    EXPECT_EQ(Global::Instance().Get("FullScreen"), 1);
    altEnter();
    EXPECT_FALSE(headless->IsFullScreen());
    EXPECT_EQ(Global::Instance().Get("FullScreen"), 0);
    EXPECT_TRUE(headless->MessageBoxes().empty());  // no question on the way
}

TEST_F(WindowConfigTest, AResizedWindowIsRememberedAtTheEndAndTheRestOfTheFileKept) {
    ASSERT_TRUE(testsupport::WriteFile(saveDir + "/config.ini", "; mine\n[game]\nWindowScale=150\nOwn=1\n"));
    LoadConfiguration(ConfigPath());
    headless->ScriptResize(1000, 563);
    frames(1);
    // A full-screen switch in between does not count as a window size.
    altEnter();
    headless->ScriptResize(1920, 1080);
    frames(1);
    altEnter();
    app->Shutdown();
    const std::string text = config();
    EXPECT_NE(text.find("WindowWidth=1000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WindowHeight=563\n"), std::string::npos) << text;
    const std::string kept = "; mine\n[game]\nWindowScale=150\nOwn=1\n";
    EXPECT_EQ(text.compare(0, kept.size(), kept), 0) << text;
    Global::Instance().Clear();
    LoadConfiguration(ConfigPath());
    EXPECT_EQ(Global::Instance().Get("WindowWidth"), 1000);
    EXPECT_EQ(Global::Instance().Get("WindowScale"), 150);
}

TEST_F(WindowConfigTest, AWindowAtItsScaleSizeForgetsTheRememberedSize) {
    ASSERT_TRUE(testsupport::WriteFile(saveDir + "/config.ini",
                                       "[game]\nWindowScale=50\nWindowWidth=900\nWindowHeight=500\n"));
    LoadConfiguration(ConfigPath());
    headless->ScriptResize(640, 360);
    frames(1);
    app->Shutdown();
    EXPECT_NE(config().find("WindowWidth=0\nWindowHeight=0\n"), std::string::npos) << config();
}

TEST_F(WindowConfigTest, NothingIsWrittenWhenNothingChanged) {
    headless->ScriptResize(1280, 720);
    frames(1);
    app->Shutdown();
    std::ifstream in(saveDir + "/config.ini");
    EXPECT_FALSE(in.good());
}

}  // namespace
