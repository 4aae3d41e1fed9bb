#pragma once
#include <array>
#include <string>

// The hosts' four abilities each: which layer of the host's effect file shows them, whether the
// layer is aimed at one card (the layer then carries "_0" and the slot + 1), and which help layer
// of "Tips.bca" explains them. Index 0 is the rare one, whose layer carries "_04_". The comment
// lines and panel labels live in opponent_lines.h.
namespace match {

// Asset words of the hosts, in opponent order.
inline constexpr std::array<const char*, 5> kOpponentWords = {"Pemra", "Otsel", "Quenvar", "Iblen", "Rosweth"};

// Ability indices per host (the second index of kOpponentAbilities).
enum PemraAbility : int { DeepFreeze = 0, SealWard = 1, FreezeGust = 2, LossDoubler = 3 };
enum OtselAbility : int { HandReset = 0, DummyCurse = 1, CardReaper = 2, JokerCall = 3 };
enum QuenvarAbility : int { FiveAces = 0, SuitCopy = 1, RankCopy = 2, CardCopy = 3 };
enum IblenAbility : int { HoldFlip = 0, AbilityLock = 1, ReflectCurse = 2, CharmForce = 3 };
enum RoswethAbility : int { TieBreak = 0, CostDrain = 1, CooldownLock = 2, GuardMark = 3 };

inline constexpr int kPemra = 0;
inline constexpr int kOtsel = 1;
inline constexpr int kQuenvar = 2;
inline constexpr int kIblen = 3;
inline constexpr int kRosweth = 4;

struct OpponentAbility {
    const char* name;
    const char* layer;       // in "Effect_<Word>.bca"
    bool targeted;           // the layer (and help layer) get "_0" + slot + 1
    const char* helpLayer;   // in "Tips.bca", or null
    const char* lockLayer;   // lock overlay base (+ locked ability + 1), or null
};

inline constexpr std::array<std::array<OpponentAbility, 4>, 5> kOpponentAbilities = {{
    {{{"DeepFreeze", "Pemra_04_DeepFreeze", false, "Tips_DeepFreeze", nullptr},
      {"SealWard", "Pemra_01_SealWard", false, "Tips_SealWard", nullptr},
      {"FreezeGust", "Pemra_02_FreezeGust", false, "Tips_FreezeGust", nullptr},
      {"LossDoubler", "Pemra_03_LossDoubler", false, nullptr, nullptr}}},
    {{{"HandReset", "Otsel_04_HandReset", false, nullptr, nullptr},
      {"DummyCurse", "Otsel_01_DummyCurse", true, "Tips_DummyCurse", nullptr},
      {"CardReaper", "Otsel_02_CardReaper", false, nullptr, nullptr},
      {"JokerCall", "Otsel_03_JokerCall", true, nullptr, nullptr}}},
    {{{"FiveAces", "Quenvar_04_FiveAces", false, nullptr, nullptr},
      {"SuitCopy", "Quenvar_01_SuitCopy", true, nullptr, nullptr},
      {"RankCopy", "Quenvar_02_RankCopy", true, nullptr, nullptr},
      {"CardCopy", "Quenvar_03_CardCopy", true, nullptr, nullptr}}},
    {{{"HoldFlip", "Iblen_04_HoldFlip", false, nullptr, nullptr},
      {"AbilityLock", "Iblen_01_AbilityLock", false, nullptr, "Iblen_01_AbilityLock_CT_0"},
      {"ReflectCurse", "Iblen_02_ReflectCurse", false, nullptr, nullptr},
      {"CharmForce", "Iblen_03_CharmForce", false, nullptr, nullptr}}},
    {{{"TieBreak", "Rosweth_04_TieBreak", false, nullptr, nullptr},
      {"CostDrain", "Rosweth_01_CostDrain", false, nullptr, nullptr},
      {"CooldownLock", "Rosweth_02_CooldownLock", false, nullptr, "Rosweth_02_CooldownLock_CT_0"},
      {"GuardMark", "Rosweth_03_GuardMark", false, nullptr, nullptr}}},
}};

// The record of host o's ability a, or null outside the table.
constexpr const OpponentAbility* FindOpponentAbility(int opponent, int ability) {
    if (opponent < 0 || opponent >= 5 || ability < 0 || ability >= 4) return nullptr;
    return &kOpponentAbilities[static_cast<size_t>(opponent)][static_cast<size_t>(ability)];
}

// "_0" and the slot + 1: the suffix of a layer aimed at hand slot 0..4.
inline std::string SlotSuffix(int slot) { return "_0" + std::to_string(slot + 1); }

// The layer that shows host o's ability a (aimed at the slot when the ability is targeted);
// empty outside the table.
inline std::string OpponentAbilityLayer(int opponent, int ability, int slot) {
    const OpponentAbility* a = FindOpponentAbility(opponent, ability);
    if (a == nullptr) return {};
    return a->targeted ? a->layer + SlotSuffix(slot) : std::string(a->layer);
}

// The help layer of host o's ability a, aimed like its layer; empty when it has none.
inline std::string OpponentHelpLayer(int opponent, int ability, int slot) {
    const OpponentAbility* a = FindOpponentAbility(opponent, ability);
    if (a == nullptr || a->helpLayer == nullptr) return {};
    return a->targeted ? a->helpLayer + SlotSuffix(slot) : std::string(a->helpLayer);
}

// The lock overlay over player ability 0..7 in the window; empty when the ability locks nothing.
inline std::string OpponentLockLayer(int opponent, int ability, int lockedAbility) {
    const OpponentAbility* a = FindOpponentAbility(opponent, ability);
    if (a == nullptr || a->lockLayer == nullptr) return {};
    return a->lockLayer + std::to_string(lockedAbility + 1);
}

// "Effect_<Word>.bca"; opponent 0's file outside 0..4.
inline std::string OpponentEffectFile(int opponent) {
    const int o = opponent >= 0 && opponent < 5 ? opponent : 0;
    return std::string("Effect_") + kOpponentWords[static_cast<size_t>(o)] + ".bca";
}

// The voice event (5..8) an opponent ability plays: 5, 6, 7 for abilities 1, 2, 3 and 8 for 0.
constexpr int OpponentAbilityVoiceEvent(int ability) { return ability == 0 ? 8 : 4 + ability; }

}  // namespace match
