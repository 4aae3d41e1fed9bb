#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "graphics_test.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "scenes/menu/gallery_scripts.h"
#include "test_support.h"
#include "widgets/message_window.h"

namespace {

using menu::kGalleryScriptCount;
using menu::kGalleryScriptEntryCounts;

// The message window of the scripted view: its text canvas and font size.
constexpr int kCanvasWidth = 886;
constexpr int kCanvasHeight = 200;
constexpr int kFontSize = 24;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SourcePath(int index) {
    return testsupport::DataDir() + "/../../assets/scripts/" + menu::GalleryScriptName(index);
}

// A script as the game will see it: the UTF-8 source converted to Shift-JIS and parsed.
std::vector<std::string> SourceScript(int index) {
    return menu::ParseGalleryScript(platform::Utf8ToSjis(ReadBytes(SourcePath(index))));
}

// Script indices whose illustration has a second variant: the closing scene of every host, and
// Rosweth's scene at the table.
bool HasSecondVariant(int index) { return index % 3 == 2 || index == 12; }

std::vector<std::string> SplitLines(const std::string& message) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = message.find('\n', start);
        lines.push_back(message.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

TEST(GalleryScriptParse, EscapesCommentsBlankLinesAndLineEnds) {
    const std::string bytes = "# notes for the writer\n"
                              "\n"
                              "first\\nsecond\r\n"
                              "next\n"
                              "  # not a comment when indented\n"
                              "back\\slash and \\\\n\n"
                              "fade\r\n"
                              "next please\n"
                              "\r\n"
                              "last line without a line feed\\n";
    const std::vector<std::string> entries = menu::ParseGalleryScript(bytes);
    const std::vector<std::string> expected = {"first\nsecond", "next", "  # not a comment when indented",
                                               "back\\slash and \\\n", "fade", "next please",
                                               "last line without a line feed\n"};
    EXPECT_EQ(entries, expected);
    EXPECT_TRUE(menu::IsGalleryCommand(entries[1]));
    EXPECT_TRUE(menu::IsGalleryCommand(entries[4]));
    EXPECT_FALSE(menu::IsGalleryCommand(entries[5]));
    EXPECT_FALSE(menu::IsGalleryCommand("Next"));
    EXPECT_FALSE(menu::IsGalleryCommand("fade "));
    EXPECT_TRUE(menu::ParseGalleryScript("").empty());
    EXPECT_TRUE(menu::ParseGalleryScript("\n\r\n#only a note").empty());
}

TEST(GalleryScriptParse, TrailByte5CIsNotAnEscape) {
    // "ソ" and "表" end in the byte 0x5C; followed by 'n' they must stay intact.
    const std::string so = SJ("ソ");
    const std::string hyo = SJ("表");
    ASSERT_EQ(so.size(), 2u);
    ASSERT_EQ(so[1], '\\');
    ASSERT_EQ(hyo[1], '\\');
    const std::string line = so + "n" + hyo + "\\n" + hyo + "n";
    const std::vector<std::string> entries = menu::ParseGalleryScript(line + "\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], so + "n" + hyo + "\n" + hyo + "n");
    // A lead byte at the very end of a line does not swallow the line feed.
    const std::vector<std::string> cut = menu::ParseGalleryScript(std::string("ab\x83\nnext"));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], "ab\x83");
    EXPECT_EQ(cut[1], "next");
}

TEST(GalleryScriptNames, IndexIsIllustrationPlusHostTimesThree) {
    EXPECT_EQ(menu::GalleryScriptName(0), "cg_pemra_01.txt");
    EXPECT_EQ(menu::GalleryScriptName(5), "cg_otsel_03.txt");
    EXPECT_EQ(menu::GalleryScriptName(7), "cg_quenvar_02.txt");
    EXPECT_EQ(menu::GalleryScriptName(9), "cg_iblen_01.txt");
    EXPECT_EQ(menu::GalleryScriptName(14), "cg_rosweth_03.txt");
    EXPECT_EQ(menu::GalleryScriptName(-1), "");
    EXPECT_EQ(menu::GalleryScriptName(15), "");
}

TEST(GalleryScriptLoad, ReadsThroughTheScrambledArchiveAndReportsMissingScripts) {
    std::vector<std::string> lines;
    platform::SetDebugSink([&lines](const std::string& l) { lines.push_back(l); });
    const std::string text = "# note\n" + SJ("ソ") + "\\n" + SJ("一行") + "\nfade\n" + SJ("おしまい") + "\n";
    ASSERT_TRUE(testsupport::InstallArchive(
        ArchiveId::Animations,
        {{"menu_bg.bca", {1, 2, 3}}, {"cg_iblen_02.txt", std::vector<uint8_t>(text.begin(), text.end())}}));

    const std::vector<std::string> entries = menu::LoadGalleryScript(10);
    const std::vector<std::string> expected = {SJ("ソ") + "\n" + SJ("一行"), "fade", SJ("おしまい")};
    EXPECT_EQ(entries, expected);
    EXPECT_FALSE(Archive(ArchiveId::Animations).IsOpen());
    EXPECT_TRUE(lines.empty());

    EXPECT_TRUE(menu::LoadGalleryScript(0).empty());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("cg_pemra_01.txt"), std::string::npos);
    EXPECT_TRUE(menu::LoadGalleryScript(15).empty());
    EXPECT_EQ(lines.size(), 2u);
    platform::SetDebugSink({});
}

// The written scripts: the entry counts the view expects, a message at the end, and exactly one
// picture command where the illustration has a second variant (none elsewhere).
TEST(GalleryScriptContent, CountsCommandsAndEncoding) {
    for (int i = 0; i < kGalleryScriptCount; ++i) {
        SCOPED_TRACE(SourcePath(i));
        const std::string utf8 = ReadBytes(SourcePath(i));
        ASSERT_FALSE(utf8.empty());
        const std::vector<std::string> entries = menu::ParseGalleryScript(platform::Utf8ToSjis(utf8));
        EXPECT_EQ(static_cast<int>(entries.size()), kGalleryScriptEntryCounts[i]);
        ASSERT_FALSE(entries.empty());
        EXPECT_FALSE(menu::IsGalleryCommand(entries.back()));
        const auto commands = std::count_if(entries.begin(), entries.end(), menu::IsGalleryCommand);
        EXPECT_EQ(commands, HasSecondVariant(i) ? 1 : 0);
        if (HasSecondVariant(i)) {
            EXPECT_FALSE(menu::IsGalleryCommand(entries.front()));  // the first picture is seen first
        }
        for (const std::string& e : entries) {
            EXPECT_FALSE(e.empty());
            // Every message survives the trip to Shift-JIS and back.
            const std::string back = platform::SjisToUtf8(e);
            EXPECT_EQ(platform::Utf8ToSjis(back), e);
            EXPECT_EQ(back.find("\xEF\xBF\xBD"), std::string::npos) << back;
            EXPECT_EQ(e.find('?'), std::string::npos) << back;
            EXPECT_EQ(back.find('\\'), std::string::npos) << "stray escape: " << back;
        }
        // The source as a whole converts without loss, notes included.
        const std::string body = utf8.substr(utf8.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
        EXPECT_EQ(platform::SjisToUtf8(platform::Utf8ToSjis(body)), body);
    }
}

// What the build packed must be the same scripts (only checked when the assets were built).
TEST(GalleryScriptContent, ConvertedFilesMatchTheSources) {
    const std::string dir = testsupport::BuildDir() + "/assets/anim/";
    if (!std::filesystem::exists(dir + menu::GalleryScriptName(0))) {
        GTEST_SKIP() << "no converted scripts in " << dir;
    }
    for (int i = 0; i < kGalleryScriptCount; ++i) {
        SCOPED_TRACE(menu::GalleryScriptName(i));
        const std::string packed = ReadBytes(dir + menu::GalleryScriptName(i));
        EXPECT_EQ(menu::ParseGalleryScript(packed), SourceScript(i));
        EXPECT_EQ(platform::SjisToUtf8(packed), ReadBytes(SourcePath(i)));
    }
}

class GalleryScriptFit : public testsupport::GraphicsTest {};

// Every message fits the window at its font size with the real font: no line wider than the
// canvas (the window would wrap it on its own) and the last line's bottom inside the canvas.
// The widest and the tallest message of each script also go through the real window to confirm
// that it breaks lines exactly where the script does.
TEST_F(GalleryScriptFit, EveryMessageFitsTheWindow) {
    ASSERT_EQ(gfx().CreateCanvas("measure", 1280, 40), 0);
    MessageWindow window;
    ASSERT_EQ(window.surface.CreateCanvas("texture_name", kCanvasWidth, kCanvasHeight), 0);
    window.framesPerStep = 1;
    window.fontSize = kFontSize;
    window.wrapWidth = kCanvasWidth;
    const int lineStep = kFontSize + MessageWindow::kLineGap;

    for (int i = 0; i < kGalleryScriptCount; ++i) {
        SCOPED_TRACE(menu::GalleryScriptName(i));
        const std::vector<std::string> entries = SourceScript(i);
        ASSERT_FALSE(entries.empty());
        const std::string* widest = nullptr;
        const std::string* tallest = nullptr;
        int widestWidth = 0;
        size_t mostLines = 0;
        for (const std::string& e : entries) {
            if (menu::IsGalleryCommand(e)) continue;
            const std::vector<std::string> lines = SplitLines(e);
            for (const std::string& line : lines) {
                const int width = gfx().DrawText(line, 0, 0, kFontSize, 0xFFFFFF, "measure");
                ASSERT_GE(width, 0);
                EXPECT_LE(width, kCanvasWidth) << platform::SjisToUtf8(line);
                if (width > widestWidth) {
                    widestWidth = width;
                    widest = &e;
                }
            }
            EXPECT_LE(static_cast<int>(lines.size() - 1) * lineStep + kFontSize, kCanvasHeight)
                << platform::SjisToUtf8(e);
            if (lines.size() > mostLines) {
                mostLines = lines.size();
                tallest = &e;
            }
        }
        ASSERT_NE(widest, nullptr);
        for (const std::string* e : {widest, tallest}) {
            window.setText(e->c_str());
            int maxPen = 0;
            while (!window.finished()) {
                window.step();
                maxPen = std::max(maxPen, window.penX);
            }
            const auto breaks = std::count(e->begin(), e->end(), '\n');
            EXPECT_EQ(window.penY, static_cast<int>(breaks) * lineStep) << platform::SjisToUtf8(*e);
            EXPECT_LE(maxPen, kCanvasWidth);
            EXPECT_LE(window.penY + kFontSize, kCanvasHeight);
        }
    }
}

}  // namespace
