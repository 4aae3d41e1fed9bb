#pragma once
#include <cstdint>

#include "core/singleton.h"

// Paces the main loop to 60 passes per second: sleeps in 1 ms steps while much of the frame
// remains and spins for the rest, measuring each frame from the end of the previous wait.
class Timer : public Singleton<Timer> {
public:
    Timer();
    // Blocks until 1/60 s has passed since the previous Wait returned.
    void Wait();
    bool HighResolution() const { return highResolution_; }
    // Selects the millisecond path (16, 17, 17 ms) even where the counter works (tests).
    void UseMillisecondPath();

private:
    bool highResolution_ = false;
    uint64_t frequency_ = 0;
    uint64_t lastFrame_ = 0;
    uint32_t lastFrameMs_ = 0;
    int stepIndex_ = 0;
};
