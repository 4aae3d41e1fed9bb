// The Player is updated and drawn every frame: once its sprites have run their animations
// once, those calls must not touch the heap. Counted by replacing the global allocation
// functions of this test program; counting is on only around the per-frame calls.
#include "count_allocations.h"
#include "player_fixture.h"

namespace playertest {
namespace {

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
            perFrame += testsupport::CountAllocations([&] {
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
    EXPECT_GT(testsupport::CountAllocations([&] { probe = new std::vector<int>(100); }), 0);  // the counter works
    delete probe;

    scenario();  // first run: tween queues reach their working size
    scenario();
    EXPECT_EQ(perFrame, 0);
    EXPECT_FALSE(human.isBusy());
    EXPECT_FALSE(opponent.isBusy());
}

}  // namespace
}  // namespace playertest
