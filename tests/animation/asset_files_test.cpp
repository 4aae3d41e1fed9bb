#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "anim_fixture.h"

using animtest::AnimTest;

namespace {

namespace fs = std::filesystem;

fs::path AssetDir() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "assets/anim"; }

template <typename Keys>
bool Ascending(const Keys& keys, int32_t duration) {
    int64_t previous = -1;
    for (const auto& k : keys) {
        if (k.frame <= previous || k.frame > duration) {
            return false;
        }
        previous = k.frame;
    }
    return true;
}

}  // namespace

// The game's own animation files: every track in strictly increasing frame order inside its
// layer's span (a key out of order would silently stop its track), loops inside the timeline, and
// the compositions the title menu plays by name present.
TEST_F(AnimTest, GameAnimationFilesAreWellFormed) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(AssetDir(), ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SylkieAnimation a;
        LoadText(a, text);
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_TRUE(a.HeaderSeen());
        EXPECT_GT(a.CompositionCount(), 0u);
        for (const std::string& name : a.CompositionNames()) {
            SCOPED_TRACE(name);
            names.insert(name);
            const AnimComposition& c = *a.Find(name);
            EXPECT_GT(c.length, 0);
            if (c.loopEnabled) {
                EXPECT_GE(c.loopFrame, 0);
                EXPECT_LT(c.loopFrame, c.length);
            }
            for (const AnimLayer& l : c.layers) {
                EXPECT_FALSE(l.imageKeys.empty());
                EXPECT_TRUE(Ascending(l.imageKeys, l.duration));
                EXPECT_TRUE(Ascending(l.positionKeys, l.duration));
                EXPECT_TRUE(Ascending(l.scaleKeys, l.duration));
                EXPECT_TRUE(Ascending(l.rotationKeys, l.duration));
                EXPECT_TRUE(Ascending(l.alphaKeys, l.duration));
                EXPECT_LE(static_cast<int64_t>(l.start) + l.duration, c.length - 1);
            }
        }
    }
    for (const char* wanted : {"menu_circle", "menu_bg_01", "menu_bg_02", "menu_button_00", "menu_button_01",
                               "menu_button_04", "menu_button_05", "menu_title_01", "menu_title_02", "menu_eff"}) {
        EXPECT_EQ(names.count(wanted), 1u) << wanted;
    }
}
