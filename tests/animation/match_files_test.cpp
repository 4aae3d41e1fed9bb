// The match's animation files as the game reads them from the packed archives of the build tree:
// every layer the match plays by name, one "appear" commit per ability layer, targeted forms aimed
// at their card, and every picture and sound they name packed. Skipped in builds without assets.
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "../../tools/imageforge/catalog.h"
#include "anim_fixture.h"
#include "packed_archive.h"

using animtest::AnimTest;

namespace {

namespace fs = std::filesystem;

const char* const kHosts[5] = {"Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"};
const char* const kPlayerAbilities[8] = {"Player_01_RankUp",     "Player_02_RankDown",  "Player_03_JokerSwap",
                                         "Player_04_SeeThrough", "Player_05_DummyCard", "Player_06_TableBomb",
                                         "Player_07_DoubleBet",  "Player_08_DeckPeek"};
// Per host: ability layers in table order and which of them are targeted (at whose row).
enum class Aim { None, Human, Enemy };
struct HostAbility {
    const char* layer;
    Aim aim;
};
const HostAbility kHostAbilities[5][4] = {
    {{"Pemra_04_DeepFreeze", Aim::None}, {"Pemra_01_SealWard", Aim::None},
     {"Pemra_02_FreezeGust", Aim::None}, {"Pemra_03_LossDoubler", Aim::None}},
    {{"Otsel_04_HandReset", Aim::None}, {"Otsel_01_DummyCurse", Aim::Human},
     {"Otsel_02_CardReaper", Aim::None}, {"Otsel_03_JokerCall", Aim::Enemy}},
    {{"Quenvar_04_FiveAces", Aim::None}, {"Quenvar_01_SuitCopy", Aim::Enemy},
     {"Quenvar_02_RankCopy", Aim::Enemy}, {"Quenvar_03_CardCopy", Aim::Enemy}},
    {{"Iblen_04_HoldFlip", Aim::None}, {"Iblen_01_AbilityLock", Aim::None},
     {"Iblen_02_ReflectCurse", Aim::None}, {"Iblen_03_CharmForce", Aim::None}},
    {{"Rosweth_04_TieBreak", Aim::None}, {"Rosweth_01_CostDrain", Aim::None},
     {"Rosweth_02_CooldownLock", Aim::None}, {"Rosweth_03_GuardMark", Aim::None}},
};

std::string Slot(const std::string& base, int i) { return base + "_0" + std::to_string(i + 1); }

// Card centres of the two hands on the match screen.
float HumanX(int i) { return 110.0f * i + 80.0f; }
constexpr float kHumanY = 500.0f;
float EnemyX(int i) { return 110.0f * i + 120.0f; }
constexpr float kEnemyY = 164.0f;

using animtest::Packed;

const forge::PictureInfo* FindPicture(const std::string& name) {
    using Table = std::span<const forge::PictureInfo>;
    for (const Table table : {Table(forge::kPictures), Table(forge::kScreenPictures)}) {
        for (const forge::PictureInfo& p : table) {
            if (name == p.name) return &p;
        }
    }
    return nullptr;
}

int AppearCount(const AnimComposition& c) {
    int n = 0;
    for (const auto& [frame, label] : c.labels) n += label == "appear";
    return n;
}

int AppearFrame(const AnimComposition& c) {
    for (const auto& [frame, label] : c.labels) {
        if (label == "appear") return frame;
    }
    return -1;
}

// Centres of the layers visible on composition frame f (the last position key at or before it).
std::vector<std::pair<float, float>> CentresAt(const AnimComposition& c, int f) {
    std::vector<std::pair<float, float>> out;
    for (const AnimLayer& l : c.layers) {
        if (f < l.start || f > l.start + l.duration) continue;
        const AnimVectorKey* last = nullptr;
        for (const AnimVectorKey& k : l.positionKeys) {
            if (k.frame <= f - l.start) last = &k;
        }
        if (last != nullptr) out.emplace_back(last->x, last->y);
    }
    return out;
}

bool SomethingAt(const AnimComposition& c, int f, float x, float y, float tolerance) {
    for (const auto& [cx, cy] : CentresAt(c, f)) {
        if (std::fabs(cx - x) <= tolerance && std::fabs(cy - y) <= tolerance) return true;
    }
    return false;
}

class MatchFilesTest : public AnimTest {
protected:
    void SetUp() override {
        AnimTest::SetUp();
        anims_ = std::make_unique<Packed>(3);
        if (!anims_->ok()) GTEST_SKIP() << "needs the packed assets of a build with TARNWICK_BUILD_ASSETS";
        images_ = std::make_unique<Packed>(0);
        sounds_ = std::make_unique<Packed>(2);
        ASSERT_TRUE(images_->ok());
        ASSERT_TRUE(sounds_->ok());
    }

    // Loads one packed file into a; false when it is missing.
    bool Load(SylkieAnimation& a, const std::string& file) {
        const std::string text = anims_->Read(file);
        if (text.empty()) return false;
        LoadText(a, text);
        return true;
    }

    const AnimComposition* Get(SylkieAnimation& a, const std::string& layer) {
        const AnimComposition* c = a.Find(layer);
        EXPECT_NE(c, nullptr) << layer;
        return c;
    }

    // Every ability layer of one file: exactly one "appear" inside a non-looping timeline of one
    // to two seconds, reached when the game plays it.
    void CheckAbility(SylkieAnimation& a, const std::string& layer) {
        SCOPED_TRACE(layer);
        const AnimComposition* c = Get(a, layer);
        if (c == nullptr) return;
        EXPECT_EQ(AppearCount(*c), 1);
        const int appear = AppearFrame(*c);
        EXPECT_GE(appear, 0);
        EXPECT_LT(appear, c->length);
        EXPECT_FALSE(c->loopEnabled);
        EXPECT_GE(c->length, 60);
        EXPECT_LE(c->length, 130);
        // Played as the match does: the label shows up exactly once and the layer then ends.
        ASSERT_EQ(a.Play(layer), 0);
        int seen = 0, draws = 0;
        while (a.playing && draws < 1000) {
            seen += a.CurrentLabel() == "appear";
            Step(a);
            ++draws;
        }
        EXPECT_EQ(seen, 1);
        EXPECT_EQ(draws, c->length);
    }

    std::unique_ptr<Packed> anims_, images_, sounds_;
};

}  // namespace

TEST_F(MatchFilesTest, PlayerAbilityLayersCommitOnceAndAimAtTheChosenCard) {
    SylkieAnimation a;
    ASSERT_TRUE(Load(a, "Effect_Player.bca"));
    for (const char* base : kPlayerAbilities) CheckAbility(a, base);
    CheckAbility(a, "Player_05_DummyCard_Ref");
    for (int ability = 0; ability < 3; ++ability) {
        for (int i = 0; i < 5; ++i) {
            const std::string layer = Slot(kPlayerAbilities[ability], i);
            CheckAbility(a, layer);
            const AnimComposition* c = a.Find(layer);
            if (c == nullptr) continue;
            EXPECT_TRUE(SomethingAt(*c, AppearFrame(*c), HumanX(i), kHumanY, 4.0f)) << layer;
            // Aimed at one card: nothing sits on a neighbouring card at that moment.
            if (i > 0) {
                EXPECT_FALSE(SomethingAt(*c, AppearFrame(*c), HumanX(i - 1), kHumanY, 4.0f)) << layer;
            }
        }
    }
}

TEST_F(MatchFilesTest, HostAbilityLayersCommitOnceAndAimAtTheirSlot) {
    for (int h = 0; h < 5; ++h) {
        SCOPED_TRACE(kHosts[h]);
        SylkieAnimation a;
        ASSERT_TRUE(Load(a, std::string("Effect_") + kHosts[h] + ".bca"));
        for (const HostAbility& ab : kHostAbilities[h]) {
            CheckAbility(a, ab.layer);
            if (ab.aim == Aim::None) continue;
            for (int i = 0; i < 5; ++i) {
                const std::string layer = Slot(ab.layer, i);
                CheckAbility(a, layer);
                const AnimComposition* c = a.Find(layer);
                if (c == nullptr) continue;
                const float x = ab.aim == Aim::Human ? HumanX(i) : EnemyX(i);
                const float y = ab.aim == Aim::Human ? kHumanY : kEnemyY;
                EXPECT_TRUE(SomethingAt(*c, AppearFrame(*c), x, y, 4.0f)) << layer;
            }
        }
    }
}

// The lock overlays play on a third player whose "appear" would commit the match's pending
// effects a second time, so they carry none; each sits on its ability's name row of the window.
TEST_F(MatchFilesTest, LockOverlaysSitOnTheLockedAbilityAndCommitNothing) {
    const struct {
        const char* file;
        const char* base;
    } kLocks[] = {{"Effect_Iblen.bca", "Iblen_01_AbilityLock_CT_0"}, {"Effect_Rosweth.bca", "Rosweth_02_CooldownLock_CT_0"}};
    for (const auto& lock : kLocks) {
        SylkieAnimation a;
        ASSERT_TRUE(Load(a, lock.file));
        for (int k = 0; k < 8; ++k) {
            const std::string layer = lock.base + std::to_string(k + 1);
            SCOPED_TRACE(layer);
            const AnimComposition* c = Get(a, layer);
            if (c == nullptr) continue;
            EXPECT_EQ(AppearCount(*c), 0);
            EXPECT_FALSE(c->loopEnabled);
            EXPECT_GE(c->length, 30);
            EXPECT_LE(c->length, 120);
            // The name label of ability k: left 670 + 56 + 280 (k % 2), top 380 + 40 + 30 (k / 2), 30 high.
            const float left = 726.0f + 280.0f * static_cast<float>(k % 2);
            const float top = 420.0f + 30.0f * static_cast<float>(k / 2);
            bool onRow = false;
            for (const auto& [x, y] : CentresAt(*c, c->length / 2)) {
                onRow |= y >= top && y <= top + 30 && x >= left && x <= left + 260;
            }
            EXPECT_TRUE(onRow);
        }
    }
}

TEST_F(MatchFilesTest, SceneryLoopsAndHelpLayersEnd) {
    SylkieAnimation bg;
    ASSERT_TRUE(Load(bg, "Stand_BG.bca"));
    const AnimComposition* c = Get(bg, "BG_Stand_01");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->loopEnabled);
    for (const char* host : kHosts) {
        SylkieAnimation a;
        ASSERT_TRUE(Load(a, std::string("Stand_") + host + ".bca")) << host;
        for (const char* k : {"_01", "_02", "_03"}) {
            const std::string layer = std::string(host) + "_Stand" + k;
            const AnimComposition* s = Get(a, layer);
            if (s == nullptr) continue;
            EXPECT_TRUE(s->loopEnabled) << layer;
            EXPECT_EQ(AppearCount(*s), 0) << layer;
        }
    }
    SylkieAnimation tips;
    ASSERT_TRUE(Load(tips, "Tips.bca"));
    std::vector<std::string> help = {"Tips_Common_01", "Tips_DeepFreeze", "Tips_SealWard", "Tips_FreezeGust",
                                     "Tips_GuardMark"};
    for (int i = 0; i < 5; ++i) help.push_back(Slot("Tips_DummyCurse", i));
    for (const std::string& layer : help) {
        const AnimComposition* t = Get(tips, layer);
        if (t == nullptr) continue;
        EXPECT_FALSE(t->loopEnabled) << layer;
        EXPECT_EQ(AppearCount(*t), 0) << layer;
    }
    // The first-turn help stays long enough to be read.
    const AnimComposition* common = tips.Find("Tips_Common_01");
    ASSERT_NE(common, nullptr);
    EXPECT_GE(common->length, 360);
}

// Whatever the match files name must be packed: a missing picture or sound shows or plays
// nothing without any error. Image layers have their picture's size, which places its centre.
TEST_F(MatchFilesTest, EveryPictureAndSoundNamedIsPacked) {
    std::vector<std::string> files = {"Stand_BG.bca", "Tips.bca", "Effect_Player.bca"};
    for (const char* host : kHosts) {
        files.push_back(std::string("Stand_") + host + ".bca");
        files.push_back(std::string("Effect_") + host + ".bca");
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        SylkieAnimation a;
        ASSERT_TRUE(Load(a, file));
        std::set<std::string> pictures, effects;
        for (const std::string& name : a.CompositionNames()) {
            const AnimComposition& c = *a.Find(name);
            for (const auto& [frame, sound] : c.sounds) {
                EXPECT_LT(frame, c.length) << name;
                effects.insert(sound);
            }
            for (const auto& shake : c.shakes) EXPECT_LT(shake.frame, c.length) << name;
            for (const AnimLayer& l : c.layers) {
                EXPECT_LE(static_cast<int64_t>(l.start) + l.duration, c.length - 1) << name;
                if (l.type != AnimLayer::kTypeImage) continue;
                for (const AnimImageKey& k : l.imageKeys) {
                    pictures.insert(k.text);
                    const forge::PictureInfo* p = FindPicture(k.text);
                    if (p == nullptr) continue;  // reported below as not packed
                    EXPECT_EQ(l.width, p->width) << name << " " << k.text;
                    EXPECT_EQ(l.height, p->height) << name << " " << k.text;
                }
            }
        }
        for (const std::string& png : pictures) {
            ASSERT_GT(png.size(), 4u);
            EXPECT_TRUE(images_->Has(png.substr(0, png.size() - 4) + ".dds")) << png;
        }
        for (const std::string& wav : effects) EXPECT_TRUE(sounds_->Has(wav)) << wav;
    }
}
