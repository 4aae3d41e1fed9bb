// The Player is updated and drawn every frame: once its sprites have run their animations
// once, those calls must not touch the heap. Counted by replacing the global allocation
// functions of this test program; counting is on only around the per-frame calls.
#include <atomic>
#include <cstdlib>
#include <new>

#include "player_fixture.h"

namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

void* CountedAlloc(std::size_t n) {
    if (g_counting.load(std::memory_order_relaxed)) {
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(n != 0 ? n : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return CountedAlloc(n); }
void* operator new[](std::size_t n) { return CountedAlloc(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace playertest {
namespace {

template <typename F>
long Counted(F&& f) {
    const long before = g_allocations.load();
    g_counting = true;
    f();
    g_counting = false;
    return g_allocations.load() - before;
}

TEST_F(PlayerTest, UpdateAndDrawDoNotAllocateOnceWarm) {
    Player human;
    human.init(true);
    Player opponent;
    opponent.init(false);
    human.setMedals(1000);
    opponent.setMedals(1000);

    long perFrame = 0;
    auto frames = [&](int n) {
        for (int f = 0; f < n; ++f) {
            headless->ClearQuads();
            perFrame += Counted([&] {
                human.update();
                opponent.update();
                human.draw(0, 0, 0);
                opponent.draw(0, 0, 0);
            });
        }
    };
    // One hand: deal, hold and freeze, exchange, see-through, reveal, medals moving.
    auto scenario = [&] {
        perFrame = 0;
        human.resetHandFaces();
        opponent.resetHandFaces();
        for (int i = 0; i < 5; ++i) {
            human.dealCard(i, Card{i, i % 4}, 10 * i);
            opponent.dealCard(i, Card{i + 5, i % 4}, 10 * i + 5);
        }
        frames(70);
        human.hand[1].held = true;
        human.setDummy(3, 2);
        opponent.decideHolds(40);
        human.fadeOutUnheld(40);
        opponent.fadeOutUnheld(40);
        frames(25);
        int next = 0;
        auto producer = [&next] { return Card{next++ % 13, 2}; };
        human.exchangeUnheld(producer);
        opponent.exchangeUnheld(producer);
        opponent.showTranslucentCopies(true);
        frames(40);
        opponent.flipAllFaceUp();
        human.addMedals(250);
        opponent.removeMedals(250);
        frames(80);
        human.clearHoldAndFreeze();
    };
    std::vector<int>* probe = nullptr;
    EXPECT_GT(Counted([&] { probe = new std::vector<int>(100); }), 0);  // the counter works
    delete probe;

    scenario();  // first run: tween queues reach their working size
    scenario();
    EXPECT_EQ(perFrame, 0);
    EXPECT_FALSE(human.isBusy());
    EXPECT_FALSE(opponent.isBusy());
}

}  // namespace
}  // namespace playertest
