#include "platform/sdl/letterbox.h"

#include <cstdint>

namespace platform::sdl {

Letterbox ComputeLetterbox(int outWidth, int outHeight, int bbWidth, int bbHeight) {
    Letterbox box;
    if (outWidth <= 0 || outHeight <= 0 || bbWidth <= 0 || bbHeight <= 0) {
        return box;
    }
    // Compare outWidth / bbWidth with outHeight / bbHeight without rounding.
    const int64_t wide = int64_t{outWidth} * bbHeight;
    const int64_t tall = int64_t{outHeight} * bbWidth;
    if (wide >= tall) {  // bars left and right (or none)
        box.height = outHeight;
        box.width = static_cast<int>(tall / bbHeight);
    } else {  // bars top and bottom
        box.width = outWidth;
        box.height = static_cast<int>(wide / bbWidth);
    }
    box.x = (outWidth - box.width) / 2;
    box.y = (outHeight - box.height) / 2;
    return box;
}

namespace {
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}
}  // namespace

void OutputToBackBuffer(int outX, int outY, int outWidth, int outHeight, int bbWidth, int bbHeight, int& bbX,
                        int& bbY) {
    const Letterbox box = ComputeLetterbox(outWidth, outHeight, bbWidth, bbHeight);
    if (box.width <= 0 || box.height <= 0) {
        bbX = outX;
        bbY = outY;
        return;
    }
    // The back-buffer pixel under the centre of the output pixel.
    bbX = static_cast<int>(FloorDiv((2 * (int64_t{outX} - box.x) + 1) * bbWidth, 2 * int64_t{box.width}));
    bbY = static_cast<int>(FloorDiv((2 * (int64_t{outY} - box.y) + 1) * bbHeight, 2 * int64_t{box.height}));
}

}  // namespace platform::sdl
