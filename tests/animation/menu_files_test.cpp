// The title menu's, the host pick's, the credits' and the advertisement's animation files as the
// game reads them: from the packed archives of this build tree (skipped when the build made no
// assets). The title scene plays these compositions by name and places its hit areas and message
// window against them, so names, timing and placement are checked here.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "anim_fixture.h"
#include "packed_archive.h"

using animtest::AnimTest;

namespace {

namespace fs = std::filesystem;

using animtest::Packed;

// Every menu file and the compositions the scenes play from it.
const std::map<std::string, std::vector<std::string>>& MenuFiles() {
    static const std::map<std::string, std::vector<std::string>> files = {
        {"menu_circle.bca", {"menu_circle"}},
        {"menu_bg.bca", {"menu_bg_01", "menu_bg_02"}},
        {"menu_title_01.bca", {"menu_title_01"}},
        {"menu_title_02.bca", {"menu_title_02"}},
        {"menu_eff.bca", {"menu_eff"}},
        {"menu_button.bca",
         {"menu_button_00", "menu_button_01", "menu_button_02", "menu_button_03", "menu_button_04", "menu_button_05",
          "menu_button_06"}},
        {"menu_select_00.bca", {"menu_select_00"}},
        {"menu_select_01.bca", {"menu_select_01_01", "menu_select_01_02", "menu_select_01_03"}},
        {"menu_select_02.bca", {"menu_select_02_01", "menu_select_02_02", "menu_select_02_03"}},
        {"menu_select_03.bca", {"menu_select_03_01", "menu_select_03_02", "menu_select_03_03"}},
        {"menu_select_04.bca", {"menu_select_04_01", "menu_select_04_02", "menu_select_04_03"}},
        {"menu_select_05.bca", {"menu_select_05_01", "menu_select_05_02", "menu_select_05_03"}},
        {"menu_select_06.bca", {"menu_select_06_00"}},
        {"menu_select_07.bca", {"menu_select_07"}},
        {"menu_credit.bca", {"menu_credit"}},
        {"menu_advertise.bca", {"menu_advertise"}},
    };
    return files;
}

template <typename Keys>
bool Ascending(const Keys& keys, int32_t duration) {
    int64_t previous = -1;
    for (const auto& k : keys) {
        if (k.frame <= previous || k.frame > duration) return false;
        previous = k.frame;
    }
    return true;
}

// Largest scale (percent) a layer ever takes; 100 without scale keys.
float MaxScale(const AnimLayer& l, bool vertical) {
    float s = l.scaleKeys.empty() ? 100.0f : 0.0f;
    for (const AnimVectorKey& k : l.scaleKeys) s = std::max(s, vertical ? k.y : k.x);
    return s;
}

const std::string& Picture(const AnimLayer& l) {
    static const std::string none;
    return l.type == AnimLayer::kTypeImage && !l.imageKeys.empty() ? l.imageKeys.front().text : none;
}

// Length in seconds of an Ogg Vorbis stream: the last page's granule position over the rate of
// the identification header; 0 when either is missing.
double OggSeconds(const std::string& ogg) {
    const size_t id = ogg.find("\x01vorbis");
    const size_t last = ogg.rfind("OggS");
    if (id == std::string::npos || last == std::string::npos || id + 16 > ogg.size() || last + 14 > ogg.size()) {
        return 0;
    }
    uint32_t rate = 0;
    std::memcpy(&rate, ogg.data() + id + 12, 4);
    int64_t granule = 0;
    std::memcpy(&granule, ogg.data() + last + 6, 8);
    return rate > 0 ? static_cast<double>(granule) / rate : 0;
}

}  // namespace

class MenuFilesTest : public AnimTest {
protected:
    void SetUp() override {
        AnimTest::SetUp();
        if (!anims_.ok() || !images_.ok() || !sounds_.ok() || !music_.ok()) {
            GTEST_SKIP() << "no packed assets under " << testsupport::BuildDir() << "/data";
        }
    }
    // Loads a packed file into a; false (with a failure) when it is missing.
    bool Load(SylkieAnimation& a, const std::string& file) {
        const std::string text = anims_.Read(file);
        EXPECT_FALSE(text.empty()) << file << " is not packed";
        LoadText(a, text);
        return !text.empty();
    }

    Packed anims_{3};
    Packed images_{0};
    Packed sounds_{2};
    Packed music_{1};
};

// Every composition the title and advertisement scenes play by name is there, well formed: tracks
// in strictly rising frame order inside their layer's span (a key out of order silently stops its
// track), layers inside the timeline, loop points inside it.
TEST_F(MenuFilesTest, EveryMenuCompositionIsPresentAndWellFormed) {
    for (const auto& [file, names] : MenuFiles()) {
        SCOPED_TRACE(file);
        SylkieAnimation a;
        if (!Load(a, file)) continue;
        for (const std::string& name : names) {
            EXPECT_NE(a.Find(name), nullptr) << name;
        }
        for (const std::string& name : a.CompositionNames()) {
            SCOPED_TRACE(name);
            const AnimComposition& c = *a.Find(name);
            EXPECT_GT(c.length, 0);
            if (c.loopEnabled) {
                EXPECT_GE(c.loopFrame, 0);
                EXPECT_LT(c.loopFrame, c.length);
            }
            for (const AnimLayer& l : c.layers) {
                EXPECT_FALSE(l.imageKeys.empty());
                EXPECT_TRUE(Ascending(l.positionKeys, l.duration));
                EXPECT_TRUE(Ascending(l.scaleKeys, l.duration));
                EXPECT_TRUE(Ascending(l.rotationKeys, l.duration));
                EXPECT_TRUE(Ascending(l.alphaKeys, l.duration));
                EXPECT_LE(static_cast<int64_t>(l.start) + l.duration, c.length - 1);
            }
        }
    }
}

// A picture or sound missing from the archives only shows or plays nothing, so every name the
// menu files use must be packed; image layers must have their picture's size, since the layer size
// places the picture's centre.
TEST_F(MenuFilesTest, MenuFilesNameOnlyPackedPicturesAndSounds) {
    std::map<std::string, std::pair<int, int>> sizes;  // decoded picture sizes by entry
    for (const auto& [file, names] : MenuFiles()) {
        SCOPED_TRACE(file);
        SylkieAnimation a;
        if (!Load(a, file)) continue;
        for (const std::string& name : a.CompositionNames()) {
            const AnimComposition& c = *a.Find(name);
            for (const auto& [frame, sound] : c.sounds) {
                EXPECT_TRUE(sounds_.Has(sound)) << name << ": " << sound;
            }
            for (const AnimLayer& l : c.layers) {
                if (l.type != AnimLayer::kTypeImage) continue;
                for (const AnimImageKey& k : l.imageKeys) {
                    ASSERT_GT(k.text.size(), 4u);
                    const std::string entry = k.text.substr(0, k.text.size() - 4) + ".dds";
                    if (!images_.Has(entry)) {
                        ADD_FAILURE() << name << ": " << k.text << " is not packed";
                        continue;
                    }
                    auto size = sizes.find(entry);
                    if (size == sizes.end()) {
                        const std::string dds = images_.Read(entry);
                        dds::Image img;
                        std::string error;
                        ASSERT_TRUE(dds::Decode(reinterpret_cast<const uint8_t*>(dds.data()), dds.size(), img, error))
                            << k.text << ": " << error;
                        size = sizes.emplace(entry, std::make_pair(img.width, img.height)).first;
                    }
                    EXPECT_EQ(l.width, size->second.first) << name << ": " << k.text;
                    EXPECT_EQ(l.height, size->second.second) << name << ": " << k.text;
                    EXPECT_LE(size->second.second, 2048) << k.text;
                }
            }
        }
    }
}

// The advertisement and the credits end by themselves (their scenes wait for that): the
// advertisement within 10 to 15 seconds, the credit roll before its music ends but not long
// before.
TEST_F(MenuFilesTest, AdvertisementAndCreditsEndOnTime) {
    SylkieAnimation advert, credit;
    ASSERT_TRUE(Load(advert, "menu_advertise.bca"));
    ASSERT_TRUE(Load(credit, "menu_credit.bca"));
    const AnimComposition* ad = advert.Find("menu_advertise");
    const AnimComposition* roll = credit.Find("menu_credit");
    ASSERT_NE(ad, nullptr);
    ASSERT_NE(roll, nullptr);
    EXPECT_FALSE(ad->loopEnabled);
    EXPECT_FALSE(roll->loopEnabled);
    EXPECT_GE(ad->length, 10 * 60);
    EXPECT_LE(ad->length, 15 * 60);
    const double music = OggSeconds(music_.Read("bgm_credit.ogg"));
    ASSERT_GT(music, 30.0);
    EXPECT_LE(roll->length / 60.0, music);
    EXPECT_GE(roll->length / 60.0, music - 10.0);

    // Played through, each reports its end exactly on its last frame.
    advert.Play("menu_advertise");
    for (int32_t f = 0; f < ad->length; ++f) {
        ASSERT_TRUE(advert.playing) << f;
        advert.Draw();
    }
    EXPECT_FALSE(advert.playing);
}

// Hit areas of the title menu (both ends exclusive) and the button each hover value lights:
// "menu_button_0" + (hover + 1); hover 4 lights none.
TEST_F(MenuFilesTest, ButtonsLightTheirItemAndStayInsideTheirHitAreas) {
    struct Area {
        const char* picture;  // dim picture; the lit one adds "_on"
        int hover;
        float left, right, top, bottom;
    };
    const Area areas[] = {
        {"menu_btn_start", 0, 887, 1215, 523, 566},   {"menu_btn_gallery", 1, 547, 875, 523, 566},
        {"menu_btn_credit", 2, 547, 875, 584, 627},   {"menu_btn_end", 3, 887, 1170, 584, 627},
        {"menu_btn_quick", 5, 887, 1215, 645, 688},
    };
    SylkieAnimation a;
    ASSERT_TRUE(Load(a, "menu_button.bca"));
    for (int number = 0; number <= 6; ++number) {
        const std::string name = "menu_button_0" + std::to_string(number);
        SCOPED_TRACE(name);
        const AnimComposition* c = a.Find(name);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->loopEnabled);
        std::map<std::string, int> shown;
        for (const AnimLayer& l : c->layers) {
            const std::string& picture = Picture(l);
            const Area* area = nullptr;
            for (const Area& ar : areas) {
                if (picture == std::string(ar.picture) + ".png" || picture == std::string(ar.picture) + "_on.png") {
                    area = &ar;
                }
            }
            ASSERT_NE(area, nullptr) << picture;
            ++shown[picture];
            const float halfW = l.width * MaxScale(l, false) / 200.0f;
            const float halfH = l.height * MaxScale(l, true) / 200.0f;
            ASSERT_FALSE(l.positionKeys.empty()) << picture;
            for (const AnimVectorKey& k : l.positionKeys) {
                EXPECT_GE(k.x - halfW, area->left) << picture;
                EXPECT_LE(k.x + halfW, area->right) << picture;
                EXPECT_GE(k.y - halfH, area->top) << picture;
                EXPECT_LE(k.y + halfH, area->bottom) << picture;
            }
        }
        for (const Area& ar : areas) {
            const bool lit = number >= 1 && ar.hover + 1 == number;
            EXPECT_EQ(shown[std::string(ar.picture) + ".png"], 1) << ar.picture;
            EXPECT_EQ(shown[std::string(ar.picture) + "_on.png"], lit ? 1 : 0) << ar.picture;
        }
    }
}

// The host pick: slot s shows its host's panel centred on x = 640 + (s - 3) * 230, settling at
// y = 330, and no panel reaches down to the introduction window (top 540; kept above 520).
TEST_F(MenuFilesTest, PickPanelsShowTheirHostInPlaceAboveTheWindow) {
    const char* const slotHosts[5] = {"otsel", "quenvar", "pemra", "iblen", "rosweth"};
    for (int s = 1; s <= 5; ++s) {
        const std::string file = "menu_select_0" + std::to_string(s) + ".bca";
        SCOPED_TRACE(file);
        SylkieAnimation a;
        if (!Load(a, file)) continue;
        const std::string panel = std::string("menu_slot_") + slotHosts[s - 1] + ".png";
        const float x = 640.0f + static_cast<float>(s - 3) * 230.0f;
        for (const char* suffix : {"_01", "_02", "_03"}) {
            const std::string name = "menu_select_0" + std::to_string(s) + suffix;
            const AnimComposition* c = a.Find(name);
            ASSERT_NE(c, nullptr) << name;
            EXPECT_TRUE(c->loopEnabled) << name;
            int panels = 0;
            for (const AnimLayer& l : c->layers) {
                const std::string& picture = Picture(l);
                if (picture.rfind("menu_slot_", 0) != 0 || picture.rfind("menu_slot_glow", 0) == 0 ||
                    picture.rfind("menu_slot_flash", 0) == 0) {
                    continue;
                }
                ++panels;
                EXPECT_EQ(picture, panel) << name;
                ASSERT_FALSE(l.positionKeys.empty());
                const float halfH = l.height * MaxScale(l, true) / 200.0f;
                for (const AnimVectorKey& k : l.positionKeys) {
                    EXPECT_FLOAT_EQ(k.x, x) << name;
                    EXPECT_LE(k.y + halfH, 520.0f) << name << " frame " << k.frame;
                }
                if (std::string(suffix) == "_01") {
                    EXPECT_FLOAT_EQ(l.positionKeys.back().y, 330.0f);
                }
            }
            EXPECT_EQ(panels, 1) << name;
        }
    }
}
