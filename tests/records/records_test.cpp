#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/global.h"
#include "core/records.h"
#include "platform/debug.h"
#include "test_support.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir();
        Global::Instance().Clear();
        Global::Instance().SetSaveFolder(dir);
        Records::Instance().SetFolder("");
        Records::Instance().Clear();
        platform::SetDebugSink([this](const std::string& line) { lines.push_back(line); });
    }
    void TearDown() override {
        platform::SetDebugSink({});
        Records::Instance().Clear();
        Global::Instance().SetSaveFolder("");
        Global::Instance().Clear();
    }
    // Fills a few records with distinct values per host.
    static void Fill() {
        Records& r = Records::Instance();
        for (int h = 0; h < Records::kHosts; ++h) {
            for (int i = 0; i <= h; ++i) r.RecordMatch(h, true);
            r.RecordMatch(h, false);
            r.RecordHand(h, h);
            r.RecordHand(h, -1);
            r.RecordPayout(h, 1000 * (h + 1));
            r.RecordDoubleUpStreak(h, h + 2);
        }
    }
    std::string path() const { return dir + "/records.dat"; }
    std::string dir;
    std::vector<std::string> lines;
};

}  // namespace

TEST_F(RecordsTest, CountersKeepTheBestAndIgnoreUnknownHosts) {
    Records& r = Records::Instance();
    EXPECT_EQ(r.Get(2).bestHand, -1);
    r.RecordHand(2, 4);
    r.RecordHand(2, 1);  // a weaker hand does not lower the best
    r.RecordHand(2, -1);
    r.RecordPayout(2, 500);
    r.RecordPayout(2, 200);
    r.RecordDoubleUpStreak(2, 3);
    r.RecordDoubleUpStreak(2, 1);
    r.RecordMatch(2, true);
    r.RecordMatch(2, false);
    r.RecordMatch(2, false);
    const HostRecord& h = r.Get(2);
    EXPECT_EQ(h.handsPlayed, 3);
    EXPECT_EQ(h.bestHand, 4);
    EXPECT_EQ(h.largestPayout, 500);
    EXPECT_EQ(h.longestDoubleUpStreak, 3);
    EXPECT_EQ(h.matchesWon, 1);
    EXPECT_EQ(h.matchesLost, 2);
    EXPECT_EQ(r.Get(1), HostRecord{});  // other hosts untouched
    r.RecordHand(5, 9);
    r.RecordMatch(-1, true);
    r.RecordHand(0, 10);  // not a rank: counted as a hand, not as a best
    EXPECT_EQ(r.Get(5), HostRecord{});
    EXPECT_EQ(r.Get(0).bestHand, -1);
    EXPECT_EQ(r.Get(0).handsPlayed, 1);
}

TEST_F(RecordsTest, WriteAndLoadRoundTripBesideTheSaveWithoutTouchingIt) {
    ASSERT_TRUE(testsupport::WriteFile(dir + "/save.dat", std::string("\x01\x02\x03\x04\x05", 5)));
    Fill();
    std::vector<HostRecord> before;
    for (int h = 0; h < Records::kHosts; ++h) before.push_back(Records::Instance().Get(h));
    ASSERT_TRUE(Records::Instance().Write());
    struct stat st {};
    EXPECT_NE(::stat((path() + ".tmp").c_str(), &st), 0) << "temporary file left behind";
    Records::Instance().Clear();
    Records::Instance().Load();
    for (int h = 0; h < Records::kHosts; ++h) EXPECT_EQ(Records::Instance().Get(h), before[h]) << "host " << h;
    EXPECT_EQ(Records::Instance().Get(4).matchesWon, 5);
    EXPECT_EQ(Records::Instance().Get(3).bestHand, 3);
    EXPECT_EQ(ReadAll(dir + "/save.dat"), std::string("\x01\x02\x03\x04\x05", 5));
    EXPECT_TRUE(lines.empty());
    // An explicit folder overrides the save's.
    const std::string other = testsupport::MakeTempDir();
    Records::Instance().SetFolder(other);
    ASSERT_TRUE(Records::Instance().Write());
    EXPECT_EQ(ReadAll(other + "/records.dat"), ReadAll(path()));
    Records::Instance().SetFolder("");
}

TEST_F(RecordsTest, MissingFileIsSilentAndEmpty) {
    Fill();
    Records::Instance().Load();
    for (int h = 0; h < Records::kHosts; ++h) EXPECT_EQ(Records::Instance().Get(h), HostRecord{});
    EXPECT_TRUE(lines.empty());
}

TEST_F(RecordsTest, DamagedFilesAreReportedOnceIgnoredAndReplaced) {
    Fill();
    const std::string good = Records::Instance().Serialize();
    std::string badChecksum = good;
    badChecksum[20] ^= 0x40;
    std::string futureVersion = good;
    futureVersion[4] = 2;
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    // A file with a valid checksum but a best hand no game makes.
    Records::Instance().Clear();
    Records::Instance().RecordHand(1, 9);
    std::string impossible = Records::Instance().Serialize();
    impossible[8 + 24 + 12] = 42;  // host 1's best hand
    const std::string checksummed = [&] {
        // recompute the checksum so only the value is wrong
        uint32_t h = 2166136261u;
        for (size_t i = 0; i + 4 < impossible.size(); ++i) h = (h ^ static_cast<unsigned char>(impossible[i])) * 16777619u;
        std::string s = impossible.substr(0, impossible.size() - 4);
        for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((h >> (8 * i)) & 0xFF));
        return s;
    }();
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"truncated", good.substr(0, good.size() - 5)},
        {"header only", good.substr(0, 8)},
        {"overlong", good + "x"},
        {"bad checksum", badChecksum},
        {"future version", futureVersion},
        {"wrong magic", wrongMagic},
        {"impossible value", checksummed},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        lines.clear();
        ASSERT_TRUE(testsupport::WriteFile(path(), bytes));
        Records::Instance().Clear();
        Records::Instance().RecordMatch(0, true);  // memory state that the load must drop
        Records::Instance().Load();
        for (int h = 0; h < Records::kHosts; ++h) EXPECT_EQ(Records::Instance().Get(h), HostRecord{});
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("records.dat"), std::string::npos);
        // The next write replaces the damaged file with a valid one.
        Records::Instance().RecordMatch(3, false);
        ASSERT_TRUE(Records::Instance().Write());
        Records::Instance().Clear();
        lines.clear();
        Records::Instance().Load();
        EXPECT_TRUE(lines.empty());
        EXPECT_EQ(Records::Instance().Get(3).matchesLost, 1);
    }
}

TEST_F(RecordsTest, AFolderInItsPlaceIsIgnoredAndLeftAlone) {
    ASSERT_EQ(::mkdir(path().c_str(), 0755), 0);
    Fill();
    Records::Instance().Load();
    EXPECT_EQ(Records::Instance().Get(4), HostRecord{});
    EXPECT_EQ(lines.size(), 1u);
    Records::Instance().RecordMatch(1, true);
    EXPECT_FALSE(Records::Instance().Write());
    struct stat st {};
    ASSERT_EQ(::stat(path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_NE(::stat((path() + ".tmp").c_str(), &st), 0);
}

TEST_F(RecordsTest, AFailedWriteKeepsThePreviousFile) {
    Fill();
    ASSERT_TRUE(Records::Instance().Write());
    const std::string before = ReadAll(path());
    // A folder where the temporary file would go makes the write fail.
    ASSERT_EQ(::mkdir((path() + ".tmp").c_str(), 0755), 0);
    Records::Instance().RecordMatch(0, true);
    EXPECT_FALSE(Records::Instance().Write());
    EXPECT_EQ(ReadAll(path()), before);
}
