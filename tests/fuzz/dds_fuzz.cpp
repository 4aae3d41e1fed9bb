// libFuzzer entry for the DDS reader: any input is decoded; a picture that decodes must agree
// with the size the header gives, and encoding it again must decode to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "graphics/dds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int pw = 0, ph = 0;
    const bool peeked = dds::PeekSize(data, size, pw, ph);
    dds::Image image;
    std::string error;
    if (!dds::Decode(data, size, image, error)) {
        if (error.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    if (!peeked || image.width != pw || image.height != ph ||
        image.argb.size() != static_cast<size_t>(pw) * static_cast<size_t>(ph)) {
        std::abort();
    }
    const std::vector<uint8_t> again = dds::EncodeArgb(image.width, image.height, image.argb.data());
    dds::Image back;
    if (!dds::Decode(again.data(), again.size(), back, error) || back.argb != image.argb) {
        std::abort();
    }
    return 0;
}
