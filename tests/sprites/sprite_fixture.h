#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "archive/archive.h"
#include "graphics/dds.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/headless/headless_platform.h"
#include "graphics_test.h"
#include "test_support.h"

namespace spritetest {

// A picture whose pixel (x, y) encodes its position, so uploads can be checked.
inline uint32_t PixelAt(int x, int y) { return 0xFF000000u | (static_cast<uint32_t>(x) << 12) | static_cast<uint32_t>(y); }

// Fills the images archive with a few test pictures, written into one data file:
// "pic300.dds" 300 x 200, "table.dds" 64 x 64, "pow.dds" 128 x 64, "x.dds.png" 16 x 8 and
// "broken.dds" (not a DDS file) and "huge.dds" (a header claiming 16384 x 16384 over 64 bytes).
inline void InstallTestArchive() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
    auto picture = [](int w, int h) {
        std::vector<uint32_t> px(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                px[static_cast<size_t>(y) * w + x] = PixelAt(x, y);
            }
        }
        return dds::EncodeArgb(w, h, px.data());
    };
    entries.emplace_back("pic300.dds", picture(300, 200));
    entries.emplace_back("table.dds", picture(64, 64));
    entries.emplace_back("pow.dds", picture(128, 64));
    entries.emplace_back("x.dds.png", picture(16, 8));
    entries.emplace_back("broken.dds", std::vector<uint8_t>(200, 0x5A));
    std::vector<uint8_t> huge = dds::EncodeArgb(4, 4, std::vector<uint32_t>(16, 0xFF102030u).data());
    for (size_t at : {12u, 16u}) {  // height, width: 16384
        huge[at] = 0x00;
        huge[at + 1] = 0x40;
    }
    entries.emplace_back("huge.dds", huge);

    ASSERT_TRUE(testsupport::InstallArchive(ArchiveId::Images, entries));
}

// The graphics test set-up with the test pictures in the images archive.
class SpriteTest : public testsupport::GraphicsTest {
protected:
    void SetUp() override {
        InstallTestArchive();
        testsupport::GraphicsTest::SetUp();
        gfx().SetBlendMode(1);
    }
    const std::vector<platform::HeadlessPlatform::DrawnQuad>& quads() const { return headless->Quads(); }
};

}  // namespace spritetest
