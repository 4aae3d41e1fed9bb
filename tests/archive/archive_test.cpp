#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/resources.h"
#include "archive/scramble.h"
#include "test_support.h"

namespace {

void AddRecord(std::vector<uint8_t>& list, const std::string& name, uint8_t file, uint32_t offset, uint32_t size) {
    list.push_back(static_cast<uint8_t>(name.size()));
    list.insert(list.end(), name.begin(), name.end());
    list.push_back(file);
    for (int i = 0; i < 4; ++i) list.push_back(static_cast<uint8_t>(offset >> (8 * i)));
    for (int i = 0; i < 4; ++i) list.push_back(static_cast<uint8_t>(size >> (8 * i)));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir();
        // data0: 300,000 bytes of a known pattern.
        content.resize(300000);
        for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 7 + 3) & 0xFF);
        testsupport::WriteFile(dir + "/data0.dat", content);
        files.fd[0] = ::open((dir + "/data0.dat").c_str(), O_RDONLY);
        ASSERT_GE(files.fd[0], 0);
    }
    void TearDown() override {
        for (int fd : files.fd) {
            if (fd >= 0) ::close(fd);
        }
    }
    std::string dir;
    std::string content;
    DataFiles files;
};

}  // namespace

TEST_F(ArchiveTest, ParsesRecordsAndMatchesInLowerCase) {
    std::vector<uint8_t> list;
    AddRecord(list, "sozai1.dds", 0, 100, 50);
    AddRecord(list, "table.dds", 0, 1000, 10);
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), false), 0);
    EXPECT_EQ(index.Entries().size(), 2u);
    ASSERT_EQ(index.Open("SoZaI1.DDS"), 0);
    ASSERT_EQ(index.Size(), 50u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(index.Data()), 50), content.substr(100, 50));
    index.Close();
    EXPECT_FALSE(index.IsOpen());
    EXPECT_EQ(index.Open("missing.dds"), -1);
}

TEST_F(ArchiveTest, StoredUpperCaseNamesAreNeverFound) {
    std::vector<uint8_t> list;
    AddRecord(list, "Upper.dds", 0, 0, 4);
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), false), 0);
    EXPECT_EQ(index.Open("Upper.dds"), -1);
}

TEST_F(ArchiveTest, RepeatedNameKeepsLaterRecord) {
    std::vector<uint8_t> list;
    AddRecord(list, "a.wav", 0, 10, 5);
    AddRecord(list, "a.wav", 0, 20, 6);
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), false), 0);
    ASSERT_EQ(index.Open("a.wav"), 0);
    EXPECT_EQ(index.Size(), 6u);
    EXPECT_EQ(index.Data()[0], static_cast<uint8_t>(content[20]));
}

TEST_F(ArchiveTest, CorruptListsAreRejected) {
    ArchiveIndex index;
    std::vector<uint8_t> longName;
    AddRecord(longName, std::string(128, 'n'), 0, 0, 1);
    EXPECT_EQ(index.LoadListBytes(&files, longName.data(), longName.size(), false), -1);

    std::vector<uint8_t> okName;
    AddRecord(okName, std::string(127, 'n'), 0, 0, 1);
    EXPECT_EQ(index.LoadListBytes(&files, okName.data(), okName.size(), false), 0);

    std::vector<uint8_t> truncated;
    AddRecord(truncated, "a.wav", 0, 0, 1);
    truncated.pop_back();
    EXPECT_EQ(index.LoadListBytes(&files, truncated.data(), truncated.size(), false), -1);

    std::vector<uint8_t> badFile;
    AddRecord(badFile, "a.wav", 7, 0, 1);
    EXPECT_EQ(index.LoadListBytes(&files, badFile.data(), badFile.size(), false), -1);

    EXPECT_EQ(index.LoadList(&files, 999, false), -1);  // no such resource
}

TEST_F(ArchiveTest, UnalignedOffsetMapsFromThePageBelow) {
    std::vector<uint8_t> list;
    AddRecord(list, "x.bca", 0, 208992, 3000);
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), false), 0);
    ASSERT_EQ(index.Open("x.bca"), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(index.Data()), 3000), content.substr(208992, 3000));
    const long page = sysconf(_SC_PAGESIZE);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(index.Data()) % page, 208992u % page);
}

TEST_F(ArchiveTest, EntriesBeyondTheFileAreRefused) {
    std::vector<uint8_t> list;
    AddRecord(list, "past.wav", 0, 299990, 100);
    AddRecord(list, "nofile.wav", 1, 0, 10);
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), false), 0);
    EXPECT_EQ(index.Open("past.wav"), -1);
    EXPECT_EQ(index.Open("nofile.wav"), -1);
}

TEST_F(ArchiveTest, DescramblesInPlaceWithoutChangingTheFile) {
    // Scramble a text the way the packer does, at an unaligned offset of data3.
    const std::string text = "COMPOSITION test 1 1 10 60\r\n";
    const uint32_t offset = 70001;
    std::string data3(offset + text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        data3[offset + i] = static_cast<char>(static_cast<uint8_t>(text[i]) + archive::ScrambleKey(offset + i));
    }
    testsupport::WriteFile(dir + "/data3.dat", data3);
    files.fd[3] = ::open((dir + "/data3.dat").c_str(), O_RDONLY);
    std::vector<uint8_t> list;
    AddRecord(list, "menu_bg.bca", 3, offset, static_cast<uint32_t>(text.size()));
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), true), 0);
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(index.Open("menu_bg.bca"), 0);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(index.Data()), index.Size()), text);
        index.Close();
    }
    EXPECT_EQ(ReadAll(dir + "/data3.dat"), data3);
}

TEST_F(ArchiveTest, OpenWhileOpenClosesThePreviousEntry) {
    std::vector<uint8_t> list;
    AddRecord(list, "a.wav", 0, 0, 10);
    AddRecord(list, "b.wav", 0, 5000, 10);
    ArchiveIndex index;
    ASSERT_EQ(index.LoadListBytes(&files, list.data(), list.size(), false), 0);
    // Many opens without Close must not pile up mappings.
    for (int i = 0; i < 100000; ++i) {
        ASSERT_EQ(index.Open(i % 2 ? "a.wav" : "b.wav"), 0);
    }
    EXPECT_EQ(index.Data()[0], static_cast<uint8_t>(content[0]));
}

TEST_F(ArchiveTest, ListResourcesAreFoundById) {
    std::vector<uint8_t> list;
    AddRecord(list, "bgm_menu.ogg", 0, 0, 8);
    archive::RegisterResource("RT_LIST", 1104, list.data(), list.size());
    ArchiveIndex index;
    EXPECT_EQ(index.LoadList(&files, 1104, false), 0);
    EXPECT_EQ(index.Open("bgm_menu.ogg"), 0);
    archive::UnregisterResource("RT_LIST", 1104);
}
