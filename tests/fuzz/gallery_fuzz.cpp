// libFuzzer entry for the gallery script parser: any bytes parse; no entry is empty or a note,
// and the entries together are never longer than the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scenes/menu/gallery_scripts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    size_t total = 0;
    for (const std::string& entry : menu::ParseGalleryScript(bytes)) {
        if (entry.empty() || entry.front() == '#') {
            std::abort();
        }
        total += entry.size();
        (void)menu::IsGalleryCommand(entry);
    }
    if (total > size) {
        std::abort();
    }
    return 0;
}
