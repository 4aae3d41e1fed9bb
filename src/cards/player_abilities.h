#pragma once
#include <array>
#include <string>

// The player's eight abilities, in menu order: what they cost from the ability gauge, how many
// turns they cool down, what they target, where their picture is and which animation layer shows
// them. The ability window reads names, costs, cooldowns and descriptions from here; the match
// reads the rest.
namespace match {

enum PlayerAbilityId : int {
    AbilityRankUp = 0,
    AbilityRankDown = 1,
    AbilityJokerSwap = 2,
    AbilitySeeThrough = 3,
    AbilityDummyCard = 4,
    AbilityTableBomb = 5,
    AbilityDoubleBet = 6,
    AbilityDeckPeek = 7,
};
inline constexpr int kPlayerAbilityCount = 8;
// Ability pictures are squares of this side, lying this far apart on their sheets.
inline constexpr int kAbilityPictureSize = 128;

struct PlayerAbility {
    const char* name;         // display name (plain ASCII, so the same bytes in Shift-JIS)
    int cost;                 // gauge points
    int cooldown;             // turns
    bool targetsOwnCard;      // the player picks one of the own cards first
    const char* sheet;        // picture sheet
    int pictureLeft;          // top-left corner of the ability's picture on the sheet
    int pictureTop;
    const char* layer;        // animation layer: "Player_0" + (index + 1) + "_" + name
    const char* description;  // menu text, UTF-8 here; see PlayerAbilityDescription
};

inline constexpr std::array<PlayerAbility, kPlayerAbilityCount> kPlayerAbilities = {{
    {"RankUp", 50, 2, true, "sozai2.png", 512, 512, "Player_01_RankUp",
     "手札を1枚選び、書かれている数字に1を加えます。\nジョーカーやダミーカードに使っても効果はありません。"},
    {"RankDown", 50, 2, true, "sozai2.png", 512, 640, "Player_02_RankDown",
     "手札を1枚選び、書かれている数字から1を引きます。\nジョーカーやダミーカードに使っても効果はありません。"},
    {"JokerSwap", 200, 10, true, "sozai2.png", 512, 768, "Player_03_JokerSwap",
     "手札を1枚選び、ジョーカーと交換します。"},
    {"SeeThrough", 50, 3, false, "sozai2.png", 512, 896, "Player_04_SeeThrough",
     "相手のカードが透けて見えるようになります。\n…手札だけですよ？"},
    {"DummyCard", 100, 5, false, "sozai3.png", 0, 0, "Player_05_DummyCard",
     "ランダムで選ばれた相手の手札1枚を、ダミーカードにしちゃいます。\nこのカードは3ターンの間、相手の手札に残ります。"},
    {"TableBomb", 150, 20, false, "sozai3.png", 0, 128, "Player_06_TableBomb",
     "テーブルに爆弾を投げ込んで、この勝負をなかったことにします。"},
    {"DoubleBet", 150, 10, false, "sozai3.png", 0, 256, "Player_07_DoubleBet",
     "左に見える賭け金を2倍にします。勝ったら2倍ですが、負けても2倍です。"},
    {"DeckPeek", 200, 3, false, "sozai3.png", 0, 384, "Player_08_DeckPeek",
     "山札を5枚だけ覗き見しちゃいます。\n覗けるのは山札だけですからね？"},
}};

constexpr bool IsPlayerAbility(int ability) { return ability >= 0 && ability < kPlayerAbilityCount; }

// The record of an ability, or null for an index outside 0..7.
constexpr const PlayerAbility* FindPlayerAbility(int ability) {
    return IsPlayerAbility(ability) ? &kPlayerAbilities[static_cast<size_t>(ability)] : nullptr;
}

// The menu description in Shift-JIS (converted once, on first use); empty outside 0..7.
const std::string& PlayerAbilityDescription(int ability);

}  // namespace match
