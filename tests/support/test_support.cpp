#include "test_support.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <mutex>
#include <vector>

#include "archive/scramble.h"
#include "graphics/dx_graphic.h"
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

platform::HeadlessPlatform* InstallHeadlessGraphics() {
    platform::HeadlessPlatform* p = InstallHeadless();
    DxGraphic::Instance().Init("bench", 1280, 720, true);
    return p;
}

void PinGlDrivers() {
    static const char* const kLibraries[] = {
        "libEGL_mesa.so.0", "libGLX_mesa.so.0", "libgallium_dri.so",
        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so",
        "/usr/lib/dri/swrast_dri.so",
    };
    for (const char* name : kLibraries) {
        dlopen(name, RTLD_NOW | RTLD_NODELETE);  // absent ones are simply not pinned
    }
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

bool InstallArchive(ArchiveId id, const ArchiveEntries& entries) {
    static DataFiles files;
    const size_t slot = static_cast<size_t>(id);
    if (files.fd[slot] >= 0) {
        close(files.fd[slot]);
        files.fd[slot] = -1;
    }
    const bool scrambled = id == ArchiveId::Animations;
    const std::string path = MakeTempDir() + "/data" + std::to_string(slot) + ".dat";
    std::vector<uint8_t> list;
    auto put32 = [&list](uint32_t v) {
        for (int i = 0; i < 4; ++i) list.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    {
        std::ofstream out(path, std::ios::binary);
        uint32_t offset = 0;
        for (const auto& [name, plain] : entries) {
            std::vector<uint8_t> bytes = plain;
            if (scrambled) {
                for (size_t i = 0; i < bytes.size(); ++i) {
                    bytes[i] = static_cast<uint8_t>(bytes[i] + archive::ScrambleKey(offset + i));
                }
            }
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            list.push_back(static_cast<uint8_t>(name.size()));
            list.insert(list.end(), name.begin(), name.end());
            list.push_back(static_cast<uint8_t>(slot));
            put32(offset);
            put32(static_cast<uint32_t>(bytes.size()));
            offset += static_cast<uint32_t>(bytes.size());
        }
        if (!out) {
            return false;
        }
    }
    files.fd[slot] = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return files.fd[slot] >= 0 && Archive(id).LoadListBytes(&files, list.data(), list.size(), scrambled) == 0;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace testsupport
