#include <gtest/gtest.h>

#include <vector>

#include "widgets/image.h"

namespace {

// Runs updateTweens n times and records the property after each frame.
std::vector<float> RunFrames(Image& img, int index, int frames) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i) {
        img.updateTweens();
        out.push_back(*img.property(index));
    }
    return out;
}

TEST(Tween, LinearAlphaShowsStartFirstAndLandsOnTheFrameAfter) {
    Image img;
    img.alpha = 0.0f;
    img.tween(1.0f, 15, 1, 20, 0);
    const std::vector<float> a = RunFrames(img, 15, 22);
    for (int f = 0; f < 20; ++f) {
        EXPECT_NEAR(a[f], 0.05f * f, 1e-6f) << "frame " << f + 1;
    }
    EXPECT_EQ(a[20], 1.0f);
    EXPECT_EQ(a[21], 1.0f);
    EXPECT_FALSE(img.tweening());
}

TEST(Tween, StepsOnOnePropertyQueueAndOtherPropertiesRunAlongside) {
    Image img;
    img.position.x = 0.0f;
    img.tween(10.0f, 0, 1, 2, 0);   // x: 0 -> 10 in 2 frames
    img.tween(20.0f, 0, 1, 2, 3);   // then 3 frames of wait, then 10 -> 20 in 2 frames
    img.tween(4.0f, 1, 1, 4, 0);    // y: 0 -> 4 in 4 frames, meanwhile
    std::vector<float> xs, ys;
    for (int i = 0; i < 9; ++i) {
        img.updateTweens();
        xs.push_back(img.position.x);
        ys.push_back(img.position.y);
    }
    // Frame 3 lands the first step; the second's delay counts from there (frames 3, 4, 5), it
    // starts in frame 6 from 10 and lands in frame 8.
    const std::vector<float> wantX = {0, 5, 10, 10, 10, 10, 15, 20, 20};
    const std::vector<float> wantY = {0, 1, 2, 3, 4, 4, 4, 4, 4};
    EXPECT_EQ(xs, wantX);
    EXPECT_EQ(ys, wantY);

    // The start is captured when a delayed step begins, not when it was queued.
    Image late;
    late.tween(10.0f, 2, 1, 2, 1);
    late.position.z = 6.0f;
    const std::vector<float> z = RunFrames(late, 2, 4);
    EXPECT_EQ(z, (std::vector<float>{6, 6, 8, 10}));
}

TEST(Tween, EasingCurves) {
    Image img;
    img.position.y = 100.0f;
    img.tween(20.0f, 1, 5, 10, 0);  // arc of amplitude 20
    const std::vector<float> y = RunFrames(img, 1, 11);
    EXPECT_FLOAT_EQ(y[0], 100.0f);
    EXPECT_FLOAT_EQ(y[5], 120.0f);  // t = 5: the peak
    EXPECT_FLOAT_EQ(y[4], 100.0f + 20.0f * (1.0f - 4.0f / 100.0f));
    EXPECT_FLOAT_EQ(y[10], 100.0f);  // back where it started

    // Quadratic in, out and in-out from 0 to 100 over 10 frames, at t = 3 and t = 7.
    struct Case { int easing; float at3; float at7; };
    const Case cases[] = {{2, 9.0f, 49.0f}, {3, 51.0f, 91.0f}, {4, 18.0f, 82.0f}};
    for (const Case& c : cases) {
        Image e;
        e.alpha = 0.0f;
        e.tween(100.0f, 15, c.easing, 10, 0);
        const std::vector<float> a = RunFrames(e, 15, 11);
        EXPECT_NEAR(a[3], c.at3, 1e-4f) << "easing " << c.easing;
        EXPECT_NEAR(a[7], c.at7, 1e-4f) << "easing " << c.easing;
        EXPECT_FLOAT_EQ(a[10], 100.0f);
    }

    // Easing 0 (and unknown numbers) wait, then jump to the target.
    Image w;
    w.red = 0.25f;
    w.tween(0.75f, 16, 0, 3, 0);
    w.tween(0.5f, 16, 9, 1, 0);
    EXPECT_EQ(RunFrames(w, 16, 5), (std::vector<float>{0.25f, 0.25f, 0.25f, 0.75f, 0.5f}));
}

TEST(Tween, ZeroDurationLandsAtOnceAndUnknownIndicesAreIgnored) {
    Image img;
    img.scale.x = 1.0f;
    img.rotation.z = 30.0f;
    img.tween(3.0f, 3, 1, 0, 0);
    img.tween(50.0f, 11, 5, 0, 0);  // an arc of no length stays where it starts
    img.tween(2.0f, 3, 1, 0, 0);    // and the next zero-length step runs in the same frame
    img.updateTweens();
    EXPECT_EQ(img.scale.x, 2.0f);
    EXPECT_EQ(img.rotation.z, 30.0f);
    EXPECT_FALSE(img.tweening());

    EXPECT_EQ(img.property(19), nullptr);
    EXPECT_EQ(img.property(-1), nullptr);
    EXPECT_EQ(img.property(15), &img.alpha);
    EXPECT_EQ(img.property(18), &img.blue);
    EXPECT_EQ(img.property(12), &img.rotationPivot.x);
    img.tween(1.0f, 19, 1, 5, 0);
    img.tween(1.0f, -3, 1, 5, 0);
    img.tweenGroup(6, 1, 1, 1, 1, 5, 0);
    img.tweenGroup(-1, 1, 1, 1, 1, 5, 0);
    EXPECT_FALSE(img.tweening());

    // Group 5 is the colour without alpha.
    img.tweenGroup(5, 1, 0.0f, 0.5f, 0.25f, 0, 0);
    EXPECT_TRUE(img.tweens[15].empty());
    img.updateTweens();
    EXPECT_EQ(img.red, 0.0f);
    EXPECT_EQ(img.green, 0.5f);
    EXPECT_EQ(img.blue, 0.25f);
    EXPECT_EQ(img.alpha, 1.0f);
}

TEST(Image, HitTestUsesTruncatedPositionAndDrawnSize) {
    Image img;
    img.useSourceRect = true;
    img.sourceRect = {10, 20, 90, 140};
    img.position = {100.7f, 50.2f, 0.0f};
    EXPECT_TRUE(img.contains(100, 50));
    EXPECT_TRUE(img.contains(179, 169));
    EXPECT_FALSE(img.contains(180, 50));
    EXPECT_FALSE(img.contains(99, 50));
    EXPECT_FALSE(img.contains(100, 170));
    // Without a source rectangle the texture size counts; negative positions truncate to zero.
    img.useSourceRect = false;
    img.textureWidth = 10;
    img.textureHeight = 10;
    img.position = {-0.9f, -0.9f, 0.0f};
    EXPECT_TRUE(img.contains(0, 0));
    EXPECT_TRUE(img.contains(9, 9));
    EXPECT_FALSE(img.contains(-1, 0));
    img.position.x = 3e38f;
    EXPECT_FALSE(img.contains(0, 0));
}

// Records the offsets it is drawn at.
struct Probe : DrawBase {
    explicit Probe(std::vector<std::pair<Probe*, Vec3>>* log) : log(log) {}
    void draw(float dx, float dy, float dz) override { log->push_back({this, {dx, dy, dz}}); }
    std::vector<std::pair<Probe*, Vec3>>* log;
};

TEST(DrawTree, AddChildFindsParentsDepthFirstAndDrawsWithOffsets) {
    std::vector<std::pair<Probe*, DrawBase::Vec3>> log;
    Probe root(&log), a(&log), b(&log), a1(&log), b1(&log), stray(&log), other(&log);
    root.position = {100, 10, 1};
    a.position = {5, 5, 0};
    b.position = {7, 0, 0};
    a1.position = {1, 2, 3};
    root.addChild(&a, nullptr);
    root.addChild(&b, &root);
    root.addChild(&a1, &a);
    root.addChild(&b1, &b);
    root.addChild(&stray, &other);  // parent not in the tree: nothing
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(a.children, std::vector<DrawBase*>{&a1});
    EXPECT_EQ(b.children, std::vector<DrawBase*>{&b1});
    EXPECT_TRUE(other.children.empty());

    // A node cannot be hung below itself (that would never finish drawing).
    root.addChild(&root, &a1);
    a1.addChild(&a1, nullptr);
    EXPECT_TRUE(a1.children.empty());

    drawTree(&root, 1, 1, 1);
    ASSERT_EQ(log.size(), 5u);
    const Probe* order[] = {&root, &a, &a1, &b, &b1};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(log[i].first, order[i]) << i;
    }
    EXPECT_EQ(log[0].second.x, 1.0f);
    EXPECT_EQ(log[1].second.x, 101.0f);
    EXPECT_EQ(log[2].second.x, 106.0f);
    EXPECT_EQ(log[2].second.y, 16.0f);
    EXPECT_EQ(log[4].second.x, 108.0f);
    EXPECT_EQ(log[4].second.z, 2.0f);

    log.clear();
    std::vector<DrawBase*> list = {&b1, &a};
    drawAll(list, 3, 0, 0);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].first, &b1);
    EXPECT_EQ(log[0].second.x, 3.0f);
    EXPECT_EQ(log[2].first, &a1);
    EXPECT_EQ(log[2].second.x, 8.0f);
}

}  // namespace
