// The generated pictures as the game sees them: packed as DDS entries of the images archive,
// with the sizes and sheet pieces the scenes cut from them, and drawn deterministically.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "catalog.h"
#include "graphics/dds.h"
#include "scenes/match/sheet_layout.h"
#include "test_support.h"

namespace fs = std::filesystem;
namespace lay = match::sheet;

namespace {

struct Rect {
    int left, top, right, bottom;
};

std::string EntryName(const std::string& png) {
    std::string n = png;
    for (char& c : n) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return n.substr(0, n.size() - 4) + ".dds";
}

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The build tree: TARNWICK_BUILD_DIR when set, else the tree this test was built in.
fs::path BuildDir() {
    const char* env = std::getenv("TARNWICK_BUILD_DIR");
    return env != nullptr && *env != 0 ? fs::path(env) : fs::path(IMAGEFORGE_BUILD_DIR);
}

// The images archive of the build tree, opened once for all tests.
class Images {
public:
    Images() {
        const fs::path dir = BuildDir() / "data";
        list_ = ReadAll(dir / "data0.lst");
        files_.fd[0] = ::open((dir / "data0.dat").c_str(), O_RDONLY);
        ok_ = files_.fd[0] >= 0 && !list_.empty() &&
              index_.LoadListBytes(&files_, list_.data(), list_.size(), false) == 0;
    }
    ~Images() {
        index_.Close();
        if (files_.fd[0] >= 0) {
            ::close(files_.fd[0]);
        }
    }
    bool ok() const { return ok_; }
    // Decodes the named picture ("sozai1.png"); false when missing or undecodable.
    bool Load(const std::string& png, dds::Image& out, std::string& error) {
        if (index_.Open(EntryName(png)) != 0) {
            error = "not in the archive";
            return false;
        }
        const bool decoded = dds::Decode(index_.Data(), index_.Size(), out, error);
        index_.Close();
        return decoded;
    }

private:
    std::vector<uint8_t> list_;
    DataFiles files_;
    ArchiveIndex index_;
    bool ok_ = false;
};

Images& Archive0() {
    static Images images;
    return images;
}

dds::Image LoadOrFail(const std::string& png) {
    dds::Image img;
    std::string error;
    EXPECT_TRUE(Archive0().Load(png, img, error)) << png << ": " << error;
    return img;
}

// Pixels of one rectangle, row by row (empty when it does not fit the picture).
std::vector<uint32_t> Cut(const dds::Image& img, Rect r) {
    std::vector<uint32_t> px;
    if (r.left < 0 || r.top < 0 || r.right > img.width || r.bottom > img.height || r.left >= r.right ||
        r.top >= r.bottom) {
        return px;
    }
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            px.push_back(img.argb[static_cast<size_t>(y) * img.width + x]);
        }
    }
    return px;
}

// Share of pixels that are more than faintly visible.
double Coverage(const std::vector<uint32_t>& px) {
    if (px.empty()) {
        return 0;
    }
    size_t n = 0;
    for (uint32_t p : px) {
        n += (p >> 24) > 24 ? 1 : 0;
    }
    return static_cast<double>(n) / px.size();
}

struct SizeOf {
    int w = 0, h = 0;
};

std::map<std::string, SizeOf> PictureSizes() {
    std::map<std::string, SizeOf> m;
    for (const auto& p : forge::kPictures) m[p.name] = {p.width, p.height};
    for (const auto& p : forge::kScreenPictures) m[p.name] = {p.width, p.height};
    return m;
}

struct Named {
    std::string sheet, what;
    Rect r;
};

// Every piece the game cuts from a sheet: the scenes' fixed rectangles, the card grid, the
// digit strips, the gallery thumbnails and the match's own layout table.
std::vector<Named> AllPieces() {
    std::vector<Named> v;
    for (const auto& s : forge::kSheetRects) {
        v.push_back({s.sheet, s.what, {s.left, s.top, s.right, s.bottom}});
    }
    for (int f = 0; f < 53; ++f) {
        const int x = f == 52 ? 320 : (f % 12) * 80, y = f == 52 ? 480 : (f / 12) * 120;
        v.push_back({"sozai1.png", "face " + std::to_string(f), {x, y, x + 80, y + 120}});
    }
    for (int k = 0; k < 5; ++k) {
        v.push_back({"sozai1.png", "dummy " + std::to_string(k), {(k + 6) * 80, 480, (k + 7) * 80, 600}});
    }
    for (int o = 0; o < 5; ++o) {
        for (int i = 0; i < 4; ++i) {
            const auto t = forge::kThumbs[o][i];
            const int w = i == 3 ? forge::kThumb3W : forge::kThumbW, h = i == 3 ? forge::kThumb3H : forge::kThumbH;
            v.push_back({"sozai5.png", "thumb " + std::to_string(o) + "/" + std::to_string(i),
                         {t.left, t.top, t.left + w, t.top + h}});
        }
    }
    auto add = [&](const char* sheet, const std::string& what, lay::Rect r) {
        v.push_back({sheet, what, {r.left, r.top, r.right, r.bottom}});
    };
    for (int r = 0; r < 9; ++r) add(lay::kPlateSheet, "hand plate " + std::to_string(r), lay::kHandPlate[r]);
    add(lay::kPlateSheet, "royal plate", lay::kRoyalPlate);
    for (int i = 0; i < 5; ++i) add(lay::kPlateSheet, "multiplier " + std::to_string(i), lay::kMultiplierMark[i]);
    add(lay::kExtraSheet, "double-up panel", lay::kDoubleUpPanel);
    add(lay::kExtraSheet, "high button", lay::kHighButton);
    add(lay::kExtraSheet, "low button", lay::kLowButton);
    add(lay::kExtraSheet, "guide caption", lay::kGuideCaption);
    add(lay::kExtraSheet, "guide high", lay::kGuideHigh);
    add(lay::kExtraSheet, "guide low", lay::kGuideLow);
    add(lay::kExtraSheet, "slot highlight", lay::kSlotHighlight);
    add(lay::kExtraSheet, "comment plate", lay::kCommentPlate);
    add(lay::kExtraSheet, "tab open", lay::kPanelTabOpen);
    add(lay::kExtraSheet, "tab closed", lay::kPanelTabClosed);
    for (int o = 0; o < 5; ++o) {
        for (int a = 0; a < 4; ++a) {
            add(lay::kIconSheet, "icon " + std::to_string(o) + "/" + std::to_string(a), lay::OpponentIcon(o, a));
        }
    }
    add(lay::kIconSheet, "opponent panel", lay::kOpponentPanel);
    add(lay::kIconSheet, "icon glow", lay::kOpponentIconGlow);
    return v;
}

bool Overlap(Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(ImageforgeLayout, EveryPieceLiesInsideItsSheetAndOurPiecesDoNotOverlapOthers) {
    const auto sizes = PictureSizes();
    const auto pieces = AllPieces();
    for (const Named& p : pieces) {
        const auto it = sizes.find(p.sheet);
        ASSERT_NE(it, sizes.end()) << p.sheet << " is not drawn";
        EXPECT_TRUE(p.r.left >= 0 && p.r.top >= 0 && p.r.left < p.r.right && p.r.top < p.r.bottom &&
                    p.r.right <= it->second.w && p.r.bottom <= it->second.h)
            << p.sheet << " " << p.what;
    }
    // The pieces we placed ourselves (the match layout table and the opponent icons) must not cover any
    // other piece of the same sheet. The fixed rectangles of the scenes may touch each other.
    const auto ours = [](const Named& n) {
        return n.sheet == "sozai4.png" || n.sheet == "sozai9.png" || n.what.rfind("icon", 0) == 0 ||
               n.what == "opponent panel" || n.what == "icon glow";
    };
    for (size_t i = 0; i < pieces.size(); ++i) {
        for (size_t j = i + 1; j < pieces.size(); ++j) {
            if (pieces[i].sheet == pieces[j].sheet && (ours(pieces[i]) || ours(pieces[j]))) {
                EXPECT_FALSE(Overlap(pieces[i].r, pieces[j].r))
                    << pieces[i].sheet << ": " << pieces[i].what << " overlaps " << pieces[j].what;
            }
        }
    }
}

TEST(ImageforgeArchive, EveryPictureIsPackedWithItsSize) {
    ASSERT_TRUE(Archive0().ok()) << "no images archive under " << (BuildDir() / "data");
    for (const auto& [name, size] : PictureSizes()) {
        const dds::Image img = LoadOrFail(name);
        EXPECT_EQ(img.width, size.w) << name;
        EXPECT_EQ(img.height, size.h) << name;
    }
    // The table is drawn at (-20, -20) and must cover the screen with a margin for the shake.
    const dds::Image table = LoadOrFail("table.png");
    EXPECT_GE(table.width, 1320);
    EXPECT_GE(table.height, 760);
    // Its card area (screen x up to 660) is opaque; from screen x 740 on it is clear, so the
    // salon and the host standing behind the table show through.
    EXPECT_GT(Coverage(Cut(table, Rect{0, 0, 680, table.height})), 0.99) << "the card area must be opaque";
    EXPECT_LT(Coverage(Cut(table, Rect{760, 40, table.width - 40, table.height - 40})), 0.01)
        << "the host's side must be clear";
}

TEST(ImageforgeArchive, EverySheetPieceHasContent) {
    ASSERT_TRUE(Archive0().ok());
    std::map<std::string, dds::Image> sheets;
    for (const Named& p : AllPieces()) {
        auto it = sheets.find(p.sheet);
        if (it == sheets.end()) {
            it = sheets.emplace(p.sheet, LoadOrFail(p.sheet)).first;
        }
        // Outlines (frames, glows) are thin; everything else is mostly filled.
        EXPECT_GT(Coverage(Cut(it->second, p.r)), 0.03) << p.sheet << " " << p.what << " is empty";
    }
}

TEST(ImageforgeArchive, CardsDigitsAndButtonsAreDistinct) {
    ASSERT_TRUE(Archive0().ok());
    const dds::Image s1 = LoadOrFail("sozai1.png");
    // 53 faces, the back and the five dummies: solid cards, no two alike.
    std::set<std::vector<uint32_t>> cards;
    for (int c = 0; c < 59; ++c) {
        int x, y;
        if (c < 52) {
            x = (c % 12) * 80;
            y = (c / 12) * 120;
        } else {
            x = (c - 52 + 4) * 80;  // joker, back, dummies 0..4
            y = 480;
        }
        const auto px = Cut(s1, {x, y, x + 80, y + 120});
        EXPECT_GT(Coverage(px), 0.9) << "card cell " << c;
        EXPECT_TRUE(cards.insert(px).second) << "card cell " << c << " repeats another";
    }
    // Digit strips: ten visible, pairwise different digits each.
    const Rect strips[2] = {{forge::kMedalDigitX, forge::kMedalDigitY, forge::kMedalDigitW, forge::kMedalDigitH},
                            {forge::kGaugeDigitX, forge::kGaugeDigitY, forge::kGaugeDigitW, forge::kGaugeDigitH}};
    for (const Rect& s : strips) {
        std::set<std::vector<uint32_t>> digits;
        for (int d = 0; d < 10; ++d) {
            const int x = s.left + d * s.right;
            const auto px = Cut(s1, {x, s.top, x + s.right, s.top + s.bottom});
            EXPECT_GT(Coverage(px), 0.05) << "digit " << d << " at " << x;
            EXPECT_TRUE(digits.insert(px).second) << "digit " << d << " repeats another";
        }
    }
    // Lit and dim system buttons differ; Yes and No differ; Draw and Showdown differ.
    const std::pair<Rect, Rect> pairs[] = {
        {{984, 0, 1024, 40}, {984, 40, 1024, 80}},   {{984, 80, 1024, 120}, {984, 120, 1024, 160}},
        {{720, 656, 948, 748}, {720, 748, 948, 840}}, {{496, 899, 600, 975}, {600, 899, 704, 975}},
        {{655, 1000, 679, 1024}, {679, 1000, 703, 1024}}};
    for (const auto& [a, b] : pairs) {
        EXPECT_NE(Cut(s1, a), Cut(s1, b)) << "buttons at " << a.left << "," << a.top;
    }
    // The opponents' icons are twenty different pictures.
    const dds::Image s2 = LoadOrFail("sozai2.png");
    std::set<std::vector<uint32_t>> icons;
    for (int o = 0; o < 5; ++o) {
        for (int a = 0; a < 4; ++a) {
            const lay::Rect r = lay::OpponentIcon(o, a);
            EXPECT_TRUE(icons.insert(Cut(s2, {r.left, r.top, r.right, r.bottom})).second) << o << "/" << a;
        }
    }
}

namespace {

int RunForge(const std::vector<std::string>& args) {
    std::string cmd = IMAGEFORGE_EXE;
    for (const std::string& a : args) {
        cmd += " '" + a + "'";
    }
    cmd += " >/dev/null 2>&1";
    const int st = std::system(cmd.c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

}  // namespace

TEST(ImageforgeGenerator, TwoRunsGiveIdenticalBytes) {
    const std::vector<std::string> subset = {"sozai1.png", "sozai4.png", "CG_Iblen_03_02.png", "Stand_Otsel_02.png"};
    const std::string a = testsupport::MakeTempDir(), b = testsupport::MakeTempDir();
    std::vector<std::string> args1 = {a}, args2 = {b, "--threads", "1"};
    for (const std::string& n : subset) {
        args1.insert(args1.end(), {"--only", n});
        args2.insert(args2.end(), {"--only", n});
    }
    ASSERT_EQ(RunForge(args1), 0);
    ASSERT_EQ(RunForge(args2), 0);
    for (const std::string& n : subset) {
        const auto x = ReadAll(fs::path(a) / n), y = ReadAll(fs::path(b) / n);
        EXPECT_FALSE(x.empty()) << n;
        EXPECT_TRUE(x == y) << n << " differs between runs";
    }
}

TEST(ImageforgeGenerator, RefusesUnknownNamesAndMissingFolder) {
    const std::string dir = testsupport::MakeTempDir();
    EXPECT_NE(RunForge({dir, "--only", "nosuch.png"}), 0);
    EXPECT_NE(RunForge({}), 0);
    EXPECT_NE(RunForge({dir, "--bogus"}), 0);
    EXPECT_TRUE(fs::is_empty(dir));
}

namespace {

// Pixels of a cell in a hue family (0xAARRGGBB, opaque enough to count).
int CountHue(const std::vector<uint32_t>& px, char hue) {
    int n = 0;
    for (uint32_t p : px) {
        const int a = static_cast<int>(p >> 24), r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a < 200) continue;
        switch (hue) {
            case 'r': n += r > 150 && g < 90 && b < 90; break;
            case 'b': n += b > 150 && r < 90 && g < 140; break;
            case 'g': n += g > 100 && r < 80 && b < 110 && g > b + 30; break;
            default: break;
        }
    }
    return n;
}

}  // namespace

TEST(ImageforgeArchive, FourColourDeckDiffersFromTheClassicOnlyInDiamondsAndClubs) {
    const dds::Image classic = LoadOrFail("sozai1.png");
    const dds::Image four = LoadOrFail("cards_four.png");
    ASSERT_EQ(four.width, classic.width);
    ASSERT_EQ(four.height, classic.height);
    for (int f = 0; f < 52; ++f) {
        SCOPED_TRACE("face " + std::to_string(f));
        const int x = (f % 12) * 80, y = (f / 12) * 120;
        const std::vector<uint32_t> a = Cut(classic, {x, y, x + 80, y + 120});
        const std::vector<uint32_t> b = Cut(four, {x, y, x + 80, y + 120});
        ASSERT_FALSE(a.empty());
        const int suit = f % 4;
        if (suit == 0 || suit == 1) {
            EXPECT_EQ(a, b) << "spades and hearts keep their colours";
        } else if (suit == 2) {
            // Red diamonds turn blue.
            EXPECT_GT(CountHue(a, 'r'), 60);
            EXPECT_LT(CountHue(b, 'r'), CountHue(a, 'r') / 8);
            EXPECT_GT(CountHue(b, 'b'), 60);
            EXPECT_LT(CountHue(a, 'b'), 10);
        } else {
            // Black clubs turn green.
            EXPECT_LT(CountHue(a, 'g'), 10);
            EXPECT_GT(CountHue(b, 'g'), 60);
        }
    }
    // Joker, back and dummy cards are the same; the rest of the sheet is empty.
    EXPECT_EQ(Cut(classic, {320, 480, 880, 600}), Cut(four, {320, 480, 880, 600}));
    EXPECT_EQ(Coverage(Cut(four, {0, 600, 1024, 1024})), 0.0);
    EXPECT_EQ(Coverage(Cut(four, {880, 480, 1024, 600})), 0.0);
}
