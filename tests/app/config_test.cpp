#include <gtest/gtest.h>

#include <climits>

#include "app/application.h"
#include "platform/system.h"
#include "test_support.h"

TEST(ConfigTest, FullScreenIsAPrefixCompareOnLowerCaseOn) {
    EXPECT_EQ(ParseFullScreen("on"), 1);
    EXPECT_EQ(ParseFullScreen("onward"), 1);
    EXPECT_EQ(ParseFullScreen("ON"), 0);
    EXPECT_EQ(ParseFullScreen("On"), 0);
    EXPECT_EQ(ParseFullScreen("1"), 0);
    EXPECT_EQ(ParseFullScreen("yes"), 0);
    EXPECT_EQ(ParseFullScreen("o"), 0);
    EXPECT_EQ(ParseFullScreen(""), 0);
    EXPECT_EQ(ParseFullScreen("off"), 0);
}

TEST(ConfigTest, VolumesReadWithBaseZero) {
    EXPECT_EQ(ParseVolume("30"), 30);
    EXPECT_EQ(ParseVolume("0x32"), 50);
    EXPECT_EQ(ParseVolume("010"), 8);
    EXPECT_EQ(ParseVolume("loud"), 0);
    EXPECT_EQ(ParseVolume("-5"), -5);
    EXPECT_EQ(ParseVolume("42abc"), 42);
    EXPECT_EQ(ParseVolume("4294967346"), INT_MAX);  // saturates rather than wrapping to 50
    EXPECT_EQ(ParseVolume("-99999999999"), INT_MIN);
    EXPECT_EQ(EffectAttenuation(ParseVolume("-99999999999")), -10000);
}

TEST(ConfigTest, EffectAttenuationTable) {
    EXPECT_EQ(EffectAttenuation(0), -10000);
    EXPECT_EQ(EffectAttenuation(100), 0);
    EXPECT_EQ(EffectAttenuation(50), -999);
    EXPECT_EQ(EffectAttenuation(30), -1736);
    EXPECT_EQ(EffectAttenuation(1), -6643);
    EXPECT_EQ(EffectAttenuation(150), 584);
    EXPECT_EQ(EffectAttenuation(-1), -10000);
    EXPECT_EQ(EffectAttenuation(-100), -10000);
}

TEST(ProfileStringTest, LooksUpSectionAndKeyWithoutCase) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    ASSERT_TRUE(testsupport::WriteFile(path,
                                       "; comment\r\n[other]\r\nSeVolume=1\r\n[Game]\r\n  fullscreen = on  \r\n"
                                       "BgmVolume=\"70\"\r\n"));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "FullScreen", "off"), "on");
    EXPECT_EQ(platform::ReadProfileString(path, "game", "BgmVolume", "30"), "70");
    EXPECT_EQ(platform::ReadProfileString(path, "game", "SeVolume", "30"), "30");
    EXPECT_EQ(platform::ReadProfileString(dir + "/missing.ini", "game", "SeVolume", "30"), "30");
}

TEST(ProfileStringTest, OnlyTheFirstSectionOfANameIsRead) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    ASSERT_TRUE(testsupport::WriteFile(path, "[game]\nBgmVolume=40\n[other]\nx=1\n[GAME]\nBgmVolume=90\nSeVolume=20\n"));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "BgmVolume", "30"), "40");
    EXPECT_EQ(platform::ReadProfileString(path, "game", "SeVolume", "30"), "30");  // only in the second [game]
    EXPECT_EQ(platform::ReadProfileString(path, "other", "x", "0"), "1");
}

TEST(ProfileStringTest, ValueIsCutToTheBuffer) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    ASSERT_TRUE(testsupport::WriteFile(path, "[game]\nFullScreen=" + std::string(150, 'x') + "\n"));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "FullScreen", "off").size(), 99u);
}
