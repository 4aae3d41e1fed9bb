#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <future>

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

TEST(ProfileStringTest, SeveralKeysInOnePassMatchSingleReads) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    ASSERT_TRUE(testsupport::WriteFile(path, "[Game]\r\n SeVolume = '15' \r\nfullSCREEN=on\r\nBgmVolume=\"8\r\n"
                                             "SeVolume=99\r\n[game]\r\nBgmVolume=1\r\n"));
    const std::vector<platform::ProfileKey> keys = {
        {"FullScreen", "off"}, {"BgmVolume", "30"}, {"SeVolume", "30"}, {"Missing", "dflt"}};
    const auto values = platform::ReadProfileStrings(path, "game", keys);
    ASSERT_EQ(values.size(), keys.size());
    EXPECT_EQ(values[0], "on");
    EXPECT_EQ(values[1], "\"8");  // an unmatched quote stays
    EXPECT_EQ(values[2], "15");    // the first of a repeated key
    EXPECT_EQ(values[3], "dflt");
    for (size_t k = 0; k < keys.size(); ++k) {
        EXPECT_EQ(values[k], platform::ReadProfileString(path, "game", keys[k].key, keys[k].defaultText)) << k;
    }
}

TEST(ProfileStringTest, LongLinesKeepTheQuoteRuleAndTheCut) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    const std::string longX(20000, 'x');
    ASSERT_TRUE(testsupport::WriteFile(path, std::string(30000, ' ') + "junk" + longX + "\n[game]\n" +
                                             "FullScreen=\"" + longX + "\"   \n" +
                                             "BgmVolume='" + longX + "\n" +
                                             "SeVolume=a" + std::string(9000, ' ') + "b\n" +
                                             std::string(9000, '\t') + "Other = 'v' \n"));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "FullScreen", "off"), std::string(99, 'x'));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "BgmVolume", "30"), "'" + std::string(98, 'x'));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "SeVolume", "30"), "a" + std::string(98, ' '));
    EXPECT_EQ(platform::ReadProfileString(path, "game", "Other", "0"), "v");
}

TEST(ProfileStringTest, OnlyRegularFilesAreRead) {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(platform::ReadProfileString(path, "game", "SeVolume", "30"), "30");
    ASSERT_EQ(rmdir(path.c_str()), 0);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [&path] { return platform::ReadProfileString(path, "game", "SeVolume", "30"); });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        close(open(path.c_str(), O_WRONLY));  // let the blocked reader go
        read.wait();
        FAIL() << "reading a FIFO config blocked";
    }
    EXPECT_EQ(read.get(), "30");
}

namespace {

long PeakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Reads a config.ini whose first line is 160 MB long (a sparse run of zero bytes, so it costs no
// disk) and exits 0 when the value behind it was found with the peak resident size grown by less
// than 24 MB.
[[noreturn]] void ReadHugeLine() {
    const std::string dir = testsupport::MakeTempDir();
    const std::string path = dir + "/config.ini";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const off_t huge = 160l << 20;
    const std::string rest = "\n[game]\nBgmVolume=70\n";
    if (fd < 0 || ftruncate(fd, huge) != 0 || pwrite(fd, rest.data(), rest.size(), huge) != static_cast<ssize_t>(rest.size())) {
        std::exit(2);
    }
    close(fd);
    const long before = PeakKilobytes();
    const auto values = platform::ReadProfileStrings(path, "game", {{"BgmVolume", "30"}, {"SeVolume", "30"}});
    const long grown = PeakKilobytes() - before;
    unlink(path.c_str());
    std::fprintf(stderr, "peak grew by %ld KB\n", grown);
    std::exit(values[0] == "70" && values[1] == "30" && grown < 24 * 1024 ? 0 : 1);
}

}  // namespace

TEST(ProfileStringTest, AHugeLineCostsNoMemory) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ReadHugeLine(), ::testing::ExitedWithCode(0), "peak grew by");
}
