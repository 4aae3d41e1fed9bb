// The pictures of the options overlay, its title item and the records plate: where each one is
// drawn for the values it shows, that the words fit beside them, and the plain rectangles that
// stand in when the pictures are missing.
#include <cmath>
#include <string>
#include <vector>

#include "app/mouse_controller.h"
#include "core/records.h"
#include "platform/system.h"
#include "platform/text_encoding.h"
#include "scenes/menu/options_layout.h"
#include "scenes/menu/options_overlay.h"
#include "title_fixture.h"

namespace titletest {
namespace {

namespace mo = menu::options;
using mo::RowArea;
using platform::KeyCode;

// A quad's top-left corner and size, in whole pixels.
struct Box {
    int x, y, w, h;
};
Box BoxOf(const platform::Quad& q) {
    return {static_cast<int>(std::lround(q.v[0].x + 0.5f)), static_cast<int>(std::lround(q.v[0].y + 0.5f)),
            static_cast<int>(std::lround(q.v[3].x - q.v[0].x)), static_cast<int>(std::lround(q.v[3].y - q.v[0].y))};
}

class OptionsPicturesTest : public OptionsTitleTest {
protected:
    // Every quad of the picture in the last frame.
    std::vector<Box> boxes(const std::string& picture) const {
        std::vector<Box> out;
        const DxGraphic::CacheEntry* e = DxGraphic::Instance().FindTexture(picture);
        if (e == nullptr || e->texture == 0) return out;
        for (const platform::Quad& q : lastFrameQuads()) {
            if (q.texture == e->texture && (q.argb >> 24) != 0) out.push_back(BoxOf(q));
        }
        return out;
    }
    const OptionsOverlay& overlay() const { return title()->optionsOverlay(); }
    // Advance in pixels of UTF-8 text at a size, measured on a canvas of its own.
    static int advance(const std::string& utf8, int size) {
        DxGraphic& g = DxGraphic::Instance();
        g.CreateCanvas("measure", 1280, 64);
        return g.DrawText(platform::Utf8ToSjis(utf8), 0, 0, size, 0xFFFFFF, "measure");
    }
};

TEST_F(OptionsPicturesTest, TheItemWearsTheTitleButtonsPictureDimAndLit) {
    enterMenu();
    ASSERT_EQ(boxes(mo::kItemPicture).size(), 1u);
    EXPECT_TRUE(boxes(mo::kItemLitPicture).empty());
    moveMouse(700, 666);
    frames(1);
    EXPECT_TRUE(boxes(mo::kItemPicture).empty());
    const std::vector<Box> lit = boxes(mo::kItemLitPicture);
    ASSERT_EQ(lit.size(), 1u);
    // Centred on the item at 97 % like the other buttons, inside the item's area.
    EXPECT_NEAR(lit[0].x + lit[0].w / 2.0, (mo::kMenuItem.left + mo::kMenuItem.right) / 2.0, 1.0);
    EXPECT_NEAR(lit[0].w, 328 * mo::kItemScale, 1.0);
    EXPECT_GE(lit[0].x, mo::kMenuItem.left);
    EXPECT_LE(lit[0].x + lit[0].w, mo::kMenuItem.right);
    moveMouse(200, 650);
    frames(1);
    EXPECT_EQ(boxes(mo::kItemPicture).size(), 1u);
}

TEST_F(OptionsPicturesTest, PanelRowsSlidersAndSwitchesShowTheValues) {
    Global& g = Global::Instance();
    g.Set(30, "BgmVolume");
    g.Set(0, "SeVolume");
    g.Set(0, "FourColourDeck");
    g.Set(1, "PauseOnFocusLoss");
    enterMenu();
    moveMouse(700, 666);
    frames(1);
    click(700, 666);
    ASSERT_TRUE(overlay().IsOpen());
    ASSERT_TRUE(overlay().pictured());

    const std::vector<Box> panel = boxes(mo::kPanelPicture);
    ASSERT_EQ(panel.size(), 1u);
    EXPECT_EQ(panel[0].x, mo::kPanelLeft - mo::kOutline);
    EXPECT_EQ(panel[0].w, mo::kPanelWidth + 2 * mo::kOutline);
    EXPECT_EQ(panel[0].h, mo::kPanelHeight + 2 * mo::kOutline);
    EXPECT_EQ(boxes(mo::kRowPicture).size(), static_cast<size_t>(OptionsOverlay::kRowCount));
    // The lit plate follows the selection.
    ASSERT_EQ(boxes(mo::kRowLitPicture).size(), 1u);
    EXPECT_EQ(boxes(mo::kRowLitPicture)[0].y, RowArea(OptionsOverlay::kRowMusic).top);
    pressKey(KeyCode::Down);
    EXPECT_EQ(boxes(mo::kRowLitPicture)[0].y, RowArea(OptionsOverlay::kRowEffects).top);
    pressKey(KeyCode::Up);

    // Music at 30: the gold fill runs to 30 % of the track, where the knob's middle is. Effects
    // at 0: no fill, the knob at the left end.
    auto knobCentres = [&]() {
        std::vector<int> xs;
        for (const Box& b : boxes(mo::kKnobPicture)) xs.push_back(b.x + b.w / 2);
        return xs;
    };
    EXPECT_EQ(knobCentres(), (std::vector<int>{mo::kTrackLeft + 84, mo::kTrackLeft}));
    ASSERT_EQ(boxes(mo::kTrackFillPicture).size(), 1u);
    EXPECT_EQ(boxes(mo::kTrackFillPicture)[0].w, mo::kTrackPictureMargin + 84);
    EXPECT_EQ(boxes(mo::kTrackPicture).size(), 2u);
    pressKey(KeyCode::Right);  // 35
    EXPECT_EQ(knobCentres()[0], mo::kTrackLeft + 98);
    EXPECT_EQ(boxes(mo::kTrackFillPicture)[0].w, mo::kTrackPictureMargin + 98);

    // One switch per on/off row, in its row, showing the row's value.
    auto switchRows = [&](const char* picture) {
        std::vector<int> rows;
        for (const Box& b : boxes(picture)) {
            for (int r = 0; r < OptionsOverlay::kRowCount; ++r) {
                if (b.y > RowArea(r).top && b.y + b.h < RowArea(r).bottom && b.x == mo::kToggleX) rows.push_back(r);
            }
        }
        return rows;
    };
    EXPECT_EQ(switchRows(mo::kToggleOnPicture), std::vector<int>{OptionsOverlay::kRowPause});
    EXPECT_EQ(switchRows(mo::kToggleOffPicture).size(), 4u);
    click(RowArea(OptionsOverlay::kRowFourColour).left + 40, RowArea(OptionsOverlay::kRowFourColour).top + 20);
    EXPECT_EQ(g.Get("FourColourDeck"), 1);
    EXPECT_EQ(switchRows(mo::kToggleOnPicture),
              (std::vector<int>{OptionsOverlay::kRowFourColour, OptionsOverlay::kRowPause}));

    // The records page: a plate per host instead of the rows.
    while (overlay().selected() != OptionsOverlay::kRowRecords) pressKey(KeyCode::Down);
    pressKey(KeyCode::Return);
    ASSERT_TRUE(overlay().recordsShown());
    EXPECT_EQ(boxes(mo::kRecordPicture).size(), static_cast<size_t>(Records::kHosts));
    EXPECT_TRUE(boxes(mo::kRowPicture).empty());
    EXPECT_TRUE(boxes(mo::kKnobPicture).empty());
}

// The words of every row end before the slider or the switch beside them, and the records'
// longest lines fit their blocks and the plate.
TEST_F(OptionsPicturesTest, WordsFitBesideTheMarksAndInsideThePlates) {
    Global& g = Global::Instance();
    g.Set(1, "FullScreen");
    g.Set(200, "WindowScale");
    g.Set(100, "BgmVolume");
    const OptionsOverlay list;  // the words need no scene
    const int textLeft = mo::kRowLeft + mo::kTextInsetX;
    for (int r = 0; r < OptionsOverlay::kRowCount; ++r) {
        std::string words = list.rowText(r);
        const bool slider = r == OptionsOverlay::kRowMusic || r == OptionsOverlay::kRowEffects;
        if (slider) words = words.substr(0, words.rfind(' '));  // the figure stands right of the track
        const bool toggle = r >= OptionsOverlay::kRowFullScreen && r <= OptionsOverlay::kRowPause;
        const int limit = slider ? mo::kTrackLeft - mo::kKnobPictureWidth / 2
                                 : toggle ? mo::kToggleX : mo::kRowRight - mo::kTextInsetX;
        EXPECT_LT(textLeft + advance(words, mo::kFontSize), limit) << r;
    }
    EXPECT_LE(mo::kValueX + advance("100", mo::kFontSize), mo::kRowRight);

    // Four-figure matches, five-figure hands and payouts, and the longest hand name.
    HostRecord longest;
    longest.matchesWon = 9999;
    longest.matchesLost = 9999;
    longest.handsPlayed = 99999;
    longest.bestHand = 0;
    longest.largestPayout = 99999;
    longest.longestDoubleUpStreak = 99;
    for (const std::string& line : {RecordFirstLine(longest), RecordBestLine(longest), RecordPayoutLine(longest)}) {
        EXPECT_LE(mo::kRecordTextX + advance(line, mo::kRecordFontSize), mo::kRowRight - mo::kRowLeft - mo::kTextInsetX)
            << line;
        EXPECT_LE(advance(line, mo::kPlateFontSize), mo::kPlateWidth - 2 * mo::kPlateInsetX) << line;
    }
    EXPECT_LE(2 * mo::kRecordLineStep + mo::kRecordFontSize + 4, mo::kRecordsHeight);
    EXPECT_LE(mo::kPlateFirstLineY + 2 * mo::kPlateLineStep + mo::kPlateFontSize + 4, mo::kPlateHeight - 8);
}

}  // namespace

// Without the pictures the overlay still opens, drawn in plain rectangles, after one warning.
class OptionsPlainTest : public testsupport::SceneTest {};

TEST_F(OptionsPlainTest, MissingPicturesLeavePlainRectanglesAndAWarning) {
    OptionsOverlay overlay;
    overlay.Load();
    EXPECT_FALSE(overlay.pictured());
    EXPECT_TRUE(logged("options_panel.png is missing"));
    overlay.Open();
    MouseController::Instance().Reset();
    overlay.Update(MouseController::Instance());
    DxGraphic& g = DxGraphic::Instance();
    g.BeginFrame();
    overlay.Draw();
    g.EndFrame();
    int outline = 0, panel = 0, knobs = 0;
    for (const platform::Quad& q : lastFrameQuads()) {
        const Box b = BoxOf(q);
        if (q.texture != 0) continue;
        if (b.x == menu::options::kPanelLeft - menu::options::kOutline && (q.argb & 0xFFFFFF) == menu::options::kLanternGold)
            ++outline;
        if (b.x == menu::options::kPanelLeft && (q.argb & 0xFFFFFF) == menu::options::kDeepBlue) ++panel;
        if (b.w == menu::options::kKnobWidth && b.h == menu::options::kKnobHeight) ++knobs;
    }
    EXPECT_EQ(outline, 1);
    EXPECT_EQ(panel, 1);
    EXPECT_EQ(knobs, 2);
}

}  // namespace titletest
