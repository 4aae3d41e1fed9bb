// libFuzzer entry for the animation file reader: every input is read as a ".bca" file and each
// composition it yields is played for a while on the headless platform.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../animation/anim_fuzz_body.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

namespace {

platform::HeadlessPlatform* Setup() {
    platform::SetDebugSink([](const std::string&) {});
    platform::HeadlessPlatform* p = testsupport::InstallHeadless();
    DxGraphic::Instance().Init("fuzz", 1280, 720, true);
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::HeadlessPlatform* headless = Setup();
    if (!animtest::ExerciseAnimation(data, size)) {
        std::abort();  // a playback cursor left its track
    }
    // Every distinct picture name the input mentions is cached; start each input afresh.
    DxGraphic::Instance().ReleaseAllTextures();
    headless->ClearQuads();
    return 0;
}
