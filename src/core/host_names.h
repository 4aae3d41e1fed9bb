#pragma once
#include <array>

// The five hosts of the salon by the number the match, the save file and the records give them,
// in UTF-8. The match and the menus each show them in their own way.
namespace hosts {

inline constexpr int kCount = 5;
inline constexpr std::array<const char*, kCount> kNamesUtf8 = {{
    "ペムラ", "オツェル", "クェンヴァー", "イブレン", "ロスウェス",
}};

}  // namespace hosts
