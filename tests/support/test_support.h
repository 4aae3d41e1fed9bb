#pragma once
#include <string>

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

// Writes bytes to a file; false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace testsupport
