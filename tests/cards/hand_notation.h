#pragma once
#include <array>
#include <sstream>
#include <stdexcept>
#include <string>

#include "cards/hand.h"

// Compact hand notation for the tests: five space-separated tokens.
//   <value><suit>  value A 2 3 4 5 6 7 8 9 T J Q K, suit digit 0..3   e.g. "A0", "T3"
//   X              the joker (13, 0)
//   D              a dummy slot: card (-100, -100) with the dummy flag
namespace cardtest {

inline Card parseCard(const std::string& t) {
    if (t == "X") return kJokerCard;
    if (t.size() != 2 || t[1] < '0' || t[1] > '3') throw std::invalid_argument("bad card " + t);
    static const std::string kValues = "A23456789TJQK";
    const auto v = kValues.find(t[0]);
    if (v == std::string::npos) throw std::invalid_argument("bad card " + t);
    return Card{static_cast<int>(v), t[1] - '0'};
}

inline Hand parseHand(const std::string& text) {
    std::istringstream in(text);
    Hand hand{};
    std::string t;
    int i = 0;
    while (in >> t) {
        if (i >= 5) throw std::invalid_argument("more than five cards: " + text);
        hand[i++] = t == "D" ? HandCard{kDummyCard, true} : HandCard{parseCard(t), false};
    }
    if (i != 5) throw std::invalid_argument("fewer than five cards: " + text);
    return hand;
}

inline HandResult rank(const std::string& text) { return evaluateHand(parseHand(text)); }

}  // namespace cardtest
