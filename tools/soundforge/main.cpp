// soundforge: synthesises every sound of the game.
//   soundforge --music DIR --se DIR --wav DIR [--only NAME] [--threads N]
// Music goes to DIR/music as Ogg Vorbis, effects (and the title jingle) as WAV to the effect
// folder, voice clips as WAV to the wav folder. --only renders the one named file.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "audio_io.h"
#include "effects.h"
#include "songs.h"

namespace {

constexpr float kMusicQuality = 0.35f;

struct Job {
    std::string name;
    std::function<bool()> run;
};

void FlushDenormals() {
#if defined(__SSE2__)
    // Reverb and filter tails decay into denormal numbers, which are very slow on x86.
    _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
}

int Usage() {
    std::fprintf(stderr, "usage: soundforge --music DIR --se DIR --wav DIR [--only NAME] [--threads N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string musicDir, seDir, wavDir, only;
    unsigned threads = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return Usage();
        const std::string v = argv[++i];
        if (a == "--music") musicDir = v;
        else if (a == "--se") seDir = v;
        else if (a == "--wav") wavDir = v;
        else if (a == "--only") only = v;
        else if (a == "--threads") threads = static_cast<unsigned>(std::max(1, std::atoi(v.c_str())));
        else return Usage();
    }
    if (musicDir.empty() || seDir.empty() || wavDir.empty()) return Usage();
    for (const auto& d : {musicDir, seDir, wavDir}) {
        std::error_code ec;
        std::filesystem::create_directories(d, ec);
        if (ec) {
            std::fprintf(stderr, "soundforge: cannot create %s: %s\n", d.c_str(), ec.message().c_str());
            return 1;
        }
        // A run that was killed may have left half-written files behind; the packer must not
        // pick them up.
        for (const auto& e : std::filesystem::directory_iterator(d, ec)) {
            if (e.path().extension() == ".tmp") std::filesystem::remove(e.path(), ec);
        }
    }

    std::vector<Job> jobs;
    auto music = [&](const char* name, sf::Stereo (*fn)()) {
        const std::string path = musicDir + "/" + name;
        jobs.push_back({name, [path, fn, name]() {
                            return sf::WriteOgg(path, fn(), kMusicQuality, static_cast<int>(sf::HashString(name) & 0x7FFFFFFF));
                        }});
    };
    // Longest first, so that two threads finish at about the same time.
    music("bgm_game.ogg", sf::SongGame);
    music("bgm_menu.ogg", sf::SongMenu);
    music("bgm_cg.ogg", sf::SongGallery);
    music("bgm_credit.ogg", sf::SongCredits);
    jobs.push_back({"menu_title.wav", [&]() { return sf::WriteWav(seDir + "/menu_title.wav", sf::TitleJingle()); }});
    for (const auto& e : sf::EffectList()) {
        const std::string name = e.name;
        jobs.push_back({name, [&, name]() { return sf::WriteWav(seDir + "/" + name, sf::RenderEffect(name)); }});
    }
    for (const auto& name : sf::VoiceList()) {
        jobs.push_back({name, [&, name]() { return sf::WriteWav(wavDir + "/" + name, sf::RenderVoice(name)); }});
    }
    if (!only.empty()) {
        std::vector<Job> picked;
        for (auto& j : jobs) {
            if (j.name == only) picked.push_back(j);
        }
        if (picked.empty()) {
            std::fprintf(stderr, "soundforge: no sound named %s\n", only.c_str());
            return 1;
        }
        jobs = picked;
    }

    const auto t0 = std::chrono::steady_clock::now();
    std::atomic<size_t> next{0};
    std::atomic<int> failures{0};
    auto worker = [&]() {
        FlushDenormals();
        for (;;) {
            const size_t k = next.fetch_add(1);
            if (k >= jobs.size()) return;
            const auto s = std::chrono::steady_clock::now();
            const bool ok = jobs[k].run();
            const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - s).count();
            if (!ok) {
                ++failures;
                std::fprintf(stderr, "soundforge: failed: %s\n", jobs[k].name.c_str());
            } else if (secs > 0.5) {
                std::printf("soundforge: %s (%.1f s)\n", jobs[k].name.c_str(), secs);
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < std::min<unsigned>(threads, static_cast<unsigned>(jobs.size())); ++t) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("soundforge: %zu files in %.1f s\n", jobs.size(), total);
    return failures == 0 ? 0 : 1;
}
