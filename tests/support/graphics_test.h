#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/headless/headless_platform.h"

namespace testsupport {

// A fresh headless platform with DxGraphic brought up on a 1280 x 720 renderer, the debug lines
// captured, and everything released again afterwards.
class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto p = std::make_unique<platform::HeadlessPlatform>();
        headless = p.get();
        platform::Install(std::move(p));
        ASSERT_EQ(gfx().Init("test", 1280, 720, true), 0);
        platform::SetDebugSink([this](const std::string& line) { debugLines.push_back(line); });
    }
    void TearDown() override {
        gfx().ReleaseAllTextures();
        gfx().ReleaseAllCanvases();
        platform::SetDebugSink({});
        gfx().Shutdown();
        platform::Install(nullptr);
    }
    static DxGraphic& gfx() { return DxGraphic::Instance(); }
    // True when a captured debug line contains the (UTF-8) fragment.
    bool logged(const std::string& utf8Fragment) const {
        for (const std::string& l : debugLines) {
            if (l.find(utf8Fragment) != std::string::npos) return true;
        }
        return false;
    }

    platform::HeadlessPlatform* headless = nullptr;
    std::vector<std::string> debugLines;
};

}  // namespace testsupport
