// Every layer the match asks for, built the way the scene builds its names, exists in the file the
// scene loaded into that player, and every ability layer commits exactly once. The files' own
// properties (lengths, aim, packed pictures) are checked with the animation tests.
#include <string>

#include "abilities_fixture.h"
#include "cards/player_abilities.h"
#include "scenes/match/opponent_abilities.h"

using abilitytest::AbilityTest;

namespace {

int AppearCount(const AnimComposition& c) {
    int n = 0;
    for (const auto& [frame, label] : c.labels) n += label == "appear";
    return n;
}

}  // namespace

TEST_F(AbilityTest, EveryLayerTheMatchPlaysIsInItsFileWithOneAppear) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    for (int o = 0; o < 5; ++o) {
        SCOPED_TRACE(o);
        Open(o);
        for (int a = 0; a < 4; ++a) {
            const match::OpponentAbility& rec = *match::FindOpponentAbility(o, a);
            for (int slot = 0; slot < (rec.targeted ? 5 : 1); ++slot) {
                const std::string layer = match::OpponentAbilityLayer(o, a, slot);
                const AnimComposition* c = game->opponentEffect.Find(layer);
                ASSERT_NE(c, nullptr) << layer;
                EXPECT_EQ(AppearCount(*c), 1) << layer;
                const std::string help = match::OpponentHelpLayer(o, a, slot);
                if (!help.empty()) {
                    EXPECT_NE(game->helpPanel.Find(help), nullptr) << help;
                }
            }
            for (int locked = 0; locked < 8 && rec.lockLayer != nullptr; ++locked) {
                const std::string lock = match::OpponentLockLayer(o, a, locked);
                const AnimComposition* c = game->lockOverlay.Find(lock);
                ASSERT_NE(c, nullptr) << lock;
                EXPECT_EQ(AppearCount(*c), 0) << lock;  // it would commit twice
            }
        }
    }
    EXPECT_NE(game->helpPanel.Find("Tips_GuardMark"), nullptr);

    // The player's layers as the entry frame of AbilityActivate starts them.
    Open(match::kPemra);
    for (int a = 0; a < match::kPlayerAbilityCount; ++a) {
        for (int reflected = 0; reflected < 2; ++reflected) {
            for (int slot = 0; slot < 5; ++slot) {
                game->reflect = reflected == 1;
                game->gauge.setValue(999);
                script.assign(1, slot);
                Activate(a, slot);
                const AnimComposition* c = game->playerEffect.Current();
                ASSERT_NE(c, nullptr) << a << " " << slot;
                std::string expected = match::kPlayerAbilities[static_cast<size_t>(a)].layer;
                if (a == match::AbilityDummyCard && reflected == 1) expected += "_Ref";
                if (a <= match::AbilityJokerSwap) expected += "_0" + std::to_string(slot + 1);
                EXPECT_EQ(c, game->playerEffect.Find(expected)) << expected;
                EXPECT_EQ(AppearCount(*c), 1) << expected;
                EXPECT_TRUE(game->playerEffect.playing);
            }
        }
    }
}

TEST_F(AbilityTest, TargetedHostAbilitiesPlayTheLayerAimedAtTheirSlot) {
    if (!UseGameData()) GTEST_SKIP() << "needs the generated data";
    // Otsel's DummyCurse at the player's slot 3, with its help aimed there too.
    Open(match::kOtsel);
    Script({1, 1, 3, 3});
    ASSERT_EQ(game->opponentReact(SceneGame::EventAfterPlayerDraw), match::DummyCurse);
    EXPECT_EQ(game->opponentEffect.Current(), game->opponentEffect.Find("Otsel_01_DummyCurse_04"));
    EXPECT_EQ(game->helpPanel.Current(), game->helpPanel.Find("Tips_DummyCurse_04"));
    EXPECT_TRUE(played("se_ability.wav"));
    // Quenvar's copy lands on the first slot not held.
    Open(match::kQuenvar);
    for (size_t i = 0; i < 3; ++i) game->opponent.hand[i].held = true;
    Script({9, 2, 0, 1});
    ASSERT_EQ(game->opponentReact(SceneGame::EventOpponentDraw), match::CardCopy);
    EXPECT_EQ(game->opponentEffect.Current(), game->opponentEffect.Find("Quenvar_03_CardCopy_04"));
    // An untargeted one plays its plain layer and lights its icon.
    Open(match::kPemra);
    Script({0});
    ASSERT_EQ(game->opponentReact(SceneGame::EventTurnStart), match::DeepFreeze);
    EXPECT_EQ(game->opponentEffect.Current(), game->opponentEffect.Find("Pemra_04_DeepFreeze"));
    EXPECT_EQ(game->helpPanel.Current(), game->helpPanel.Find("Tips_DeepFreeze"));
    game->updateAbilityWidgets();
    EXPECT_TRUE(game->opponentIconGlow.visible);
    EXPECT_FLOAT_EQ(game->opponentIconGlow.position.y, game->opponentIcons[0].position.y);
}
