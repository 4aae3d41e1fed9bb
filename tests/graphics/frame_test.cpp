#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <fstream>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

namespace {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless = testsupport::InstallHeadless();
        Global::Instance().Clear();
        ASSERT_EQ(DxGraphic::Instance().Init("caption", 1280, 720, true), 0);
    }
    void TearDown() override {
        DxGraphic::Instance().ReleaseAllTextures();
        DxGraphic::Instance().ReleaseAllCanvases();
        DxGraphic::Instance().Shutdown();
        Global::Instance().Clear();
    }
    // Where the camera puts a world point, in back-buffer pixels (row vectors, D3D clip space).
    void Project(float x, float y, float z, float& sx, float& sy) {
        const float* v = headless->View();
        const float* p = headless->Projection();
        float e[4], c[4];
        const float in[4] = {x, y, z, 1};
        for (int j = 0; j < 4; ++j) e[j] = in[0] * v[j] + in[1] * v[4 + j] + in[2] * v[8 + j] + in[3] * v[12 + j];
        for (int j = 0; j < 4; ++j) c[j] = e[0] * p[j] + e[1] * p[4 + j] + e[2] * p[8 + j] + e[3] * p[12 + j];
        sx = (c[0] / c[3] + 1.0f) * 640.0f;
        sy = (1.0f - c[1] / c[3]) * 360.0f;
        depth = c[2] / c[3];
    }
    platform::HeadlessPlatform* headless = nullptr;
    float depth = 0;
};

}  // namespace

TEST_F(FrameTest, WindowIsCentredOnTheDesktop) {
    EXPECT_EQ(headless->WindowX(), 1920 / 2 - 640);
    EXPECT_EQ(headless->WindowY(), 1080 / 2 - 360);
    DxGraphic::Instance().Shutdown();
    headless->desktopWidth = 1024;
    headless->desktopHeight = 600;
    ASSERT_EQ(DxGraphic::Instance().Init("caption", 1280, 720, true), 0);
    EXPECT_EQ(headless->WindowX(), -128);  // a small desktop gives a negative edge
    EXPECT_EQ(headless->WindowY(), -60);
}

TEST_F(FrameTest, CameraMapsPlaneZeroOntoPixels) {
    float sx, sy;
    Project(0, 0, 0, sx, sy);
    EXPECT_NEAR(sx, 0, 1e-3);
    EXPECT_NEAR(sy, 0, 1e-3);
    Project(1280, 720, 0, sx, sy);
    EXPECT_NEAR(sx, 1280, 1e-2);
    EXPECT_NEAR(sy, 720, 1e-2);
    Project(100, 650, 0, sx, sy);
    EXPECT_NEAR(sx, 100, 1e-2);
    EXPECT_NEAR(sy, 650, 1e-2);
    EXPECT_GT(depth, 0.0f);
    EXPECT_LT(depth, 1.0f);
    // Positive z moves away: k = 720 / (720 + z) about the screen centre.
    Project(1000, 100, 720, sx, sy);
    EXPECT_NEAR(sx, 640 + (1000 - 640) * 0.5f, 1e-2);
    EXPECT_NEAR(sy, 360 + (100 - 360) * 0.5f, 1e-2);
    Project(1000, 100, -360, sx, sy);
    EXPECT_NEAR(sx, 640 + (1000 - 640) * 2.0f, 1e-2);
}

TEST_F(FrameTest, ClearsToGreyAndCountsFrames) {
    EXPECT_EQ(DxGraphic::Instance().BeginFrame(), 0);
    EXPECT_EQ(DxGraphic::Instance().EndFrame(), 0);
    EXPECT_EQ(headless->LastClearColour(), 0xFF646464u);
    EXPECT_EQ(headless->FrameCount(), 1);
}

TEST_F(FrameTest, ShakeShrinksOverItsLengthThenStops) {
    Global& g = Global::Instance();
    g.Set(1, "shake_enable");
    g.Set(10, "shake_x");
    g.Set(0, "shake_y");
    g.Set(30, "shake_time");
    g.Set(30, "shake_max");
    std::srand(1);
    DxGraphic& gfx = DxGraphic::Instance();
    for (int frame = 0; frame < 31; ++frame) {
        const int amplitude = 10 * (30 - frame) / 30;
        gfx.BeginFrame();
        gfx.EndFrame();
        EXPECT_LE(std::abs(gfx.ShakeX()), amplitude) << "frame " << frame;
        EXPECT_EQ(gfx.ShakeY(), 0);
        if (frame < 30) {
            EXPECT_EQ(g.Get("shake_time"), 29 - frame);
            EXPECT_EQ(g.Get("shake_enable"), 1);
        }
    }
    EXPECT_EQ(g.Get("shake_enable"), 0);  // the frame after reaching 0
    EXPECT_EQ(gfx.ShakeX(), 0);
    gfx.BeginFrame();
    EXPECT_EQ(gfx.ShakeX(), 0);
}

TEST_F(FrameTest, ShakeWithoutMaxKeepsFullAmplitude) {
    Global& g = Global::Instance();
    g.Set(1, "shake_enable");
    g.Set(6, "shake_x");
    g.Set(4, "shake_y");
    g.Set(5, "shake_time");
    bool reachedX = false, reachedY = false;
    for (int frame = 0; frame < 400; ++frame) {
        DxGraphic::Instance().BeginFrame();
        DxGraphic::Instance().EndFrame();
        const int x = DxGraphic::Instance().ShakeX(), y = DxGraphic::Instance().ShakeY();
        ASSERT_LE(std::abs(x), 6);
        ASSERT_LE(std::abs(y), 4);
        reachedX = reachedX || std::abs(x) == 6;
        reachedY = reachedY || std::abs(y) == 4;
    }
    EXPECT_TRUE(reachedX);
    EXPECT_TRUE(reachedY);
    EXPECT_EQ(g.Get("shake_time"), 5);
    EXPECT_EQ(g.Get("shake_enable"), 1);
}

TEST_F(FrameTest, LostDeviceWaitsThenResetReloadsTextures) {
    std::vector<std::string> debug;
    platform::SetDebugSink([&](const std::string& l) { debug.push_back(l); });
    DxGraphic& gfx = DxGraphic::Instance();
    ASSERT_EQ(gfx.CreateCanvas("font_test", 64, 32), 0);
    headless->FailNextPresent(platform::PresentResult::DeviceLost);
    gfx.BeginFrame();
    EXPECT_EQ(gfx.EndFrame(), 0);
    EXPECT_EQ(headless->ResetCount(), 0);
    headless->FailNextPresent(platform::PresentResult::DeviceNotReset);
    gfx.BeginFrame();
    EXPECT_EQ(gfx.EndFrame(), 0);
    EXPECT_EQ(headless->ResetCount(), 1);
    const DxGraphic::CacheEntry* canvas = gfx.FindCanvas("font_test");
    ASSERT_NE(canvas, nullptr);
    EXPECT_NE(canvas->texture, 0u);
    EXPECT_NE(headless->Texture(canvas->texture), nullptr);
    headless->FailNextPresent(platform::PresentResult::Failed);
    gfx.BeginFrame();
    EXPECT_EQ(gfx.EndFrame(), static_cast<int>(0x80004005u));
    platform::SetDebugSink(nullptr);
    ASSERT_EQ(debug.size(), 3u);
    EXPECT_EQ(debug[0], "Error: Presentに失敗しました");
}

TEST_F(FrameTest, FailedResetIsRetriedOnLaterFrames) {
    std::vector<std::string> debug;
    platform::SetDebugSink([&](const std::string& l) { debug.push_back(l); });
    DxGraphic& gfx = DxGraphic::Instance();
    ASSERT_EQ(gfx.CreateCanvas("font_retry", 64, 32), 0);
    headless->failResets = 2;
    headless->FailNextPresent(platform::PresentResult::DeviceNotReset);
    gfx.BeginFrame();
    EXPECT_EQ(gfx.EndFrame(), 0);
    EXPECT_EQ(headless->ResetCount(), 1);
    // Still waiting: the frame cannot begin, presenting fails and the reset is tried again.
    EXPECT_NE(gfx.BeginFrame(), 0);
    EXPECT_EQ(gfx.EndFrame(), 0);
    EXPECT_EQ(headless->ResetCount(), 2);
    EXPECT_NE(gfx.BeginFrame(), 0);
    EXPECT_EQ(gfx.EndFrame(), 0);
    EXPECT_EQ(headless->ResetCount(), 3);  // this one succeeds
    const DxGraphic::CacheEntry* canvas = gfx.FindCanvas("font_retry");
    ASSERT_NE(canvas, nullptr);
    EXPECT_NE(headless->Texture(canvas->texture), nullptr);
    const int frames = headless->FrameCount();
    EXPECT_EQ(gfx.BeginFrame(), 0);
    EXPECT_EQ(gfx.EndFrame(), 0);
    EXPECT_EQ(headless->FrameCount(), frames + 1);
    EXPECT_EQ(headless->ResetCount(), 3);
    platform::SetDebugSink(nullptr);
    EXPECT_EQ(std::count(debug.begin(), debug.end(), "Error: Clearに失敗しました。"), 2);
}

TEST_F(FrameTest, AFrameThatCannotBeginReportsBeginScene) {
    std::vector<std::string> debug;
    platform::SetDebugSink([&](const std::string& l) { debug.push_back(l); });
    headless->DestroyRenderer();  // the device is there for the game, but the frame cannot start
    EXPECT_NE(DxGraphic::Instance().BeginFrame(), 0);
    platform::SetDebugSink(nullptr);
    EXPECT_EQ(debug, std::vector<std::string>{"Error: BeginSceneに失敗しました。"});
}

TEST_F(FrameTest, ResetRedrawsOnlyTheLastTextOfACanvas) {
    DxGraphic& gfx = DxGraphic::Instance();
    ASSERT_EQ(gfx.CreateCanvas("font_reset", 200, 60), 0);
    gfx.DrawText("AB", 0, 0, 24, 0xFFFFFF, "font_reset");
    ASSERT_GT(gfx.DrawText("CD", 0, 0, 24, 0x00FF00, "font_reset"), 0);
    // What the canvas would hold with only the last text drawn.
    ASSERT_EQ(gfx.CreateCanvas("font_expected", 200, 60), 0);
    gfx.DrawText("CD", 0, 0, 24, 0x00FF00, "font_expected");
    const std::vector<uint32_t> expected = gfx.FindCanvas("font_expected")->pixels;

    headless->FailNextPresent(platform::PresentResult::DeviceNotReset);
    gfx.BeginFrame();
    EXPECT_EQ(gfx.EndFrame(), 0);
    const DxGraphic::CacheEntry* canvas = gfx.FindCanvas("font_reset");
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->pixels, expected);
    const auto* uploaded = headless->Texture(canvas->texture);
    ASSERT_NE(uploaded, nullptr);
    EXPECT_EQ(uploaded->pixels, expected);
}

TEST_F(FrameTest, F2WritesAScreenshotNamedByTheClock) {
    const std::string dir = testsupport::MakeTempDir();
    testsupport::ScopedChdir cd(dir);
    // The name is the local time of the frame: one of the seconds the frame ran in.
    auto nameAt = [](std::time_t t) {
        std::tm local{};
        localtime_r(&t, &local);
        char name[64];
        std::strftime(name, sizeof(name), "ss_%Y%m%d%H%M%S.png", &local);
        return std::string(name);
    };
    const std::time_t before = std::time(nullptr);
    headless->SetKeyDown(platform::KeyCode::F2, true);
    DxGraphic::Instance().BeginFrame();
    DxGraphic::Instance().EndFrame();
    headless->SetKeyDown(platform::KeyCode::F2, false);
    const std::time_t after = std::time(nullptr);
    std::vector<std::string> allowed;
    for (std::time_t t = before; t <= after; ++t) allowed.push_back(nameAt(t));
    int count = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), name), allowed.end()) << name << " vs " << allowed[0];
        // A PNG of the back buffer's size.
        std::ifstream in(e.path(), std::ios::binary);
        std::string head(24, '\0');
        in.read(head.data(), 24);
        EXPECT_EQ(head.substr(0, 8), "\x89PNG\r\n\x1a\n");
        auto be32 = [&](size_t at) {
            return static_cast<uint32_t>(static_cast<unsigned char>(head[at])) << 24 |
                   static_cast<uint32_t>(static_cast<unsigned char>(head[at + 1])) << 16 |
                   static_cast<uint32_t>(static_cast<unsigned char>(head[at + 2])) << 8 |
                   static_cast<uint32_t>(static_cast<unsigned char>(head[at + 3]));
        };
        EXPECT_EQ(be32(16), 1280u);
        EXPECT_EQ(be32(20), 720u);
        ++count;
    }
    EXPECT_EQ(count, 1);
    // Without F2 no file is written.
    const std::string quiet = testsupport::MakeTempDir();
    testsupport::ScopedChdir cd2(quiet);
    DxGraphic::Instance().BeginFrame();
    DxGraphic::Instance().EndFrame();
    EXPECT_TRUE(std::filesystem::is_empty(quiet));
}

TEST_F(FrameTest, FailedWindowReportsAndDrawsNothing) {
    DxGraphic::Instance().Shutdown();
    headless->failCreateWindow = true;
    std::vector<std::string> debug;
    platform::SetDebugSink([&](const std::string& l) { debug.push_back(l); });
    EXPECT_NE(DxGraphic::Instance().Init("caption", 1280, 720, true), 0);
    EXPECT_NE(DxGraphic::Instance().BeginFrame(), 0);
    platform::SetDebugSink(nullptr);
    ASSERT_FALSE(debug.empty());
    EXPECT_EQ(debug[0], "Error: Direct3D9オブジェクトの作成に失敗");
}
