#pragma once
#include <string>

// The four lines the title scene shows in its message window after "start": the salon welcomes
// the guest, tells the rules in one breath and invites the guest to sit down.
namespace menu {

inline constexpr int kIntroductionLineCount = 4;

// Introduction line i in Shift-JIS (converted once, on first use); empty outside 0..3.
const std::string& IntroductionLine(int i);

// Host h's name in Shift-JIS (converted once); empty outside 0..4.
const std::string& HostName(int h);

}  // namespace menu
