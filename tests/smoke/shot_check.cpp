// Checks an F2 screenshot of the game against the picture one stage of play must show.
//
//     shot_check FILE STAGE      exit 0 when the stage's sampled pixels match (else prints why)
//     shot_check FILE x,y ...    prints the RGB of each point
//
// Each stage names a few pixels of widgets that must be on screen, with their colour and a
// tolerance per channel, taken from the OpenGL renderer at 1280x720. The F2 screenshots of the
// real window (title_e2e.sh) and sceneshot's pictures (tests/screens) are checked alike. No stage
// may show the clear colour (100, 100, 100) at more than 1 % of a grid of sampled points.
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
        // The credits' harbour at dusk: the sky, the clock face, the water.
        {"credits", {{640, 40, 77, 88, 123, 25}, {380, 197, 176, 161, 123, 30}, {640, 600, 104, 115, 140, 30}}},

        // --- The match against Pemra (tests/screens/match_*.shot) ---
        // The first story line: the message window over the table, the host standing, no deck yet.
        {"match_story", {{500, 650, 19, 29, 58, 20}, {700, 690, 17, 29, 49, 20}, {540, 430, 40, 114, 76, 20},
                         {900, 230, 252, 234, 224, 30}, {320, 300, 41, 109, 73, 20}}},
        // The roulette: the deck's back on the table, no message window, no card dealt.
        {"match_roulette", {{320, 300, 84, 78, 74, 25}, {700, 690, 32, 53, 43, 20}, {900, 230, 252, 234, 224, 30},
                            {60, 470, 27, 80, 54, 20}}},
        // The deal: the player's first card has landed face up, the deck still there.
        {"match_deal", {{60, 470, 248, 241, 223, 25}, {45, 455, 250, 243, 227, 25}, {320, 300, 84, 78, 74, 25}}},
        // Any turn's choice, whatever the cards: the deck, the Draw and Showdown buttons.
        {"match_table", {{320, 300, 84, 78, 74, 25}, {40, 650, 250, 222, 159, 30}, {150, 650, 250, 222, 159, 30},
                         {210, 680, 174, 126, 47, 35}}},
        // A question over the table (showdown or double-up): the panel and its No button.
        {"match_question", {{400, 407, 154, 31, 42, 30}, {300, 300, 16, 24, 48, 20}, {100, 260, 32, 49, 79, 20}}},
        // The showdown's banner, one stage per result.
        {"match_banner_win", {{200, 300, 188, 147, 68, 35}, {300, 310, 106, 80, 46, 35}}},
        {"match_banner_tie", {{200, 300, 158, 140, 131, 30}, {150, 320, 154, 137, 126, 30}}},
        {"match_banner_lose", {{200, 300, 65, 73, 96, 25}, {250, 320, 14, 23, 48, 25}}},
        // The player's choice: HOLD tags under the first two cards, the Showdown button.
        {"match_choice", {{60, 530, 234, 179, 83, 30}, {170, 530, 234, 179, 83, 30}, {183, 663, 162, 123, 51, 30}}},
        // The showdown: both hand-name plates and the win banner over the table.
        {"match_showdown", {{328, 488, 76, 76, 115, 30}, {200, 193, 87, 91, 107, 30}, {200, 290, 111, 95, 38, 35},
                            {395, 340, 99, 99, 45, 35}}},
        // The double-up: the panel's header, card A face up, card B face down, High and Low.
        {"match_double_up", {{500, 200, 113, 32, 62, 25}, {340, 250, 249, 242, 226, 20}, {555, 340, 15, 25, 51, 25},
                             {400, 495, 241, 189, 81, 30}, {620, 495, 222, 177, 81, 30}}},
        // The double-up won: card B face up, the win banner, Low gone.
        {"match_double_up_won", {{555, 340, 242, 231, 206, 20}, {330, 345, 107, 63, 16, 35}, {620, 495, 38, 108, 72, 25}}},
        // The stake paid: both cards face up, the banner gone, the panel waiting for the click.
        {"match_double_up_paid", {{555, 340, 242, 231, 206, 20}, {330, 345, 241, 231, 205, 20}, {500, 200, 113, 32, 62, 25}}},
        // Pemra's Freeze Gust at "appear": the player's cards white with frost, her comment plate.
        {"match_opponent_appear", {{60, 530, 249, 253, 255, 20}, {170, 530, 255, 255, 255, 20}, {900, 560, 104, 83, 118, 35}}},
        // The ability menu: its window, the close button, the cards still held below.
        {"match_ability_menu", {{700, 650, 15, 25, 41, 20}, {900, 560, 50, 61, 92, 25}, {1235, 395, 247, 213, 137, 35},
                                {60, 530, 243, 234, 210, 25}}},
        // See Through at "appear": the eye over the opponent's row, its caption band.
        {"match_player_appear", {{331, 140, 255, 255, 255, 25}, {331, 154, 75, 140, 192, 40}, {250, 400, 16, 35, 51, 25}}},

        // --- Menus (tests/screens/*.shot) ---
        // The quick match's pick with Otsel's glow lit around her picture.
        {"host_select", {{244, 120, 144, 79, 155, 35}, {440, 344, 92, 83, 168, 35}, {60, 560, 117, 69, 140, 35}}},
        // The gallery, every column open, the cursor frame around Pemra's first illustration.
        {"gallery", {{302, 272, 124, 104, 91, 30}, {410, 210, 125, 103, 93, 30}, {517, 272, 124, 104, 91, 30},
                     {640, 100, 231, 194, 174, 30}}},
        // The viewer: one illustration (the table and the cards in front), the story window over
        // the same picture, the standing pictures on the stage.
        {"view_cg0", {{300, 620, 223, 218, 205, 25}, {640, 660, 22, 68, 46, 20}, {640, 200, 109, 85, 44, 25}}},
        {"view_cg3", {{300, 620, 56, 64, 88, 25}, {500, 680, 18, 27, 57, 20}, {640, 200, 109, 85, 44, 25}}},
        {"view_cg4", {{640, 200, 252, 235, 226, 25}, {640, 600, 244, 248, 255, 20}, {1000, 520, 22, 6, 20, 20}}},
        // The advertisement: the moon and the night over the harbour.
        {"advert", {{928, 138, 255, 255, 255, 20}, {640, 40, 13, 20, 47, 20}, {640, 500, 19, 30, 65, 20}}},
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
