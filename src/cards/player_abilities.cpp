#include "cards/player_abilities.h"

#include "platform/text_encoding.h"

namespace match {

const std::string& PlayerAbilityDescription(int ability) {
    static const std::array<std::string, kPlayerAbilityCount> converted = [] {
        std::array<std::string, kPlayerAbilityCount> out;
        for (int i = 0; i < kPlayerAbilityCount; ++i) {
            out[static_cast<size_t>(i)] = platform::Utf8ToSjis(kPlayerAbilities[static_cast<size_t>(i)].description);
        }
        return out;
    }();
    static const std::string empty;
    return IsPlayerAbility(ability) ? converted[static_cast<size_t>(ability)] : empty;
}

}  // namespace match
