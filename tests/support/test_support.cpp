#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

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

std::string DataDir() { return EnvOr("TARNWICK_TEST_DATA", "tests/data"); }
std::string BuildDir() { return EnvOr("TARNWICK_BUILD_DIR", "."); }

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    std::string path = made != nullptr ? std::string(made) : std::string();
    std::lock_guard<std::mutex> lock(Temps().mutex);
    Temps().paths.emplace_back(path);
    return path;
}

}  // namespace testsupport
