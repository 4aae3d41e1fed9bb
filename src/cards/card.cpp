#include "cards/card.h"

#include "core/random.h"

void Deck::resetDeck(bool withJoker) {
    const int n = withJoker ? 53 : 52;
    std::array<bool, kMaxCards> taken{};
    int added = 0;
    while (added < n) {
        const int index = Random::Instance().Range(0, n - 1);
        if (taken[index]) {
            continue;
        }
        taken[index] = true;
        cards_[added++] = Card{index / 4, index % 4};
    }
    front_ = 0;
    count_ = n;
}

Card Deck::drawCard() {
    if (count_ <= 0) {
        return Card{0, 0};
    }
    const Card c = cards_[front_];
    ++front_;
    --count_;
    return c;
}

Card Deck::cardAt(int k) const {
    if (k < 0 || k >= count_) {
        return Card{0, 0};
    }
    return cards_[front_ + k];
}
