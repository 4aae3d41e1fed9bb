#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/text_encoding.h"
#include "scenes/match/opponent_lines.h"
#include "scenes/menu/title_texts.h"
#include "text_fit.h"

namespace texttest {
namespace {

std::string StoryName(int o, int w, int r) {
    return "story line " + std::to_string((o * 4 + w) * 4 + r) + " (opponent " + std::to_string(o) +
           ", win count " + std::to_string(w) + ", alternative " + std::to_string(r) + ")";
}
std::string AbilityName(const char* table, int o, int a) {
    return std::string(table) + " " + std::to_string(o * 4 + a) + " (opponent " + std::to_string(o) +
           ", ability " + std::to_string(a) + ")";
}

TEST(SpokenTextTables, HaveTheirSizesEveryEntryFilledAndNothingOutsideThem) {
    static_assert(match::kStoryLineCount == 80 && match::kAbilityCommentCount == 20);
    static_assert(menu::kIntroductionLineCount == 4);

    // Every (opponent, win count, alternative) reaches its own, different line.
    std::set<std::string> story;
    for (int o = 0; o < 5; ++o) {
        for (int w = 0; w < 4; ++w) {
            for (int r = 0; r < 4; ++r) {
                EXPECT_FALSE(match::StoryLine(o, w, r).empty()) << StoryName(o, w, r);
                story.insert(match::StoryLine(o, w, r));
            }
        }
    }
    EXPECT_EQ(story.size(), 80u) << "story lines repeat";

    std::set<std::string> comments, labels, help, names;
    for (int o = 0; o < 5; ++o) {
        EXPECT_FALSE(match::OpponentName(o).empty()) << "name " << o;
        names.insert(match::OpponentName(o));
        for (int a = 0; a < 4; ++a) {
            EXPECT_FALSE(match::AbilityComment(o, a).empty()) << AbilityName("comment", o, a);
            EXPECT_FALSE(match::OpponentAbilityLabel(o, a).empty()) << AbilityName("label", o, a);
            EXPECT_FALSE(match::OpponentAbilityHelp(o, a).empty()) << AbilityName("help", o, a);
            comments.insert(match::AbilityComment(o, a));
            labels.insert(match::OpponentAbilityLabel(o, a));
            help.insert(match::OpponentAbilityHelp(o, a));
        }
    }
    EXPECT_EQ(comments.size(), 20u);
    EXPECT_EQ(labels.size(), 20u);
    EXPECT_EQ(help.size(), 20u);
    EXPECT_EQ(names.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(menu::IntroductionLine(i).empty()) << "introduction line " << i;
    }

    // Out of range: empty, never a neighbouring entry.
    EXPECT_TRUE(match::StoryLine(-1, 0, 0).empty());
    EXPECT_TRUE(match::StoryLine(5, 0, 0).empty());
    EXPECT_TRUE(match::StoryLine(0, 4, 0).empty());
    EXPECT_TRUE(match::StoryLine(0, -1, 3).empty());
    EXPECT_TRUE(match::StoryLine(0, 0, 4).empty());
    EXPECT_TRUE(match::StoryLine(1, 0, -1).empty());
    EXPECT_TRUE(match::AbilityComment(0, 4).empty());
    EXPECT_TRUE(match::AbilityComment(5, 0).empty());
    EXPECT_TRUE(match::AbilityComment(1, -1).empty());
    EXPECT_TRUE(match::OpponentAbilityLabel(4, 4).empty());
    EXPECT_TRUE(match::OpponentAbilityHelp(-1, 0).empty());
    EXPECT_TRUE(match::OpponentName(5).empty());
    EXPECT_TRUE(match::OpponentName(-1).empty());
    EXPECT_TRUE(menu::IntroductionLine(4).empty());
    EXPECT_TRUE(menu::IntroductionLine(-1).empty());
}

TEST(SpokenTextTables, EachHostIntroducesHerselfByTheNameTheGameShows) {
    // The names are written into the lines too; a renamed host must be renamed everywhere.
    for (int o = 0; o < 5; ++o) {
        const std::string& name = match::OpponentName(o);
        bool named = false;
        for (int r = 0; r < 4; ++r) {
            named = named || match::StoryLine(o, 0, r).find(name) != std::string::npos;
        }
        EXPECT_TRUE(named) << "no greeting of opponent " << o << " says " << Readable(name);
    }
}

TEST(SpokenTextTables, PanelLabelsAndHelpAreSingleShortLines) {
    for (int o = 0; o < 5; ++o) {
        for (int a = 0; a < 4; ++a) {
            const std::string& label = match::OpponentAbilityLabel(o, a);
            const std::string& line = match::OpponentAbilityHelp(o, a);
            EXPECT_LE(FullWidthChars(label), 8.0) << AbilityName("label", o, a) << ": " << Readable(label);
            EXPECT_LE(FullWidthChars(line), 24.0) << AbilityName("help", o, a) << ": " << Readable(line);
            EXPECT_EQ(label.find('\n'), std::string::npos) << AbilityName("label", o, a);
            EXPECT_EQ(line.find('\n'), std::string::npos) << AbilityName("help", o, a);
        }
    }
    for (int o = 0; o < 5; ++o) {
        EXPECT_LE(FullWidthChars(match::OpponentName(o)), 8.0) << "name " << o;
    }
}

// --- With the game font -----------------------------------------------------------------------

TEST_F(TextFitTest, StoryLinesFitTheMessageWindow) {
    for (int o = 0; o < 5; ++o) {
        for (int w = 0; w < 4; ++w) {
            for (int r = 0; r < 4; ++r) {
                expectFits(match::StoryLine(o, w, r), kMessageBox, StoryName(o, w, r));
            }
        }
    }
}

TEST_F(TextFitTest, IntroductionLinesFitTheTitleWindow) {
    for (int i = 0; i < menu::kIntroductionLineCount; ++i) {
        expectFits(menu::IntroductionLine(i), kMessageBox, "introduction line " + std::to_string(i));
    }
}

TEST_F(TextFitTest, AbilityCommentsFitTheCommentPlate) {
    for (int o = 0; o < 5; ++o) {
        for (int a = 0; a < 4; ++a) {
            expectFits(match::AbilityComment(o, a), kCommentBox, AbilityName("comment", o, a));
        }
    }
}

TEST_F(TextFitTest, EveryCharacterIsShiftJisAndInTheGameFont) {
    for (int o = 0; o < 5; ++o) {
        expectDrawable(match::OpponentName(o), 22, "name " + std::to_string(o));
        for (int w = 0; w < 4; ++w) {
            for (int r = 0; r < 4; ++r) {
                expectDrawable(match::StoryLine(o, w, r), 22, StoryName(o, w, r));
            }
        }
        for (int a = 0; a < 4; ++a) {
            expectDrawable(match::AbilityComment(o, a), 20, AbilityName("comment", o, a));
            expectDrawable(match::OpponentAbilityLabel(o, a), 20, AbilityName("label", o, a));
            expectDrawable(match::OpponentAbilityHelp(o, a), 20, AbilityName("help", o, a));
        }
    }
    for (int i = 0; i < menu::kIntroductionLineCount; ++i) {
        expectDrawable(menu::IntroductionLine(i), 22, "introduction line " + std::to_string(i));
    }
}

// The checks themselves: a line the window would wrap, a fifth line and a character outside
// Shift-JIS or the font are each caught, with the entry named.
class TextFitProbe : public TextFitTest {
protected:
    // The messages of the failures the check reports, kept from the test's own result.
    template <typename Check>
    std::string failuresOf(Check check) {
        ::testing::TestPartResultArray results;
        {
            ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            check();
        }
        std::string all;
        for (int i = 0; i < results.size(); ++i) {
            all += results.GetTestPartResult(i).message();
            all += "\n";
        }
        return all;
    }
};

TEST_F(TextFitProbe, CatchesOverlongLinesExtraLinesAndUndrawableCharacters) {
    std::string wide;
    for (int i = 0; i < 40; ++i) wide += "あ";
    std::string report = failuresOf([&] { expectFits(platform::Utf8ToSjis(wide), kMessageBox, "probe A"); });
    EXPECT_NE(report.find("probe A: line too wide"), std::string::npos) << report;
    EXPECT_NE(report.find("wrapped a line by itself"), std::string::npos) << report;

    report = failuresOf([&] { expectFits(platform::Utf8ToSjis("一\n二\n三\n四\n五"), kMessageBox, "probe B"); });
    EXPECT_NE(report.find("probe B: too many lines"), std::string::npos) << report;
    EXPECT_NE(report.find("reaches below the window"), std::string::npos) << report;

    report = failuresOf([&] { expectDrawable(platform::Utf8ToSjis("雪☃"), 22, "probe C"); });
    EXPECT_NE(report.find("probe C: a character Shift-JIS cannot hold"), std::string::npos) << report;

    // A code of the user-defined area: valid Shift-JIS, but the font has no glyph for it.
    report = failuresOf([&] { expectDrawable(std::string("\xF0\x40"), 22, "probe E"); });
    EXPECT_NE(report.find("probe E: the font has no glyph"), std::string::npos) << report;

    // A line that fits reports nothing.
    EXPECT_EQ(failuresOf([&] { expectFits(platform::Utf8ToSjis("雪の夜\n港"), kMessageBox, "probe D"); }), "");
}

}  // namespace
}  // namespace texttest
