// Animations are stepped every frame: once a looping composition has run its loop section once,
// its steps (keys, markers, drawing) must not touch the heap. Counted by replacing the global
// allocation functions of this test program; counting is on only around the draws.
#include "anim_fixture.h"
#include "count_allocations.h"

using animtest::AnimTest;
using animtest::Crlf;

TEST_F(AnimTest, SteppingALoopDoesNotAllocateOnceWarm) {
    // Two layers with a key on every track and frame; the picture names alternate between a short
    // and a long one (longer than a string's inline buffer); a sound, a shake and a label inside
    // the loop section.
    std::string text = Crlf({"<SYLKIE_ANIMATION_FILE>", "#COMPOSITION c 1280 720 24 60", "#MARKER 5 LOOP",
                             "#MARKER 8 SOUND se_hit.wav", "#MARKER 9 SHAKE 4 3 10", "#MARKER 10 appear"});
    for (int layer = 1; layer <= 2; ++layer) {
        text += "#LAYER " + std::to_string(layer) + " 1 8 8 23 " + (layer == 1 ? "Image Normal" : "PlaneLayer Add") +
                "\r\n";
        for (int f = 1; f <= 24; ++f) {
            const std::string n = std::to_string(f);
            const std::string picture = layer == 2 ? "0x102030" : f % 2 ? "a.png" : "a_much_longer_picture_name.png";
            text += "#IMAGE " + n + " " + picture + "\r\n";
            text += "#POSITION " + n + " " + std::to_string(100 + f) + " 50 0\r\n";
            text += "#SCALE " + n + " 100 100 100\r\n#ROTATION " + n + " 0 0 " + n + "\r\n";
            text += "#ALPHA " + n + " " + std::to_string(4 * f) + "\r\n";
        }
    }
    SylkieAnimation a;
    LoadText(a, text);
    a.alpha = 0.5f;
    ASSERT_EQ(a.Play("c"), 0);

    long allocations = 0;
    int sounds = 0, labels = 0;
    auto steps = [&](int n) {
        for (int i = 0; i < n; ++i) {
            headless->ClearQuads();
            allocations += testsupport::CountAllocations([&] {
                a.draw(0.0f, 0.0f, 0.0f);
                labels += a.CurrentLabel() == "appear" ? 1 : 0;
            });
            sounds += DxSound::Instance().IsSePlaying("se_hit.wav") ? 1 : 0;
            DxSound::Instance().StopSe("se_hit.wav");
        }
    };
    std::vector<int>* probe = nullptr;
    EXPECT_GT(testsupport::CountAllocations([&] { probe = new std::vector<int>(100); }), 0);  // the counter works
    delete probe;

    steps(24 + 20);  // the whole timeline and one loop pass: caches and buffers reach their size
    allocations = sounds = labels = 0;
    steps(20 * 3);   // three more passes of the loop section (frames 4 to 23)
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(sounds, 3);  // the markers really fired meanwhile
    EXPECT_EQ(labels, 3);
    EXPECT_TRUE(a.playing);
}
