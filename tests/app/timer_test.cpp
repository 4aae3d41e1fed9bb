#include <gtest/gtest.h>

#include <vector>

#include "app/timer.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

TEST(TimerTest, WaitReturnsEverySixtiethWithoutDrift) {
    platform::HeadlessPlatform* h = testsupport::InstallHeadless();
    h->sleepOvershootNs = 80000;  // every 1 ms sleep takes 1.08 ms
    Timer timer;
    timer.Wait();  // first call returns at once
    const uint64_t start = h->ClockNs();
    std::vector<uint64_t> ends;
    for (int i = 0; i < 600; ++i) {
        h->AdvanceClockMs(3.0);  // the frame's own work
        timer.Wait();
        ends.push_back(h->ClockNs());
    }
    // Each wait ends at least 1/60 s after the previous one and overshoots only by the last sleep
    // step or spin granularity.
    uint64_t previous = start;
    for (uint64_t e : ends) {
        const double ms = static_cast<double>(e - previous) / 1e6;
        EXPECT_GE(ms, 1000.0 / 60.0 - 1e-6);
        EXPECT_LT(ms, 1000.0 / 60.0 + 1.1);
        previous = e;
    }
    // Spinning covers the last stretch: no sleep starts after 15 ms of the frame.
    const double mean = static_cast<double>(ends.back() - start) / 600.0 / 1e6;
    EXPECT_NEAR(mean, 1000.0 / 60.0, 0.6);
}

TEST(TimerTest, LongPassMakesNextWaitReturnAtOnce) {
    platform::HeadlessPlatform* h = testsupport::InstallHeadless();
    Timer timer;
    timer.Wait();
    h->AdvanceClockMs(40.0);
    const int sleeps = h->SleepCalls();
    const uint64_t before = h->ClockNs();
    timer.Wait();
    EXPECT_EQ(h->SleepCalls(), sleeps);
    EXPECT_LT(h->ClockNs() - before, 10000u);  // no catching up either
    const uint64_t after = h->ClockNs();
    timer.Wait();  // the next frame counts from the end of the previous wait
    EXPECT_GE(h->ClockNs() - after, 16666666u);
}

TEST(TimerTest, MillisecondPathSteps16_17_17) {
    platform::HeadlessPlatform* h = testsupport::InstallHeadless();
    h->noPerformanceCounter = true;
    Timer timer;
    EXPECT_FALSE(timer.HighResolution());
    timer.Wait();
    std::vector<uint32_t> steps;
    uint32_t previous = h->Milliseconds();
    for (int i = 0; i < 6; ++i) {
        timer.Wait();
        steps.push_back(h->Milliseconds() - previous);
        previous = h->Milliseconds();
    }
    // The first Wait used step 16 (returning at once), so the following follow 17, 17, 16, ...
    const std::vector<uint32_t> expected = {17, 17, 16, 17, 17, 16};
    EXPECT_EQ(steps, expected);
}
