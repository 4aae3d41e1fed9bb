#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/archive.h"

namespace platform {
class HeadlessPlatform;
}

// Helpers shared by the test programs.
namespace testsupport {

// Folder of checked-in test data (tests/data).
std::string DataDir();
// The build folder (where data/ and the generated assets are).
std::string BuildDir();
// A fresh empty temporary folder, removed when the process ends.
std::string MakeTempDir();

// Installs a fresh headless platform and returns it (owned by the platform slot).
platform::HeadlessPlatform* InstallHeadless();
// Installs a headless platform with a 1280x720 window and renderer already created.
platform::HeadlessPlatform* InstallHeadlessWithRenderer();

// Installs a headless platform and brings DxGraphic up on it (1280 x 720), for benchmarks.
platform::HeadlessPlatform* InstallHeadlessGraphics();

// Keeps the Mesa driver libraries loaded for the whole run, so leaks inside them stay attributed
// to them (and suppressed) after the last GL window goes.
void PinGlDrivers();

// Changes the working directory for the life of the object.
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

private:
    std::string previous_;
};

// Fills one of the four global archive indices with the given entries, stored back to back in a
// data file of its own (kept open for the rest of the process; a second call for the same index
// replaces the first). The animation index is scrambled the way the packer does it, so reading
// goes through the descrambling. False when the file could not be written or the list not loaded.
using ArchiveEntries = std::vector<std::pair<std::string, std::vector<uint8_t>>>;
bool InstallArchive(ArchiveId id, const ArchiveEntries& entries);

// Writes bytes to a file; false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace testsupport
