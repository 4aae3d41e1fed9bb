#pragma once
#include <string>

// What the five hosts say during a match, and how their abilities are named in the opponent
// panel. Opponents are numbered 0 Pemra, 1 Otsel, 2 Quenvar, 3 Iblen, 4 Rosweth; abilities in the
// order of the opponent ability table (0 is the rare one whose layer carries "_04_"). Every text
// is Shift-JIS, converted from the UTF-8 sources on first use; an index outside its table gives an
// empty string.
namespace match {

inline constexpr int kOpponentCount = 5;
inline constexpr int kOpponentAbilityCount = 4;
// Alternatives per (opponent, win count); win counts run 0..3.
inline constexpr int kStoryAlternatives = 4;
inline constexpr int kStoryWinCounts = 4;
inline constexpr int kStoryLineCount = 80;
inline constexpr int kAbilityCommentCount = 20;

// Story line for the message window. winCount 0: greeting before the first hand; 1: the host has
// just lost all medals and promises a story; 2 and 3: the story goes on, 3 leading into the
// host's closing scene. r picks one of four alternatives. Entry opponent * 16 + winCount * 4 + r.
const std::string& StoryLine(int opponent, int winCount, int r);

// The host's reaction when using an ability (comment plate, entry opponent * 4 + ability).
const std::string& AbilityComment(int opponent, int ability);

// Short display name of an opponent ability, shown beside its icon (at most 8 full-width
// characters), and one line explaining its effect for the panel's hover.
const std::string& OpponentAbilityLabel(int opponent, int ability);
const std::string& OpponentAbilityHelp(int opponent, int ability);

// The host's name as the game shows it.
const std::string& OpponentName(int opponent);

}  // namespace match
