#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "app/application.h"
#include "core/global.h"
#include "platform/system.h"
#include "test_support.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Global::Instance().Clear();
        dir = testsupport::MakeTempDir();
        path = dir + "/config.ini";
    }
    void TearDown() override { Global::Instance().Clear(); }
    std::string dir;
    std::string path;
};

}  // namespace

TEST_F(ConfigFileTest, WriterReplacesInPlaceAndKeepsEverythingElse) {
    const std::string before =
        "; settings of the salon\r\n"
        "[other]\r\n"
        "BgmVolume=99\r\n"
        "\r\n"
        "[Game]\r\n"
        "  fullscreen = off ; trailing words\r\n"
        "Mystery=kept\r\n"
        "; a comment inside\r\n"
        "SeVolume=30\r\n"
        "\r\n"
        "[game]\r\n"
        "SeVolume=5\r\n";
    ASSERT_TRUE(testsupport::WriteFile(path, before));
    ASSERT_TRUE(platform::WriteProfileStrings(path, "game", {{"FullScreen", "on"}, {"SeVolume", "70"},
                                                             {"FastAnimations", "on"}}));
    const std::string after = ReadAll(path);
    // The first [Game] gets the values (the key keeps its spelling, the line its ending); the new
    // key follows the section's last entry; the later section of the same name is untouched.
    EXPECT_EQ(after,
              "; settings of the salon\r\n"
              "[other]\r\n"
              "BgmVolume=99\r\n"
              "\r\n"
              "[Game]\r\n"
              "fullscreen=on\r\n"
              "Mystery=kept\r\n"
              "; a comment inside\r\n"
              "SeVolume=70\r\n"
              "FastAnimations=on\r\n"
              "\r\n"
              "[game]\r\n"
              "SeVolume=5\r\n");
    EXPECT_EQ(platform::ReadProfileString(path, "game", "SeVolume", "x"), "70");
    EXPECT_EQ(platform::ReadProfileString(path, "other", "BgmVolume", "x"), "99");
    // No temporary file is left beside it.
    EXPECT_NE(::access((path + ".tmp").c_str(), F_OK), 0);
}

TEST_F(ConfigFileTest, WriterCreatesTheFileOrTheSectionAndRefusesNonFiles) {
    ASSERT_TRUE(platform::WriteProfileStrings(path, "game", {{"SeVolume", "10"}}));
    EXPECT_EQ(ReadAll(path), "[game]\nSeVolume=10\n");

    ASSERT_TRUE(testsupport::WriteFile(path, "[audio]\nX=1"));  // no line end at the end
    ASSERT_TRUE(platform::WriteProfileStrings(path, "game", {{"SeVolume", "10"}}));
    EXPECT_EQ(ReadAll(path), "[audio]\nX=1\n[game]\nSeVolume=10\n");

    const std::string folder = dir + "/folder.ini";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_FALSE(platform::WriteProfileStrings(folder, "game", {{"SeVolume", "10"}}));
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_FALSE(platform::WriteProfileStrings(dir + "/missing/config.ini", "game", {{"A", "1"}}));
}

TEST_F(ConfigFileTest, DefaultsWithoutAFile) {
    LoadConfiguration(path);
    const Global& g = Global::Instance();
    EXPECT_EQ(g.Get("FullScreen"), 0);
    EXPECT_EQ(g.Get("BgmVolume"), 30);
    EXPECT_EQ(g.Get("SeVolume"), 30);
    EXPECT_EQ(g.Get("FourColourDeck"), 0);
    EXPECT_EQ(g.Get("FullStory"), 0);
    EXPECT_EQ(g.Get("FastAnimations"), 0);
    EXPECT_EQ(g.Get("PauseOnFocusLoss"), 1);
    EXPECT_EQ(g.Get("WindowScale"), 100);
    EXPECT_EQ(g.Get("WindowWidth"), 0);
    EXPECT_EQ(g.Get("WindowHeight"), 0);
}

TEST_F(ConfigFileTest, EverySettingIsWrittenAndReadBack) {
    ASSERT_TRUE(testsupport::WriteFile(path, "[game]\n; keep me\nUnknownKey=42\n"));
    Global& g = Global::Instance();
    struct Case {
        const char* key;
        int value;
    };
    // Each setting away from its default, one at a time, so a key written under another's name
    // or not at all shows up.
    const Case cases[] = {{"FullScreen", 1},     {"BgmVolume", 75},       {"SeVolume", 5},
                          {"FourColourDeck", 1}, {"FullStory", 1},        {"FastAnimations", 1},
                          {"PauseOnFocusLoss", 0}, {"WindowScale", 150},  {"WindowWidth", 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        LoadConfiguration(path);
        g.Set(c.value, c.key);
        if (std::string(c.key) == "WindowWidth") {
            g.Set(600, "WindowHeight");
        }
        ASSERT_TRUE(SaveConfiguration(path));
        g.Clear();
        LoadConfiguration(path);
        EXPECT_EQ(g.Get(c.key), c.value);
        const std::string text = ReadAll(path);
        EXPECT_NE(text.find("; keep me\nUnknownKey=42\n"), std::string::npos) << text;
    }
    EXPECT_EQ(g.Get("WindowHeight"), 600);
    EXPECT_EQ(g.Get("FullScreen"), 1);
    EXPECT_EQ(g.Get("PauseOnFocusLoss"), 0);
    EXPECT_EQ(g.Get("WindowScale"), 150);
}

TEST_F(ConfigFileTest, NonsenseFallsBackToDefaults) {
    ASSERT_TRUE(testsupport::WriteFile(path,
                                       "[game]\nFourColourDeck=maybe\nFullStory=1\nFastAnimations=ON\n"
                                       "PauseOnFocusLoss=nope\nWindowScale=120\nWindowWidth=800\n"
                                       "WindowHeight=-3\n"));
    LoadConfiguration(path);
    const Global& g = Global::Instance();
    EXPECT_EQ(g.Get("FourColourDeck"), 0);
    EXPECT_EQ(g.Get("FullStory"), 0);
    EXPECT_EQ(g.Get("FastAnimations"), 1);  // either case
    EXPECT_EQ(g.Get("PauseOnFocusLoss"), 1);
    EXPECT_EQ(g.Get("WindowScale"), 100);
    EXPECT_EQ(g.Get("WindowWidth"), 0);  // half a size is none
    EXPECT_EQ(g.Get("WindowHeight"), 0);

    EXPECT_EQ(ParseWindowScale("200"), 200);
    EXPECT_EQ(ParseWindowScale("50"), 50);
    EXPECT_EQ(ParseWindowScale("150px"), 100);
    EXPECT_EQ(ParseWindowScale(""), 100);
    EXPECT_EQ(ParseWindowDimension("16384"), 16384);
    EXPECT_EQ(ParseWindowDimension("16385"), 0);
    EXPECT_EQ(ParseWindowDimension("0x300"), 0);
}

TEST(WindowSizeTest, ScaleUnlessASizeIsRemembered) {
    int w = 0, h = 0;
    WindowSizeFor(50, 0, 0, 1280, 720, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 360);
    WindowSizeFor(150, 0, 0, 1280, 720, w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    WindowSizeFor(200, 1000, 700, 1280, 720, w, h);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 700);
}
