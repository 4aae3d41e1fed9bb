#include "test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace testsupport {
namespace {

struct TempDirs {
    std::mutex mutex;
    std::vector<std::filesystem::path> paths;
    ~TempDirs() {
        for (const auto& p : paths) {
            std::error_code ec;
            std::filesystem::remove_all(p, ec);
        }
    }
};

TempDirs& Temps() {
    static TempDirs temps;
    return temps;
}

std::string EnvOr(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string(fallback);
}

}  // namespace

std::string DataDir() { return EnvOr("TARNWICK_TEST_DATA", TARNWICK_SOURCE_TEST_DATA); }
std::string BuildDir() { return EnvOr("TARNWICK_BUILD_DIR", TARNWICK_BINARY_DIR); }

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    std::string path = made != nullptr ? std::string(made) : std::string();
    std::lock_guard<std::mutex> lock(Temps().mutex);
    Temps().paths.emplace_back(path);
    return path;
}

platform::HeadlessPlatform* InstallHeadless() {
    auto owned = std::make_unique<platform::HeadlessPlatform>();
    platform::HeadlessPlatform* raw = owned.get();
    platform::Install(std::move(owned));
    return raw;
}

platform::HeadlessPlatform* InstallHeadlessWithRenderer() {
    platform::HeadlessPlatform* p = InstallHeadless();
    p->CreateMainWindow("test", 0, 0, 1280, 720, true);
    p->CreateRenderer(1280, 720);
    return p;
}

ScopedChdir::ScopedChdir(const std::string& dir) {
    char buffer[4096];
    if (getcwd(buffer, sizeof(buffer)) != nullptr) {
        previous_ = buffer;
    }
    if (chdir(dir.c_str()) != 0) {
        previous_.clear();
    }
}

ScopedChdir::~ScopedChdir() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
        std::abort();
    }
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace testsupport
