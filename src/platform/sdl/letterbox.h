#pragma once

namespace platform::sdl {

// Where a back buffer of bbWidth x bbHeight is shown inside an output of outWidth x outHeight:
// scaled uniformly to fit, centred, the rest left black. Coordinates are top-left based.
struct Letterbox {
    int x = 0, y = 0, width = 0, height = 0;
};
Letterbox ComputeLetterbox(int outWidth, int outHeight, int bbWidth, int bbHeight);
// A point of that output (window pixels, may lie outside) in back-buffer pixels.
void OutputToBackBuffer(int outX, int outY, int outWidth, int outHeight, int bbWidth, int bbHeight, int& bbX,
                        int& bbY);

}  // namespace platform::sdl
