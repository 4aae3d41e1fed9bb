// Checks an F2 screenshot of the game against the picture one stage of play must show.
//
//     shot_check FILE STAGE      exit 0 when the stage's sampled pixels match (else prints why)
//     shot_check FILE x,y ...    prints the RGB of each point
//
// Each stage names a few pixels of widgets that must be on screen, with their colour and a
// tolerance per channel, taken from the OpenGL renderer at 1280x720. No stage may show the clear
// colour (100, 100, 100) at more than 1 % of a grid of sampled points.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sample {
    int x, y;
    int r, g, b;
    int tolerance;
};
struct Stage {
    const char* name;
    std::vector<Sample> samples;
};

const std::vector<Stage>& Stages() {
    static const std::vector<Stage> stages = {
        // The logo's crescent on black.
        {"logo", {{560, 300, 245, 219, 158, 40}, {100, 100, 0, 0, 0, 12}, {1200, 650, 0, 0, 0, 12}}},
        // The title menu: the "start" and "end" plates, the moon, the night sky.
        {"menu", {{1051, 544, 163, 132, 81, 30}, {1028, 605, 163, 132, 81, 30}, {922, 144, 254, 250, 244, 30},
                  {60, 40, 15, 25, 57, 25}}},
        // The host pick: the caption plate, the first and the last panel at rest.
        // (Lantern glows drift over the panels: wide tolerances there.)
        {"pick", {{640, 60, 58, 10, 26, 25}, {180, 250, 30, 26, 38, 60}, {1100, 250, 244, 219, 201, 60}}},
        // The introduction: the message window over the pick.
        {"intro", {{640, 60, 58, 10, 26, 25}, {360, 560, 31, 38, 74, 25}, {640, 690, 18, 23, 47, 25}}},
    };
    return stages;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: shot_check FILE STAGE | shot_check FILE x,y ...\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::printf("shot_check: cannot read %s\n", argv[1]);
        return 1;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        std::printf("shot_check: cannot decode %s\n", argv[1]);
        return 1;
    }
    const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    auto at = [&](int x, int y, int c) { return static_cast<int>(rgb[(static_cast<size_t>(y) * w + x) * 3 + c]); };

    if (std::strchr(argv[2], ',') != nullptr) {
        for (int i = 2; i < argc; ++i) {
            int x = 0, y = 0;
            if (std::sscanf(argv[i], "%d,%d", &x, &y) == 2 && x >= 0 && y >= 0 && x < w && y < h) {
                std::printf("%d %d %d %d %d\n", x, y, at(x, y, 0), at(x, y, 1), at(x, y, 2));
            }
        }
        return 0;
    }
    const Stage* stage = nullptr;
    for (const Stage& s : Stages()) {
        if (std::strcmp(s.name, argv[2]) == 0) stage = &s;
    }
    if (stage == nullptr) {
        std::printf("shot_check: no stage %s\n", argv[2]);
        return 2;
    }
    if (w != 1280 || h != 720) {
        std::printf("shot_check: %s is %dx%d\n", argv[1], w, h);
        return 1;
    }
    bool ok = true;
    int clear = 0, points = 0;
    for (int y = 0; y < h; y += 8) {
        for (int x = 0; x < w; x += 8) {
            ++points;
            clear += at(x, y, 0) == 100 && at(x, y, 1) == 100 && at(x, y, 2) == 100;
        }
    }
    if (clear * 100 > points) {
        std::printf("shot_check: %s: the clear colour shows at %d of %d points\n", stage->name, clear, points);
        ok = false;
    }
    for (const Sample& s : stage->samples) {
        const int r = at(s.x, s.y, 0), g = at(s.x, s.y, 1), b = at(s.x, s.y, 2);
        if (std::abs(r - s.r) > s.tolerance || std::abs(g - s.g) > s.tolerance || std::abs(b - s.b) > s.tolerance) {
            std::printf("shot_check: %s: (%d, %d) is %d %d %d, expected %d %d %d +-%d\n", stage->name, s.x, s.y, r, g,
                        b, s.r, s.g, s.b, s.tolerance);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
