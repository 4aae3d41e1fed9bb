#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/global.h"
#include "core/random.h"
#include "core/records.h"
#include "archive/resources.h"
#include "platform/debug.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "sound/dx_sound.h"
#include "test_support.h"

namespace {

// A game folder with config.ini and data files in a temporary directory, and the list resources
// registered for the run.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir();
        mkdir((dir + "/data").c_str(), 0700);
        for (int i = 0; i < 4; ++i) {
            testsupport::WriteFile(dir + "/data/data" + std::to_string(i) + ".dat", "x");
        }
        // One record per list: name "a", file i, offset 0, size 1.
        for (int i = 0; i < 4; ++i) {
            lists[i] = {1, 'a', static_cast<uint8_t>(i), 0, 0, 0, 0, 1, 0, 0, 0};
            archive::RegisterResource("RT_LIST", 103 + i, lists[i].data(), lists[i].size());
        }
        headless = testsupport::InstallHeadless();
        platform::audio::InstallHeadlessDevice();
        DxSound::Instance().SetBgmVolume(100);
        Global::Instance().Clear();
        platform::SetDebugSink([this](const std::string& line) { debug.push_back(line); });
    }
    void TearDown() override {
        platform::SetDebugSink(nullptr);
        for (int i = 0; i < 4; ++i) {
            archive::UnregisterResource("RT_LIST", 103 + i);
        }
    }
    std::string dir;
    std::vector<uint8_t> lists[4];
    platform::HeadlessPlatform* headless = nullptr;
    std::vector<std::string> debug;
};

}  // namespace

TEST_F(StartupTest, ReadsConfigurationAndNamesTheTitle) {
    testsupport::ScopedChdir cd(dir);
    testsupport::WriteFile("config.ini", "[game]\nFullScreen=on\nBgmVolume=0x32\nSeVolume=80\n");
    Application app;
    app.SetInstanceName("tarnwick-test-startup-1");
    ASSERT_EQ(app.Initialize(), 0);
    EXPECT_EQ(app.nextSceneId, 2);
    EXPECT_EQ(Global::Instance().Get("FullScreen"), 1);
    EXPECT_EQ(Global::Instance().Get("BgmVolume"), 50);
    EXPECT_EQ(Global::Instance().Get("SeVolume"), 80);
    EXPECT_EQ(headless->WindowTitle(), "Tarnwick Ostrelle Night　Ver.1.00");
    // The volumes reach the sound device: music scaled from 100 %, effects as an attenuation.
    EXPECT_EQ(DxSound::Instance().BgmVolume(), 50);
    EXPECT_EQ(DxSound::Instance().SeVolume(), 80);
    EXPECT_EQ(DxSound::Instance().SeAttenuation(), EffectAttenuation(80));
    EXPECT_TRUE(headless->MessageBoxes().empty());
    app.Shutdown();
}

TEST_F(StartupTest, MissingConfigGivesDefaults) {
    testsupport::ScopedChdir cd(dir);
    Application app;
    app.SetInstanceName("tarnwick-test-startup-2");
    ASSERT_EQ(app.Initialize(), 0);
    EXPECT_EQ(Global::Instance().Get("FullScreen"), 0);
    EXPECT_EQ(Global::Instance().Get("BgmVolume"), 30);
    EXPECT_EQ(Global::Instance().Get("SeVolume"), 30);
    app.Shutdown();
}

TEST_F(StartupTest, MissingDataFileEndsQuietly) {
    testsupport::ScopedChdir cd(dir);
    ASSERT_EQ(unlink("data/data2.dat"), 0);
    Application app;
    app.SetInstanceName("tarnwick-test-startup-3");
    EXPECT_EQ(app.Initialize(), static_cast<int>(0x80004005u));
    EXPECT_TRUE(headless->MessageBoxes().empty());
    EXPECT_GE(app.dataFiles.fd[0], 0);
    EXPECT_GE(app.dataFiles.fd[1], 0);
    EXPECT_LT(app.dataFiles.fd[2], 0);
    EXPECT_LT(app.dataFiles.fd[3], 0);
    bool found = false;
    for (const auto& l : debug) found = found || l == "データファイルが読み込めません。";
    EXPECT_TRUE(found);
    app.Shutdown();
    EXPECT_FALSE(headless->WindowCreated());
}

TEST_F(StartupTest, MissingListShowsItsMessage) {
    testsupport::ScopedChdir cd(dir);
    archive::UnregisterResource("RT_LIST", 105);
    Application app;
    app.SetInstanceName("tarnwick-test-startup-4");
    EXPECT_EQ(app.Initialize(), static_cast<int>(0x80004005u));
    ASSERT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_EQ(headless->MessageBoxes()[0].text, "data2.lstが見つかりません");
    EXPECT_EQ(headless->MessageBoxes()[0].caption, "ERROR");
    EXPECT_EQ(headless->MessageBoxes()[0].icon, platform::MessageBoxIcon::Warning);
    app.Shutdown();
}

TEST_F(StartupTest, SecondInstanceIsRefused) {
    testsupport::ScopedChdir cd(dir);
    platform::SingleInstanceGuard first("tarnwick-test-startup-5");
    ASSERT_FALSE(first.AlreadyExisted());
    Application app;
    app.SetInstanceName("tarnwick-test-startup-5");
    EXPECT_EQ(app.Initialize(), -1);
    ASSERT_EQ(headless->MessageBoxes().size(), 1u);
    EXPECT_EQ(headless->MessageBoxes()[0].text, "既に起動しています。");
    EXPECT_EQ(headless->MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(headless->MessageBoxes()[0].icon, platform::MessageBoxIcon::Information);
    EXPECT_FALSE(headless->WindowCreated());
    // Once the first holder ends, the name is free again.
    first.Release();
    platform::SingleInstanceGuard again("tarnwick-test-startup-5");
    EXPECT_FALSE(again.AlreadyExisted());
}

TEST_F(StartupTest, FailedWindowEndsStartUpAfterItsLine) {
    testsupport::ScopedChdir cd(dir);
    headless->failCreateWindow = true;
    Application app;
    app.SetInstanceName("tarnwick-test-startup-7");
    EXPECT_EQ(app.Initialize(), static_cast<int>(0x80004005u));
    bool found = false;
    for (const auto& l : debug) found = found || l == "Error: DIRECTXの初期化に失敗";
    EXPECT_TRUE(found);
    app.Shutdown();
}

TEST_F(StartupTest, DataFilesThatAreNotRegularFilesFailLikeMissingOnes) {
    testsupport::ScopedChdir cd(dir);
    ASSERT_EQ(unlink("data/data0.dat"), 0);
    ASSERT_EQ(mkdir("data/data0.dat", 0700), 0);
    {
        Application app;
        app.SetInstanceName("tarnwick-test-startup-8");
        EXPECT_EQ(app.Initialize(), static_cast<int>(0x80004005u));
        EXPECT_LT(app.dataFiles.fd[0], 0);
        app.Shutdown();
    }
    ASSERT_EQ(rmdir("data/data0.dat"), 0);
    // A FIFO must fail at once, not wait for a writer.
    ASSERT_EQ(mkfifo("data/data0.dat", 0600), 0);
    {
        Application app;
        app.SetInstanceName("tarnwick-test-startup-8");
        EXPECT_EQ(app.Initialize(), static_cast<int>(0x80004005u));
        EXPECT_LT(app.dataFiles.fd[0], 0);
        app.Shutdown();
    }
    bool found = false;
    for (const auto& l : debug) found = found || l == "データファイルが読み込めません。";
    EXPECT_TRUE(found);
}

TEST_F(StartupTest, SaveFileIsLoadedLast) {
    testsupport::ScopedChdir cd(dir);
    testsupport::WriteFile("save.dat", std::string("\x02\x00\x01\x00\x03", 5));
    // A start-up that fails at the last data file or at the last list has not read the save yet.
    {
        ASSERT_EQ(rename("data/data3.dat", "data/data3.off"), 0);
        Application app;
        app.SetInstanceName("tarnwick-test-startup-6");
        EXPECT_NE(app.Initialize(), 0);
        EXPECT_EQ(Global::Instance().GetStage(0), 0);
        EXPECT_EQ(Global::Instance().GetStage(4), 0);
        app.Shutdown();
        ASSERT_EQ(rename("data/data3.off", "data/data3.dat"), 0);
    }
    {
        archive::UnregisterResource("RT_LIST", 106);
        Application app;
        app.SetInstanceName("tarnwick-test-startup-6");
        EXPECT_NE(app.Initialize(), 0);
        EXPECT_EQ(Global::Instance().GetStage(0), 0);
        EXPECT_EQ(Global::Instance().GetStage(4), 0);
        app.Shutdown();
        archive::RegisterResource("RT_LIST", 106, lists[3].data(), lists[3].size());
    }
    // Everything before it in place: the save's stages are there when start-up returns.
    Application app;
    app.SetInstanceName("tarnwick-test-startup-6");
    ASSERT_EQ(app.Initialize(), 0);
    EXPECT_EQ(Global::Instance().GetStage(0), 2);
    EXPECT_EQ(Global::Instance().GetStage(2), 1);
    EXPECT_EQ(Global::Instance().GetStage(4), 3);
    app.Shutdown();
}

TEST_F(StartupTest, RecordsAreLoadedBesideTheSaveAndADamagedFileIsLoggedOnce) {
    testsupport::ScopedChdir cd(dir);
    Records::Instance().Clear();
    Records::Instance().RecordMatch(2, true);
    ASSERT_TRUE(Records::Instance().Write());
    Records::Instance().Clear();
    {
        Application app;
        app.SetInstanceName("tarnwick-test-startup-9");
        ASSERT_EQ(app.Initialize(), 0);
        EXPECT_EQ(Records::Instance().Get(2).matchesWon, 1);
        app.Shutdown();
    }
    testsupport::WriteFile("records.dat", "TWRC");
    debug.clear();
    Application app;
    app.SetInstanceName("tarnwick-test-startup-9");
    ASSERT_EQ(app.Initialize(), 0);
    EXPECT_EQ(Records::Instance().Get(2).matchesWon, 0);
    int lines = 0;
    for (const std::string& l : debug) lines += l.find("records.dat") != std::string::npos ? 1 : 0;
    EXPECT_EQ(lines, 1);
    app.Shutdown();
}

// TARNWICK_SEED replays the same numbers; anything but a plain 32-bit number is refused with a line.
TEST_F(StartupTest, SeedFromTheEnvironmentFixesTheNumbers) {
    ASSERT_TRUE(SeedFromEnvironment("12345"));
    const int a = Random::Instance().Range(0, 1000000), r1 = std::rand();
    ASSERT_TRUE(SeedFromEnvironment("12345"));
    EXPECT_EQ(Random::Instance().Range(0, 1000000), a);
    EXPECT_EQ(std::rand(), r1);
    EXPECT_TRUE(SeedFromEnvironment("4294967295"));
    debug.clear();
    for (const char* bad : {"", "-1", "12x", "4294967296", "seed"}) {
        EXPECT_FALSE(SeedFromEnvironment(bad)) << bad;
    }
    EXPECT_FALSE(SeedFromEnvironment(nullptr));
    EXPECT_EQ(debug.size(), 4u) << "one line for each refused value that was given";
}
