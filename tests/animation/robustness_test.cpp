#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "anim_fixture.h"
#include "anim_fuzz_body.h"

using animtest::AnimTest;
using animtest::ExerciseAnimation;

namespace {

namespace fs = std::filesystem;

// The fuzz seeds and the game's hand-written animation files, next to this source file.
std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    const fs::path root = fs::path(__FILE__).parent_path().parent_path().parent_path();
    for (const fs::path& dir : {root / "tests/fuzz/corpus/animation", root / "assets/anim"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir, ec)) {
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return seeds;
}

std::vector<std::string> SplitLines(const std::string& s) {
    std::vector<std::string> lines;
    std::stringstream in(s);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line + "\n");
    return lines;
}

bool Survives(const std::string& bytes) {
    return ExerciseAnimation(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

// Truncated, garbled and recombined files: reading and playing them never crashes, reads out of
// bounds (the sanitizer build checks) or moves a cursor outside its track.
TEST_F(AnimTest, CorpusOfDamagedFilesIsHandledSafely) {
    platform::SetDebugSink([](const std::string&) {});
    const std::vector<std::string> seeds = Seeds();
    ASSERT_GE(seeds.size(), 2u);
    std::mt19937 rng(1234);
    const std::string specials = "\" \r\n\t-+0123456789.eEx#<>";
    const std::vector<std::string> extremes = {"2147483647", "-2147483648", "99999999999", "1e39", "-1e39",
                                               "0", "-1", "\"", "nan", "0x7FFFFFFF"};
    size_t runs = 0;
    for (const std::string& seed : seeds) {
        // Every truncation point (with a stride for long files).
        const size_t stride = seed.size() / 400 + 1;
        for (size_t n = 0; n <= seed.size(); n += stride) {
            EXPECT_TRUE(Survives(seed.substr(0, n))) << "truncated at " << n;
            ++runs;
        }
        // Random byte changes, insertions and deletions (fewer for the long files).
        const bool small = seed.size() < 4096;
        for (int i = 0; i < (small ? 300 : 40); ++i) {
            std::string s = seed;
            const int edits = 1 + static_cast<int>(rng() % 8);
            for (int e = 0; e < edits && !s.empty(); ++e) {
                const size_t at = rng() % s.size();
                switch (rng() % 4) {
                    case 0: s[at] = static_cast<char>(rng() & 0xFF); break;
                    case 1: s.insert(at, 1, specials[rng() % specials.size()]); break;
                    case 2: s.erase(at, 1 + rng() % 6); break;
                    default: s[at] = specials[rng() % specials.size()]; break;
                }
            }
            EXPECT_TRUE(Survives(s)) << "garbled variant " << i;
            ++runs;
        }
        // Lines shuffled, repeated or dropped; numbers replaced by extreme values.
        const std::vector<std::string> lines = SplitLines(seed);
        for (int i = 0; i < (small ? 100 : 10) && !lines.empty(); ++i) {
            std::string s = lines[0];
            for (size_t k = 1; k < lines.size() + 4; ++k) {
                std::string line = lines[rng() % lines.size()];
                if (rng() % 3 == 0) {
                    std::stringstream words(line);
                    std::string word, rebuilt;
                    while (words >> word) {
                        rebuilt += (rng() % 3 == 0 ? extremes[rng() % extremes.size()] : word) + " ";
                    }
                    line = rebuilt + "\r\n";
                }
                s += line;
            }
            EXPECT_TRUE(Survives(s)) << "recombined variant " << i;
            ++runs;
        }
    }
    // Pathological shapes: no line ends at all, only line ends, a huge single line, only NULs.
    EXPECT_TRUE(Survives(std::string(100000, 'A')));
    EXPECT_TRUE(Survives(std::string(100000, '\n')));
    EXPECT_TRUE(Survives("<SYLKIE_ANIMATION_FILE>\n#COMPOSITION \"" + std::string(100000, ' ')));
    EXPECT_TRUE(Survives(std::string(1000, '\0')));
    EXPECT_GT(runs, 1000u);
    DxGraphic::Instance().ReleaseAllTextures();
}
