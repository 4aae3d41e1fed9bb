#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <string>

#include "../../tools/imageforge/catalog.h"
#include "anim_fixture.h"

using animtest::AnimTest;

namespace {

namespace fs = std::filesystem;

fs::path SourceRoot() { return fs::path(__FILE__).parent_path().parent_path().parent_path(); }
fs::path AssetDir() { return SourceRoot() / "assets/anim"; }

// The picture the generator draws under that name, or null.
const forge::PictureInfo* FindPicture(const std::string& name) {
    using Table = std::span<const forge::PictureInfo>;
    for (const Table table : {Table(forge::kPictures), Table(forge::kScreenPictures)}) {
        for (const forge::PictureInfo& p : table) {
            if (name == p.name) return &p;
        }
    }
    return nullptr;
}

// The sound generator's sources, where every effect it makes is named in quotes.
std::string SoundForgeSources() {
    std::string all;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(SourceRoot() / "tools/soundforge", ec)) {
        if (entry.path().extension() == ".cpp") {
            std::ifstream in(entry.path(), std::ios::binary);
            all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return all;
}

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
// the compositions the title menu plays by name present. Pictures and sounds must be ones the
// generators make (a wrong name only shows nothing), and an image layer must have its picture's
// size, since the layer size places the picture's centre.
TEST_F(AnimTest, GameAnimationFilesAreWellFormed) {
    std::set<std::string> names;
    const std::string sounds = SoundForgeSources();
    ASSERT_FALSE(sounds.empty());
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
            for (const auto& [frame, sound] : c.sounds) {
                EXPECT_NE(sounds.find("\"" + sound + "\""), std::string::npos) << sound;
            }
            for (const AnimLayer& l : c.layers) {
                EXPECT_FALSE(l.imageKeys.empty());
                for (const AnimImageKey& k : l.imageKeys) {
                    if (l.type != AnimLayer::kTypeImage) continue;
                    const forge::PictureInfo* p = FindPicture(k.text);
                    ASSERT_NE(p, nullptr) << k.text;
                    EXPECT_EQ(l.width, p->width) << k.text;
                    EXPECT_EQ(l.height, p->height) << k.text;
                }
                EXPECT_TRUE(Ascending(l.imageKeys, l.duration));
                EXPECT_TRUE(Ascending(l.positionKeys, l.duration));
                EXPECT_TRUE(Ascending(l.scaleKeys, l.duration));
                EXPECT_TRUE(Ascending(l.rotationKeys, l.duration));
                EXPECT_TRUE(Ascending(l.alphaKeys, l.duration));
                EXPECT_LE(static_cast<int64_t>(l.start) + l.duration, c.length - 1);
            }
        }
    }
    // The generated menu files (tools/animforge) are checked in the packed archive by menu_files_test.
    for (const char* wanted : {"menu_circle", "menu_title_01", "menu_title_02"}) {
        EXPECT_EQ(names.count(wanted), 1u) << wanted;
    }
}
