// libFuzzer entry for the save reader: the input is written as save.dat and loaded. Each stage
// must be the file's byte (255 past a short file's end); writing the stages back and loading
// again must give the same stages.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/global.h"
#include "test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = testsupport::MakeTempDir();
    Global& g = Global::Instance();
    g.SetSaveFolder(dir);
    const std::string path = dir + "/save.dat";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) {
        std::abort();
    }
    g.Clear();
    g.LoadSave();
    int stages[5];
    for (int i = 0; i < 5; ++i) {
        stages[i] = g.GetStage(i);
        const int want = static_cast<size_t>(i) < size ? data[i] : 255;
        if (stages[i] != want) {
            std::abort();
        }
    }
    if (!g.WriteSave()) {
        std::abort();
    }
    g.Clear();
    g.LoadSave();
    for (int i = 0; i < 5; ++i) {
        if (g.GetStage(i) != stages[i]) {
            std::abort();
        }
    }
    return 0;
}
