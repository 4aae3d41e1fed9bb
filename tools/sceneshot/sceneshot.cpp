// sceneshot: plays a script against the game on the real OpenGL backend and writes screenshots.
//
//     cd build && SDL_VIDEODRIVER=offscreen tools/sceneshot/sceneshot OUT_DIR < script
//
// Script lines (# starts a comment):
//     scene ID            start at this scene (before the first frames line; default the title)
//     set KEY VALUE       Global value (e.g. "set enemy 2", "set stage_0 3")
//     seed N              seeds Random and rand()
//     frames N            runs N passes of the main loop
//     skip N              runs N passes drawing only the last (logic at full speed)
//     click X Y | rclick X Y | move X Y
//     key NAME down|up    ctrl, space, return, escape, up, down, left, right, 1..5, a, d, n, s, y
//     answer ok|cancel    answer of the next confirmation boxes
//     shot NAME           writes OUT_DIR/NAME.png of the last frame
//     time N LABEL        runs N passes and prints the mean and 99th percentile time per pass;
//                         with --realtime the intervals between frames reaching the screen and
//                         how far they stray from 1/60 s (SCENESHOT_FRAMES=FILE keeps each one)
//     fill LABEL          records the next frame's quads and prints how many screens of pixels
//                         each blend mode covers
//     goto ID             leaves the running scene (its Leave, as when it asks for another) and
//                         starts scene ID on the next pass, told it came from the one left
//     memory LABEL        prints the resident size now and at its peak (VmRSS, VmHWM) in kB
//     soak MINUTES        plays bot-driven matches (abilities, double-up) against the five hosts
//                         in turn, each followed by the advertisement and the title, until the
//                         minutes have passed; prints the resident size every minute and the
//                         bot's figures and broken rules at the end
//     batched N LABEL     records the next frame's quads and prints the frame rate of drawing
//                         them as the scene did against one batch through an atlas (N frames
//                         a round, 5 rounds interleaved; medians), and how far the pixels differ
// Runs from the build folder (data/, wav/, config.ini); the save file goes to a temporary folder.
// The clock is virtual (frames run as fast as they draw) unless --realtime is given.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/scene.h"
#include "core/global.h"
#include "core/random.h"
#include "batched_replay.h"
#include "match_bot.h"
#include "graphics/dx_graphic.h"
#include "platform/platform.h"
#include "scripted_platform.h"

namespace {

bool KeyByName(const std::string& name, platform::KeyCode& out) {
    using K = platform::KeyCode;
    static const std::pair<const char*, K> kKeys[] = {
        {"ctrl", K::LeftControl}, {"space", K::Space}, {"return", K::Return}, {"escape", K::Escape},
        {"up", K::Up},  {"down", K::Down}, {"left", K::Left}, {"right", K::Right}, {"1", K::Num1},
        {"2", K::Num2}, {"3", K::Num3},    {"4", K::Num4},    {"5", K::Num5},     {"a", K::A},
        {"d", K::D},    {"n", K::N},       {"s", K::S},       {"y", K::Y},    {"backspace", K::Backspace},
    };
    for (const auto& [n, k] : kKeys) {
        if (name == n) {
            out = k;
            return true;
        }
    }
    return false;
}

class Runner {
public:
    Runner(Application& app, sceneshot::ScriptedPlatform& p, std::string out, bool paced)
        : app_(app), p_(p), out_(std::move(out)), paced_(paced) {}

    // False once the program has quit.
    bool Pass() {
        if (quit_) return false;
        quit_ = !app_.Pass();
        return !quit_;
    }
    bool Frames(int n) {
        for (int i = 0; i < n; ++i) {
            if (!Pass()) return false;
        }
        return true;
    }
    // N passes of which only the last is drawn, so that a following shot shows it.
    bool Skip(int n) {
        p_.SetDrawing(false);
        const bool ok = Frames(n - 1);
        p_.SetDrawing(true);
        return ok && Frames(1);
    }
    void Click(int x, int y, bool right) {
        p_.SetMouse(x, y, !right, right);
        Pass();
        p_.SetMouse(x, y, false, false);
        Pass();
    }
    bool Shot(const std::string& name) {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        if (!platform::Get().ReadBackBuffer(pixels, w, h)) return false;
        const std::string path = out_ + "/" + name + ".png";
        return DxGraphic::WritePng(path.c_str(), pixels, w, h);
    }
    void Time(int n, const std::string& label) {
        std::vector<double> ms;
        ms.reserve(static_cast<size_t>(n));
        // Unpaced, a pass's own duration is the cost of a frame. Paced, what counts is when frames
        // reach the screen: the time from one frame's swap to the next (one pass first, so that the
        // first interval starts at a swap).
        if (paced_) Pass();
        for (int i = 0; i < n && !quit_; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const auto shown0 = p_.lastShown();
            Pass();
            const auto end = paced_ ? p_.lastShown() : std::chrono::steady_clock::now();
            const auto start = paced_ ? shown0 : t0;
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        if (ms.empty()) return;
        // SCENESHOT_FRAMES=FILE keeps each pass's time, one per line, to see when the slow ones come.
        if (const char* path = std::getenv("SCENESHOT_FRAMES"); path != nullptr && *path != '\0') {
            if (std::FILE* f = std::fopen(path, "a")) {
                for (double v : ms) std::fprintf(f, "%s %.3f\n", label.c_str(), v);
                std::fclose(f);
            }
        }
        double sum = 0;
        for (double v : ms) sum += v;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const double mean = sum / static_cast<double>(ms.size());
        const double p99 = sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)];
        if (!paced_) {
            std::printf("%s: %zu frames, mean %.3f ms, p99 %.3f ms, %.1f fps possible\n", label.c_str(), ms.size(),
                        mean, p99, 1000.0 / mean);
            return;
        }
        // Paced: each pass is one frame interval; how far they stray from 1/60 s.
        std::vector<double> dev;
        dev.reserve(ms.size());
        for (double v : ms) dev.push_back(std::abs(v - 1000.0 / 60.0));
        std::sort(dev.begin(), dev.end());
        const double devP99 = dev[std::min(dev.size() - 1, dev.size() * 99 / 100)];
        std::printf("%s: %zu frames paced, mean interval %.3f ms, p99 %.3f ms, deviation p99 %.3f max %.3f ms\n",
                    label.c_str(), ms.size(), mean, p99, devP99, dev.back());
    }
    // Resident size per mapped object from /proc/self/smaps (anonymous memory as "[anonymous]"),
    // largest first: where the resident size goes.
    static std::vector<std::pair<long, std::string>> ResidentByMapping() {
        std::ifstream smaps("/proc/self/smaps");
        std::vector<std::pair<long, std::string>> sums;
        std::string line, current;
        while (std::getline(smaps, line)) {
            std::istringstream in(line);
            std::string first;
            in >> first;
            if (first == "Rss:") {
                long kb = 0;
                in >> kb;
                auto it = std::find_if(sums.begin(), sums.end(), [&](const auto& s) { return s.second == current; });
                if (it == sums.end()) {
                    sums.emplace_back(kb, current);
                } else {
                    it->first += kb;
                }
            } else if (first.find('-') != std::string::npos && first.back() != ':') {
                // A mapping's header: range, permissions, offset, device, inode, then the path.
                std::string perms, offset, device, inode, path;
                in >> perms >> offset >> device >> inode;
                std::getline(in >> std::ws, path);
                current = path.empty() ? "[anonymous]" : path;
            }
        }
        std::sort(sums.begin(), sums.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        return sums;
    }
    // Resident size now and its peak so far, from /proc/self/status (kB); false without /proc.
    static bool Memory(long& rssKb, long& peakKb) {
        std::ifstream status("/proc/self/status");
        std::string key;
        rssKb = peakKb = -1;
        while (status >> key) {
            if (key == "VmRSS:") status >> rssKb;
            if (key == "VmHWM:") status >> peakKb;
            status.ignore(1 << 16, '\n');
        }
        return rssKb >= 0 && peakKb >= 0;
    }
    bool quit() const { return quit_; }

    // Bot-driven matches until `minutes` of wall time have passed (see the script lines).
    bool Soak(double minutes);

private:
    Application& app_;
    sceneshot::ScriptedPlatform& p_;
    std::string out_;
    bool paced_ = false;
    bool quit_ = false;
};

// The bot's hands on the running program: the match while it runs, passes and clicks, with the
// resident size printed once a minute.
class SoakDriver : public matchtest::BotDriver {
public:
    SoakDriver(Application& app, sceneshot::ScriptedPlatform& p, Runner& run) : app_(app), p_(p), run_(run) {}
    SceneGame* match() override {
        return app_.currentSceneId == kSceneGame ? dynamic_cast<SceneGame*>(app_.scene.get()) : nullptr;
    }
    bool pass() override {
        Sample();
        return run_.Pass();
    }
    void click(int x, int y) override { press(x, y, true, false); }
    void rightClick(int x, int y) override { press(x, y, false, true); }
    void press(int x, int y, bool left, bool right) {
        p_.SetMouse(x, y, left, right);
        pass();
        p_.SetMouse(x, y, false, false);
        pass();
    }
    // Prints the resident size when a minute has passed since the last line.
    void Sample() {
        const auto now = std::chrono::steady_clock::now();
        if (now < nextSample_) return;
        nextSample_ = now + std::chrono::minutes(1);
        long rss = 0, peak = 0;
        if (Runner::Memory(rss, peak)) {
            std::printf("soak minute %d: rss %ld kB, peak %ld kB, textures %zu kB\n", minute_++, rss, peak,
                        DxGraphic::Instance().TextureBytes() / 1024);
            std::fflush(stdout);
        }
    }

private:
    Application& app_;
    sceneshot::ScriptedPlatform& p_;
    Runner& run_;
    std::chrono::steady_clock::time_point nextSample_ = std::chrono::steady_clock::now();
    int minute_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    bool realTime = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--realtime") {
            realTime = true;
        } else {
            args.push_back(a);
        }
    }
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: sceneshot [--realtime] OUT_DIR [SCRIPT] (script from stdin without SCRIPT)\n");
        return 2;
    }
    const std::string out = args[0];
    std::ifstream file;
    if (args.size() == 2) {
        file.open(args[1]);
        if (!file) {
            std::fprintf(stderr, "sceneshot: cannot read %s\n", args[1].c_str());
            return 2;
        }
    }
    std::istream& script = args.size() == 2 ? static_cast<std::istream&>(file) : std::cin;

    auto owned = std::make_unique<sceneshot::ScriptedPlatform>(platform::CreateRealPlatform(), realTime);
    sceneshot::ScriptedPlatform& p = *owned;
    platform::Install(std::move(owned));

    char saveTemplate[] = "/tmp/sceneshot-save-XXXXXX";
    const char* saveDir = mkdtemp(saveTemplate);
    if (saveDir != nullptr) Global::Instance().SetSaveFolder(saveDir);

    Application app(CreateScene);
    // One lock file, reused run after run; SCENESHOT_INSTANCE names another so that runs from
    // several build folders can overlap.
    const char* instance = std::getenv("SCENESHOT_INSTANCE");
    app.SetInstanceName(instance != nullptr && *instance != '\0' ? instance : "tarnwick-sceneshot");
    if (app.Initialize() != 0) {
        std::fprintf(stderr, "sceneshot: start-up failed (run it from the build folder)\n");
        app.Shutdown();
        return 1;
    }
    Runner run(app, p, out, realTime);
    int status = 0;
    std::string line;
    int lineNo = 0;
    while (std::getline(script, line) && !run.quit()) {
        ++lineNo;
        std::istringstream in(line);
        std::string cmd;
        if (!(in >> cmd) || cmd[0] == '#') continue;
        bool ok = true;
        if (cmd == "scene") {
            int id = 0;
            ok = static_cast<bool>(in >> id);
            app.currentSceneId = 0;
            app.nextSceneId = id;
        } else if (cmd == "goto") {
            int id = 0;
            ok = static_cast<bool>(in >> id) && id != app.currentSceneId;
            if (ok) {
                if (app.scene) app.scene->Leave();
                app.scene.reset();
                app.nextSceneId = id;
            }
        } else if (cmd == "memory") {
            std::string label;
            long rss = 0, peak = 0;
            ok = static_cast<bool>(in >> label) && Runner::Memory(rss, peak);
            if (ok) {
                std::printf("%s: rss %ld kB, peak %ld kB, textures %zu kB\n", label.c_str(), rss, peak,
                            DxGraphic::Instance().TextureBytes() / 1024);
                if (std::getenv("SCENESHOT_TEXTURES") != nullptr) {
                    for (const auto& [name, bytes] : DxGraphic::Instance().TextureSizes()) {
                        std::printf("  %8zu kB %s\n", bytes / 1024, name.c_str());
                    }
                }
                if (std::getenv("SCENESHOT_MAPPINGS") != nullptr) {
                    for (const auto& [kb, name] : Runner::ResidentByMapping()) {
                        std::printf("  %8ld kB %s\n", kb, name.c_str());
                    }
                }
            }
        } else if (cmd == "set") {
            std::string key;
            int value = 0;
            ok = static_cast<bool>(in >> key >> value);
            if (ok) Global::Instance().Set(value, key);
        } else if (cmd == "seed") {
            unsigned seed = 0;
            ok = static_cast<bool>(in >> seed);
            Random::Instance().Seed(seed);
            std::srand(seed);
        } else if (cmd == "frames") {
            int n = 0;
            ok = static_cast<bool>(in >> n);
            run.Frames(n);
        } else if (cmd == "skip") {
            int n = 0;
            ok = static_cast<bool>(in >> n) && n > 0;
            if (ok) run.Skip(n);
        } else if (cmd == "click" || cmd == "rclick") {
            int x = 0, y = 0;
            ok = static_cast<bool>(in >> x >> y);
            if (ok) run.Click(x, y, cmd == "rclick");
        } else if (cmd == "move") {
            int x = 0, y = 0;
            ok = static_cast<bool>(in >> x >> y);
            if (ok) p.SetMouse(x, y, false, false);
        } else if (cmd == "key") {
            std::string name, state;
            platform::KeyCode key;
            ok = static_cast<bool>(in >> name >> state) && KeyByName(name, key);
            if (ok) p.SetKey(key, state == "down");
        } else if (cmd == "window") {
            int w = 0, h = 0;
            ok = static_cast<bool>(in >> w >> h) && w > 0 && h > 0;
            if (ok) {
                p.SetWindowSize(w, h);
                int gotW = 0, gotH = 0;
                run.Frames(2);  // the resize event reaches the main loop
                p.GetWindowSize(gotW, gotH);
                std::printf("window: asked %dx%d, got %dx%d\n", w, h, gotW, gotH);
            }
        } else if (cmd == "answer") {
            std::string a;
            ok = static_cast<bool>(in >> a);
            p.SetAnswer(a == "cancel" ? platform::MessageBoxAnswer::Cancel : platform::MessageBoxAnswer::Ok);
        } else if (cmd == "shot") {
            std::string name;
            ok = static_cast<bool>(in >> name) && run.Shot(name);
        } else if (cmd == "soak") {
            double minutes = 0;
            ok = static_cast<bool>(in >> minutes) && minutes > 0;
            if (ok) {
                SoakDriver driver(app, p, run);
                matchtest::BotOptions options;
                options.seed = 5150;
                options.useAbilities = true;
                matchtest::MatchBot bot(driver, options);
                const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double, std::ratio<60>>(minutes);
                for (int m = 0; std::chrono::steady_clock::now() < end && !run.quit(); ++m) {
                    Global::Instance().Set(m % 5, "enemy");
                    if (app.scene) app.scene->Leave();
                    app.scene.reset();
                    app.nextSceneId = kSceneGame;
                    driver.pass();
                    bot.playMatch();
                    // The match's own way out: the advertisement, then the title for ten seconds.
                    for (int f = 0; f < 3000 && app.currentSceneId != kSceneTitle && !run.quit(); ++f) driver.pass();
                    for (int f = 0; f < 600 && !run.quit(); ++f) driver.pass();
                }
                driver.Sample();
                std::printf("soak: %d matches (%d won), %d hands, %lld frames, %d double-ups, %d abilities, %zu broken rules\n",
                            bot.stats.matches, bot.stats.matchesWon, bot.stats.hands, bot.stats.frames,
                            bot.stats.doubleUps, bot.stats.abilityUses, bot.stats.faults.size());
                for (const std::string& f : bot.stats.faults) std::printf("  broken: %s\n", f.c_str());
                ok = bot.stats.faults.empty();
            }
        } else if (cmd == "batched") {
            int n = 0;
            std::string label;
            ok = static_cast<bool>(in >> n >> label) && n > 0;
            if (ok) {
                std::vector<platform::Quad> quads;
                p.Record(&quads);
                run.Frames(1);
                p.Record(nullptr);
                const sceneshot::ReplayFigures f = sceneshot::ReplayBatched(quads, p.lastClear(), n, 5);
                ok = f.ok;
                if (ok) {
                    std::printf("%s: %zu quads, %zu textures, atlas %d: scene %.1f fps, batched %.1f fps, ratio %.3f; "
                                "%zu pixels differ by more than 2 (worst %d)\n",
                                label.c_str(), f.quads, f.textures, f.atlasSide, f.sceneFps, f.batchedFps,
                                f.sceneFps > 0 ? f.batchedFps / f.sceneFps : 0.0, f.differing, f.worst);
                } else {
                    std::fprintf(stderr, "sceneshot: %s\n", f.error.c_str());
                }
            }
        } else if (cmd == "fill") {
            std::string label;
            ok = static_cast<bool>(in >> label);
            if (ok) {
                std::vector<platform::Quad> quads;
                p.Record(&quads);
                run.Frames(1);
                p.Record(nullptr);
                // Pixels each blend mode covers (quad bounds clipped to the screen), in screens.
                double area[3] = {0, 0, 0};
                size_t count[3] = {0, 0, 0};
                for (const platform::Quad& q : quads) {
                    float x0 = q.v[0].x, x1 = q.v[0].x, y0 = q.v[0].y, y1 = q.v[0].y;
                    for (const platform::Vertex& v : q.v) {
                        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
                        y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
                    }
                    const double w = std::max(0.0f, std::min(x1, 1280.0f) - std::max(x0, 0.0f));
                    const double h = std::max(0.0f, std::min(y1, 720.0f) - std::max(y0, 0.0f));
                    const int b = std::clamp(q.blend, 0, 2);
                    area[b] += w * h / (1280.0 * 720.0);
                    ++count[b];
                }
                std::printf("%s: %zu quads; opaque %zu covering %.2f screens, alpha %zu covering %.2f, additive %zu "
                            "covering %.2f\n",
                            label.c_str(), quads.size(), count[0], area[0], count[1], area[1], count[2], area[2]);
            }
        } else if (cmd == "time") {
            int n = 0;
            std::string label;
            ok = static_cast<bool>(in >> n >> label);
            if (ok) run.Time(n, label);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "sceneshot: line %d not understood or failed: %s\n", lineNo, line.c_str());
            status = 1;
        }
    }
    if (run.quit()) std::printf("sceneshot: the program quit at script line %d\n", lineNo);
    app.Shutdown();
    return status;
}
