#include "scenes/menu/options_overlay.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/mouse_controller.h"
#include "cards/hand.h"
#include "core/global.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "scenes/menu/options_layout.h"
#include "scenes/menu/title_texts.h"
#include "sound/dx_sound.h"

namespace {

using namespace menu::options;
using platform::KeyCode;

constexpr int kScales[] = {50, 100, 150, 200};
constexpr const char* kSlideEffect = "se_hold.wav";  // heard at the new effect volume

// A plain rectangle of one colour (an untextured sprite).
void Plate(Image& image, int x, int y, int w, int h, uint32_t rgb, float alpha) {
    image.textureName.clear();
    image.visible = true;
    image.useSourceRect = true;
    image.sourceRect = {0, 0, w, h};
    image.position = {static_cast<float>(x), static_cast<float>(y), 0.0f};
    image.red = static_cast<float>((rgb >> 16) & 0xFF) / 255.0f;
    image.green = static_cast<float>((rgb >> 8) & 0xFF) / 255.0f;
    image.blue = static_cast<float>(rgb & 0xFF) / 255.0f;
    image.alpha = alpha;
}

const char* OnOff(int v) { return v != 0 ? "オン" : "オフ"; }

int ValueOf(int row) {
    const Global& g = Global::Instance();
    switch (row) {
        case OptionsOverlay::kRowMusic: return std::clamp(g.Get("BgmVolume"), 0, 100);
        case OptionsOverlay::kRowEffects: return std::clamp(g.Get("SeVolume"), 0, 100);
        default: return 0;
    }
}

// The row's words: the label, and the value after a gap.
std::string Label(int row) {
    const Global& g = Global::Instance();
    switch (row) {
        case OptionsOverlay::kRowMusic: return "音楽の音量";
        case OptionsOverlay::kRowEffects: return "効果音の音量";
        case OptionsOverlay::kRowFullScreen: return std::string("フルスクリーン　　　　") + OnOff(g.Get("FullScreen"));
        case OptionsOverlay::kRowFourColour:
            return std::string("四色のトランプ　　　　") + OnOff(g.Get("FourColourDeck"));
        case OptionsOverlay::kRowFullStory:
            return std::string("物語を最後まで　　　　") + OnOff(g.Get("FullStory"));
        case OptionsOverlay::kRowFast: return std::string("早回し　　　　　　　　") + OnOff(g.Get("FastAnimations"));
        case OptionsOverlay::kRowPause:
            return std::string("裏にいる間は止める　　") + OnOff(g.Get("PauseOnFocusLoss"));
        case OptionsOverlay::kRowScale:
            return "ウィンドウの大きさ　　" +
                   std::to_string(ParseWindowScale(std::to_string(g.Get("WindowScale")))) + "%";
        case OptionsOverlay::kRowRecords: return "お客さまの記録";
        case OptionsOverlay::kRowClose: return "閉じる";
        default: return {};
    }
}

bool IsVolume(int row) { return row == OptionsOverlay::kRowMusic || row == OptionsOverlay::kRowEffects; }

// The on/off rows and the setting each shows.
const char* ToggleKey(int row) {
    switch (row) {
        case OptionsOverlay::kRowFullScreen: return "FullScreen";
        case OptionsOverlay::kRowFourColour: return "FourColourDeck";
        case OptionsOverlay::kRowFullStory: return "FullStory";
        case OptionsOverlay::kRowFast: return "FastAnimations";
        case OptionsOverlay::kRowPause: return "PauseOnFocusLoss";
        default: return nullptr;
    }
}

void Place(Image& image, int x, int y) {
    image.position = {static_cast<float>(x), static_cast<float>(y), 0.0f};
    image.visible = true;
}

}  // namespace

std::string RecordFirstLine(const HostRecord& r) {
    return "勝ち " + std::to_string(r.matchesWon) + "　負け " + std::to_string(r.matchesLost) + "　勝負 " +
           std::to_string(r.handsPlayed) + " 回";
}

std::string RecordBestLine(const HostRecord& r) {
    return std::string("最高の役 ") + (r.bestHand >= 0 ? handRankNameUtf8(r.bestHand) : "―");
}

std::string RecordPayoutLine(const HostRecord& r) {
    return "最大 " + std::to_string(r.largestPayout) + " 枚　ダブルアップ " + std::to_string(r.longestDoubleUpStreak) +
           " 連勝";
}

std::string RecordSecondLine(const HostRecord& r) { return RecordBestLine(r) + "　" + RecordPayoutLine(r); }

void OptionsOverlay::Load() {
    Plate(veil_, 0, 0, 1280, 720, kNightBlue, 0.7f);
    pictured_ = loadPictures();
    if (pictured_) {
        Place(frame_[0], kPanelLeft - kOutline, kPanelTop - kOutline);
        frame_[1].visible = false;
    } else {
        Plate(frame_[0], kPanelLeft - kOutline, kPanelTop - kOutline, kPanelWidth + 2 * kOutline,
              kPanelHeight + 2 * kOutline, kLanternGold, 1.0f);
        Plate(frame_[1], kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, kDeepBlue, 0.96f);
    }
    title_.CreateCanvas("options_title", kRowRight - kRowLeft, 44);
    title_.position = {static_cast<float>(kRowLeft + kTextInsetX), static_cast<float>(kTitleY), 0.0f};
    title_.DrawText(SJ("オプション"), 0, 0, 30, kLanternGold, true);
    for (int r = 0; r < kRowCount; ++r) {
        ImageFont& row = rows_[static_cast<size_t>(r)];
        row.CreateCanvas("options_row_" + std::to_string(r), kRowRight - kRowLeft, kRowHeight);
        const Area a = RowArea(r);
        row.position = {static_cast<float>(a.left + kTextInsetX), static_cast<float>(a.top + kTextInsetY), 0.0f};
        Place(rowPlates_[static_cast<size_t>(r)], a.left, a.top);
        rowPlates_[static_cast<size_t>(r)].visible = pictured_;
        toggles_[static_cast<size_t>(r)].visible = false;
        toggles_[static_cast<size_t>(r)].textureName.clear();  // loaded afresh by placeMarks
    }
    for (int h = 0; h < Records::kHosts; ++h) {
        ImageFont& block = records_lines_[static_cast<size_t>(h)];
        block.CreateCanvas("options_record_" + std::to_string(h), kRowRight - kRowLeft, kRecordsHeight);
        block.position = {static_cast<float>(kRowLeft + kTextInsetX),
                          static_cast<float>(kRecordsTop + h * kRecordsStep), 0.0f};
        Place(recordPlates_[static_cast<size_t>(h)], kRowLeft, kRecordsTop + h * kRecordsStep - kTextInsetY);
        recordPlates_[static_cast<size_t>(h)].visible = pictured_;
    }
    open_ = false;
}

bool OptionsOverlay::loadPictures() {
    struct Use {
        Image* image;
        const char* name;
    };
    std::vector<Use> uses = {{&frame_[0], kPanelPicture}, {&highlight_, kRowLitPicture}};
    for (size_t v = 0; v < track_.size(); ++v) {
        uses.push_back({&track_[v], kTrackPicture});
        uses.push_back({&trackFill_[v], kTrackFillPicture});
        uses.push_back({&knob_[v], kKnobPicture});
    }
    for (Image& plate : rowPlates_) {
        uses.push_back({&plate, kRowPicture});
    }
    for (Image& plate : recordPlates_) {
        uses.push_back({&plate, kRecordPicture});
    }
    for (const Use& u : uses) {
        u.image->loadTexture(u.name, true);
        u.image->useSourceRect = false;
        u.image->red = u.image->green = u.image->blue = u.image->alpha = 1.0f;
        if (u.image->textureWidth == 0) {
            platform::OutputDebug(std::string("Warning: ") + u.name + " is missing; the options are drawn plain");
            return false;
        }
    }
    // The switches change picture with their value; both must be there.
    for (const char* name : {kToggleOnPicture, kToggleOffPicture}) {
        int w = 0, h = 0;
        DxGraphic::Instance().GetTexture(name, w, h);
        if (w == 0) {
            platform::OutputDebug(std::string("Warning: ") + name + " is missing; the options are drawn plain");
            return false;
        }
    }
    return true;
}

void OptionsOverlay::Open() {
    open_ = true;
    records_ = false;
    dragging_ = false;
    selected_ = kRowMusic;
    for (int r = 0; r < kRowCount; ++r) {
        refreshRow(r);
    }
    placeMarks();
    DxSound::Instance().PlaySe("se_decide.wav");
}

void OptionsOverlay::Update(const MouseController& input) {
    if (!open_) {
        return;
    }
    if (records_) {
        stateRecords(input);
    } else {
        stateList(input);
    }
    placeMarks();
}

// The list: the pointer or the arrows light a row; the sliders follow a held button.
void OptionsOverlay::stateList(const MouseController& input) {
    if (input.KeyPressed(KeyCode::Escape) || input.RightClicked()) {
        close();
        return;
    }
    if (input.KeyPressed(KeyCode::Up)) {
        selected_ = (selected_ + kRowCount - 1) % kRowCount;
    } else if (input.KeyPressed(KeyCode::Down)) {
        selected_ = (selected_ + 1) % kRowCount;
    } else if (input.x != input.previousX || input.y != input.previousY || input.Clicked()) {
        for (int r = 0; r < kRowCount; ++r) {
            if (RowArea(r).contains(input.x, input.y)) {
                selected_ = r;
            }
        }
    }
    if (input.KeyPressed(KeyCode::Left)) {
        change(selected_, -1);
    } else if (input.KeyPressed(KeyCode::Right)) {
        change(selected_, +1);
    } else if (input.KeyPressed(KeyCode::Return)) {
        act(selected_);
        return;
    }

    // A press on a track catches its knob; it follows the pointer while the button is held.
    if (input.Clicked() && IsVolume(selected_) && TrackArea(selected_).contains(input.x, input.y)) {
        dragging_ = true;
    }
    if (dragging_) {
        if (!input.left) {
            dragging_ = false;
        } else {
            const int value = ((input.x - kTrackLeft) * 100 + kTrackWidth / 2) / kTrackWidth;
            setVolume(selected_, std::clamp(value, 0, 100));
        }
        return;
    }
    if (input.Clicked() && RowArea(selected_).contains(input.x, input.y) && !IsVolume(selected_)) {
        act(selected_);
    }
}

void OptionsOverlay::stateRecords(const MouseController& input) {
    if (input.KeyPressed(KeyCode::Escape) || input.KeyPressed(KeyCode::Return) || input.RightClicked() ||
        input.Clicked()) {
        DxSound::Instance().PlaySe("se_cancel.wav");
        records_ = false;
    }
}

// Enter or a click on a row.
void OptionsOverlay::act(int row) {
    switch (row) {
        case kRowMusic:
        case kRowEffects:
            break;  // the sliders answer to Left/Right and the pointer
        case kRowRecords:
            DxSound::Instance().PlaySe("se_decide.wav");
            refreshRecords();
            records_ = true;
            break;
        case kRowClose:
            close();
            break;
        default:
            change(row, +1);
            break;
    }
}

// Left/Right (-1/+1) on a row: a volume step, a switch flipped, the next or previous scale.
void OptionsOverlay::change(int row, int direction) {
    Global& g = Global::Instance();
    platform::Platform& p = platform::Get();
    switch (row) {
        case kRowMusic:
        case kRowEffects:
            setVolume(row, std::clamp(ValueOf(row) + direction * kVolumeStep, 0, 100));
            return;
        case kRowFullScreen: {
            const bool on = g.Get("FullScreen") == 0;
            if (p.SetFullScreen(on)) {
                g.Set(on ? 1 : 0, "FullScreen");
            }
            break;
        }
        case kRowFourColour: toggle("FourColourDeck"); break;
        case kRowFullStory: toggle("FullStory"); break;
        case kRowFast: toggle("FastAnimations"); break;
        case kRowPause: toggle("PauseOnFocusLoss"); break;
        case kRowScale: {
            const int current = ParseWindowScale(std::to_string(g.Get("WindowScale")));
            int index = static_cast<int>(std::find(std::begin(kScales), std::end(kScales), current) - kScales);
            index = (index + direction + 4) % 4;
            g.Set(kScales[index], "WindowScale");
            g.Set(0, "WindowWidth");
            g.Set(0, "WindowHeight");
            p.SetWindowSize(1280 * kScales[index] / 100, 720 * kScales[index] / 100);
            break;
        }
        default:
            return;
    }
    DxSound::Instance().PlaySe("se_decide.wav");
    refreshRow(row);
}

// Applied at once: the music keeps playing at the new volume; an effect plays at the new one.
void OptionsOverlay::setVolume(int row, int value) {
    if (value == ValueOf(row)) {
        return;
    }
    Global& g = Global::Instance();
    DxSound& sound = DxSound::Instance();
    if (row == kRowMusic) {
        g.Set(value, "BgmVolume");
        sound.SetBgmVolume(value);
    } else {
        g.Set(value, "SeVolume");
        sound.SetSeVolume(value);
        sound.SetTitleJingleGain(1.0f);  // the title's jingle follows the effect volume
        sound.PlaySe(kSlideEffect);
    }
    refreshRow(row);
}

void OptionsOverlay::toggle(const char* key) {
    Global& g = Global::Instance();
    g.Set(g.Get(key) != 0 ? 0 : 1, key);
}

void OptionsOverlay::close() {
    DxSound::Instance().PlaySe("se_cancel.wav");
    open_ = false;
    dragging_ = false;
    if (!SaveConfiguration(ConfigPath())) {
        platform::OutputDebug("Error: config.ini could not be written");
    }
}

std::string OptionsOverlay::rowText(int row) const {
    if (IsVolume(row)) {
        return Label(row) + " " + std::to_string(ValueOf(row));
    }
    return Label(row);
}

void OptionsOverlay::refreshRow(int row) {
    if (row < 0 || row >= kRowCount) {
        return;
    }
    ImageFont& canvas = rows_[static_cast<size_t>(row)];
    const uint32_t colour = row == kRowClose || row == kRowRecords ? kLanternGold : kMoonWhite;
    canvas.DrawText(platform::Utf8ToSjis(Label(row)), 0, 0, kFontSize, colour, true);
    if (IsVolume(row)) {
        canvas.DrawText(platform::Utf8ToSjis(std::to_string(ValueOf(row))), kValueX - kRowLeft - kTextInsetX, 0,
                        kFontSize, kLanternGold, false);
    }
}

void OptionsOverlay::refreshRecords() {
    const Records& records = Records::Instance();
    for (int h = 0; h < Records::kHosts; ++h) {
        ImageFont& block = records_lines_[static_cast<size_t>(h)];
        const HostRecord& r = records.Get(h);
        block.DrawText(menu::HostName(h), 0, 0, kFontSize, kLanternGold, true);
        const std::string lines[] = {RecordFirstLine(r), RecordBestLine(r), RecordPayoutLine(r)};
        for (int i = 0; i < 3; ++i) {
            block.DrawText(platform::Utf8ToSjis(lines[i]), kRecordTextX, i * kRecordLineStep, kRecordFontSize,
                           kMoonWhite, false);
        }
    }
}

void OptionsOverlay::Draw() {
    if (!open_) {
        return;
    }
    veil_.draw(0.0f, 0.0f, 0.0f);
    for (Image& f : frame_) {
        f.draw(0.0f, 0.0f, 0.0f);
    }
    title_.draw(0.0f, 0.0f, 0.0f);
    if (records_) {
        for (size_t h = 0; h < records_lines_.size(); ++h) {
            recordPlates_[h].draw(0.0f, 0.0f, 0.0f);
            records_lines_[h].draw(0.0f, 0.0f, 0.0f);
        }
        return;
    }
    for (Image& plate : rowPlates_) {
        plate.draw(0.0f, 0.0f, 0.0f);
    }
    highlight_.draw(0.0f, 0.0f, 0.0f);
    for (int r = 0; r < kRowCount; ++r) {
        const size_t i = static_cast<size_t>(r);
        rows_[i].draw(0.0f, 0.0f, 0.0f);
        toggles_[i].draw(0.0f, 0.0f, 0.0f);
        if (IsVolume(r)) {
            track_[i].draw(0.0f, 0.0f, 0.0f);
            trackFill_[i].draw(0.0f, 0.0f, 0.0f);
            knob_[i].draw(0.0f, 0.0f, 0.0f);
        }
    }
}

// The light on the selected row, the sliders' fill and knobs where the values put them, and the
// switches of the on/off rows.
void OptionsOverlay::placeMarks() {
    const Area lit = RowArea(selected_);
    if (!pictured_) {
        Plate(highlight_, lit.left, lit.top, lit.right - lit.left, lit.bottom - lit.top, kLanternGold, 0.22f);
        for (int r : {kRowMusic, kRowEffects}) {
            const int centre = RowArea(r).top + kRowHeight / 2;
            const int fill = kTrackWidth * ValueOf(r) / 100;
            Plate(track_[static_cast<size_t>(r)], kTrackLeft, centre - kTrackHeight / 2, kTrackWidth, kTrackHeight,
                  kNightBlue, 1.0f);
            trackFill_[static_cast<size_t>(r)].visible = false;
            Plate(knob_[static_cast<size_t>(r)], kTrackLeft + fill - kKnobWidth / 2, centre - kKnobHeight / 2,
                  kKnobWidth, kKnobHeight, kLanternGold, 1.0f);
        }
        return;
    }
    Place(highlight_, lit.left, lit.top);
    for (int r : {kRowMusic, kRowEffects}) {
        const size_t i = static_cast<size_t>(r);
        const int centre = RowArea(r).top + kRowHeight / 2;
        const int fill = kTrackWidth * ValueOf(r) / 100;
        Place(track_[i], kTrackLeft - kTrackPictureMargin, centre - kTrackPictureHeight / 2);
        // The fill is the groove's picture in gold, cut at the value (nothing shown at 0).
        Place(trackFill_[i], kTrackLeft - kTrackPictureMargin, centre - kTrackPictureHeight / 2);
        trackFill_[i].useSourceRect = true;
        trackFill_[i].sourceRect = {0, 0, kTrackPictureMargin + fill, kTrackPictureHeight};
        trackFill_[i].visible = fill > 0;
        Place(knob_[i], kTrackLeft + fill - kKnobPictureWidth / 2, centre - kKnobPictureHeight / 2);
    }
    for (int r = 0; r < kRowCount; ++r) {
        const char* key = ToggleKey(r);
        if (key == nullptr) {
            continue;
        }
        Image& mark = toggles_[static_cast<size_t>(r)];
        const char* name = Global::Instance().Get(key) != 0 ? kToggleOnPicture : kToggleOffPicture;
        if (mark.textureName != name) {
            mark.loadTexture(name, true);
        }
        Place(mark, kToggleX, RowArea(r).top + (kRowHeight - kToggleHeight) / 2);
    }
}
