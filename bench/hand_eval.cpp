// Throughput of evaluateHand over many random hands dealt from shuffled decks with the joker,
// with an occasional dummy card planted as the abilities do.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/random.h"
#include "cards/hand.h"

namespace {

std::vector<Hand> dealHands(int count, int dummyEvery) {
    Random::Instance().Seed(7);
    std::vector<Hand> hands(static_cast<size_t>(count));
    Deck deck;
    for (int h = 0; h < count; ++h) {
        if (deck.remainingCards() < 5) deck.resetDeck(true);
        for (int i = 0; i < 5; ++i) hands[h][i] = HandCard{deck.drawCard(), false};
        if (dummyEvery > 0 && h % dummyEvery == 0) {
            hands[h][Random::Instance().Range(0, 4)] = HandCard{kDummyCard, true};
        }
    }
    return hands;
}

void evaluate(benchmark::State& state, int dummyEvery) {
    const std::vector<Hand> hands = dealHands(1 << 16, dummyEvery);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluateHand(hands[i]));
        i = (i + 1) & (hands.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateHand(benchmark::State& state) { evaluate(state, 0); }
void BM_EvaluateHandWithDummies(benchmark::State& state) { evaluate(state, 4); }

}  // namespace

BENCHMARK(BM_EvaluateHand);
BENCHMARK(BM_EvaluateHandWithDummies);
BENCHMARK_MAIN();
