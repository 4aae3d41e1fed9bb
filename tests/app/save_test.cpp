#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <iterator>

#include "core/global.h"
#include "test_support.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir();
        Global::Instance().Clear();
        Global::Instance().SetSaveFolder(dir);
    }
    void TearDown() override {
        Global::Instance().SetSaveFolder("");
        Global::Instance().Clear();
    }
    std::string dir;
};

}  // namespace

TEST_F(SaveTest, MissingFileGivesZeroStages) {
    Global::Instance().Set(7, "stage_3");
    Global::Instance().LoadSave();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Global::Instance().GetStage(i), 0);
    }
}

TEST_F(SaveTest, ShortFileGives255ForMissingStages) {
    ASSERT_TRUE(testsupport::WriteFile(dir + "/save.dat", std::string("\x01\x02\x03", 3)));
    Global::Instance().LoadSave();
    EXPECT_EQ(Global::Instance().GetStage(0), 1);
    EXPECT_EQ(Global::Instance().GetStage(1), 2);
    EXPECT_EQ(Global::Instance().GetStage(2), 3);
    EXPECT_EQ(Global::Instance().GetStage(3), 255);
    EXPECT_EQ(Global::Instance().GetStage(4), 255);
}

TEST_F(SaveTest, WritesLowEightBitsAndRoundTripsEveryByte) {
    Global& g = Global::Instance();
    g.Set(300, "stage_0");
    g.Set(26, "stage_1");  // would end a text-mode read
    g.Set(10, "stage_2");  // would be written as two bytes in text mode
    g.Set(13, "stage_3");
    g.Set(255, "stage_4");
    ASSERT_TRUE(g.WriteSave());
    EXPECT_EQ(ReadAll(dir + "/save.dat"), std::string("\x2c\x1a\x0a\x0d\xff", 5));
    g.Clear();
    g.LoadSave();
    EXPECT_EQ(g.GetStage(0), 44);
    EXPECT_EQ(g.GetStage(1), 26);
    EXPECT_EQ(g.GetStage(2), 10);
    EXPECT_EQ(g.GetStage(3), 13);
    EXPECT_EQ(g.GetStage(4), 255);
}

TEST_F(SaveTest, RecordStageNeverLowers) {
    Global& g = Global::Instance();
    g.Set(3, "stage_2");
    EXPECT_FALSE(g.RecordStage(2, 3));
    EXPECT_FALSE(g.RecordStage(2, 1));
    EXPECT_EQ(g.GetStage(2), 3);
    EXPECT_TRUE(g.RecordStage(2, 4));
    EXPECT_EQ(g.GetStage(2), 4);
    EXPECT_TRUE(g.RecordStage(0, 1));
    EXPECT_EQ(g.Get("stage_0"), 1);
}

TEST_F(SaveTest, FailedWriteLeavesPreviousFileIntact) {
    Global& g = Global::Instance();
    for (int i = 0; i < 5; ++i) {
        g.Set(i + 1, "stage_" + std::to_string(i));
    }
    ASSERT_TRUE(g.WriteSave());
    g.Set(9, "stage_0");
    // A directory where the temporary file must go makes the write fail before the rename.
    ASSERT_EQ(mkdir((dir + "/save.dat.tmp").c_str(), 0700), 0);
    EXPECT_FALSE(g.WriteSave());
    EXPECT_EQ(ReadAll(dir + "/save.dat"), std::string("\x01\x02\x03\x04\x05", 5));
    rmdir((dir + "/save.dat.tmp").c_str());
    // A read-only folder: nothing can be written, the old save stays.
    if (geteuid() != 0) {
        chmod(dir.c_str(), 0500);
        EXPECT_FALSE(g.WriteSave());
        chmod(dir.c_str(), 0700);
        EXPECT_EQ(ReadAll(dir + "/save.dat"), std::string("\x01\x02\x03\x04\x05", 5));
    }
}

TEST_F(SaveTest, FolderAtTheSavePlaceIsNoSaveAndIsLeftAlone) {
    Global& g = Global::Instance();
    ASSERT_EQ(mkdir((dir + "/save.dat").c_str(), 0700), 0);
    g.Set(7, "stage_1");
    g.LoadSave();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.GetStage(i), 0) << i;
    }
    g.Set(4, "stage_0");
    EXPECT_FALSE(g.WriteSave());
    struct stat st {};
    ASSERT_EQ(stat((dir + "/save.dat").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(SaveTest, FifoAtTheSavePlaceNeitherBlocksNorLoads) {
    Global& g = Global::Instance();
    const std::string path = dir + "/save.dat";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    g.Set(7, "stage_1");
    auto load = std::async(std::launch::async, [&g] { g.LoadSave(); });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Release the blocked reader so the test ends with a failure instead of hanging.
        const int w = open(path.c_str(), O_WRONLY);
        close(w);
        load.wait();
        FAIL() << "loading a FIFO save blocked";
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.GetStage(i), 0) << i;
    }
    g.Set(2, "stage_0");
    EXPECT_FALSE(g.WriteSave());
    struct stat st {};
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(SaveTest, UnknownKeysReadZero) {
    EXPECT_EQ(Global::Instance().Get("nothing"), 0);
    Global::Instance().Set(-5, "enemy");
    EXPECT_EQ(Global::Instance().Get("enemy"), -5);
}
