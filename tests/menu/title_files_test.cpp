// Every composition the title and the advertisement ask for by name is in the packed animation
// archive, and every picture and sound those compositions use is packed too.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "animation/sylkie_animation.h"
#include "archive/archive.h"
#include "../support/scene_fixture.h"

namespace {

class TitleFilesTest : public testsupport::SceneTest {};

// Archive entries are looked up by their lower-case names; pictures asked for as ".png" are
// packed as ".dds".
bool Packed(ArchiveId id, std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (id == ArchiveId::Images && name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
        name.replace(name.size() - 4, 4, ".dds");
    }
    return Archive(id).Entries().count(name) > 0;
}

TEST_F(TitleFilesTest, EveryCompositionTheScenesPlayIsPacked) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    std::map<std::string, std::vector<std::string>> wanted = {
        {"menu_circle.bca", {"menu_circle"}},
        {"menu_credit.bca", {"menu_credit"}},
        {"menu_bg.bca", {"menu_bg_01", "menu_bg_02"}},
        {"menu_title_01.bca", {"menu_title_01"}},
        {"menu_title_02.bca", {"menu_title_02"}},
        {"menu_eff.bca", {"menu_eff"}},
        {"menu_button.bca", {"menu_button_00"}},
        {"menu_select_00.bca", {"menu_select_00"}},
        {"menu_select_06.bca", {"menu_select_06_00"}},
        {"menu_select_07.bca", {"menu_select_07"}},
        {"menu_advertise.bca", {"menu_advertise"}},
    };
    for (int hover = 0; hover <= 5; ++hover) {
        wanted["menu_button.bca"].push_back("menu_button_0" + std::to_string(hover + 1));
    }
    for (int slot = 1; slot <= 5; ++slot) {
        const std::string base = "menu_select_0" + std::to_string(slot);
        for (const char* suffix : {"_01", "_02", "_03", "_04"}) {
            wanted[base + ".bca"].push_back(base + suffix);
        }
    }

    for (const auto& [file, names] : wanted) {
        SCOPED_TRACE(file);
        SylkieAnimation a;
        ASSERT_EQ(a.Load(file), 0);
        for (const std::string& name : names) {
            const AnimComposition* c = a.Find(name);
            ASSERT_NE(c, nullptr) << name;
            EXPECT_GT(c->length, 0) << name;
            for (const AnimLayer& l : c->layers) {
                if (l.type != AnimLayer::kTypeImage) continue;  // planes name a colour
                for (const auto& key : l.imageKeys) {
                    EXPECT_TRUE(Packed(ArchiveId::Images, key.text)) << name << ": " << key.text;
                }
            }
            for (const auto& [frame, sound] : c->sounds) {
                EXPECT_TRUE(Packed(ArchiveId::SoundEffects, sound)) << name << ": " << sound;
            }
        }
    }
    // The message window's frame and the scenes' sounds.
    EXPECT_TRUE(Packed(ArchiveId::Images, "sozai3.png"));
    for (const char* s : {"se_decide.wav", "se_cancel.wav", "menu_title.wav"}) {
        EXPECT_TRUE(Packed(ArchiveId::SoundEffects, s)) << s;
    }
    for (const char* m : {"bgm_menu.ogg", "bgm_credit.ogg"}) {
        EXPECT_TRUE(Packed(ArchiveId::Music, m)) << m;
    }
}

}  // namespace
