// imageforge: draws every picture of the game as PNG into one folder.
//
//   imageforge OUT_DIR [--only NAME]... [--contact-sheet FILE] [--threads N]
//
// Pictures are drawn by code only, deterministically; two threads share the work.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "catalog.h"
#include "forge.h"

namespace fs = std::filesystem;

namespace {

const char* const kFontPath = "/usr/share/fonts/truetype/klee/KleeOne-SemiBold.ttf";

struct Job {
    std::string name;
    int width;
    int height;
    std::function<bool(forge::Canvas&)> draw;
};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Parses "CG_<Name>_<ii>_<vv>.png" / "Stand_<Name>_0N.png" into host and numbers.
int HostIndex(const std::string& word) {
    for (int h = 0; h < 5; ++h) {
        if (word == forge::kHostNames[h]) {
            return h;
        }
    }
    return -1;
}

std::function<bool(forge::Canvas&)> DrawerFor(const std::string& name) {
    using namespace forge;
    auto sheet = [](void (*fn)(Canvas&)) {
        return [fn](Canvas& c) {
            fn(c);
            return true;
        };
    };
    if (name == "sozai1.png") return sheet(DrawSozai1);
    if (name == "cards_four.png") return sheet(DrawFourColourCards);
    if (name == "sozai2.png") return sheet(DrawSozai2);
    if (name == "sozai3.png") return sheet(DrawSozai3);
    if (name == "sozai4.png") return sheet(DrawSozai4);
    if (name == "sozai5.png") return sheet(DrawSozai5);
    if (name == "sozai7.png") return sheet(DrawSozai7);
    if (name == "sozai9.png") return sheet(DrawSozai9);
    if (name == "table.png") return sheet(DrawTable);
    if (name == "gallery_02.png") return sheet(DrawGallery02);
    if (StartsWith(name, "Stand_")) {
        const size_t us = name.find('_', 6);
        const bool ok = us != std::string::npos && us + 2 < name.size();
        const int host = ok ? HostIndex(name.substr(6, us - 6)) : -1;
        const int outfit = ok ? name[us + 2] - '1' : -1;
        return [host, outfit](Canvas& c) {
            if (host < 0 || outfit < 0 || outfit > 2) return false;
            DrawStand(c, host, outfit);
            return true;
        };
    }
    if (StartsWith(name, "CG_")) {
        const size_t us = name.find('_', 3);
        const bool ok = us != std::string::npos && us + 6 <= name.size();
        const int host = ok ? HostIndex(name.substr(3, us - 3)) : -1;
        const int ill = ok ? std::atoi(name.substr(us + 1, 2).c_str()) - 1 : -1;
        const int variant = ok ? std::atoi(name.substr(us + 4, 2).c_str()) - 1 : -1;
        return [host, ill, variant](Canvas& c) {
            if (host < 0 || ill < 0 || ill > 2 || variant < 0 || variant > 1) return false;
            DrawIllustration(c.cr(), host, ill, variant);
            return true;
        };
    }
    return [name](Canvas& c) { return DrawMenuPicture(c, name.c_str()) || DrawScreenPicture(c, name.c_str()); };
}

std::vector<Job> AllJobs() {
    std::vector<Job> jobs;
    for (const auto& p : forge::kPictures) {
        jobs.push_back(Job{p.name, p.width, p.height, DrawerFor(p.name)});
    }
    for (const auto& p : forge::kScreenPictures) {
        jobs.push_back(Job{p.name, p.width, p.height, DrawerFor(p.name)});
    }
    return jobs;
}

bool WriteContactSheet(const std::vector<Job>& jobs, const fs::path& dir, const std::string& file) {
    constexpr int kCell = 240, kLabel = 18, kCols = 8;
    const int rows = static_cast<int>((jobs.size() + kCols - 1) / kCols);
    forge::Canvas sheet(kCols * kCell, rows * (kCell + kLabel));
    cairo_t* cr = sheet.cr();
    cairo_set_source_rgb(cr, 0.22, 0.22, 0.25);
    cairo_paint(cr);
    for (size_t i = 0; i < jobs.size(); ++i) {
        const double x = static_cast<double>(i % kCols) * kCell;
        const double y = static_cast<double>(i / kCols) * (kCell + kLabel);
        cairo_surface_t* pic = cairo_image_surface_create_from_png((dir / jobs[i].name).c_str());
        double labelY = y + kCell + kLabel / 2.0;
        if (cairo_surface_status(pic) == CAIRO_STATUS_SUCCESS) {
            const double w = cairo_image_surface_get_width(pic), h = cairo_image_surface_get_height(pic);
            const double s = std::min((kCell - 8) / w, (kCell - 8) / h);
            labelY = y + 4 + h * s + kLabel / 2.0 + 2;
            // A checker shows transparency.
            for (int cy = 0; cy < static_cast<int>(h * s); cy += 8) {
                for (int cx = 0; cx < static_cast<int>(w * s); cx += 8) {
                    const bool dark = ((cx + cy) / 8) % 2;
                    cairo_set_source_rgb(cr, dark ? 0.5 : 0.6, dark ? 0.5 : 0.6, dark ? 0.52 : 0.62);
                    cairo_rectangle(cr, x + 4 + cx, y + 4 + cy, std::min(8.0, w * s - cx), std::min(8.0, h * s - cy));
                    cairo_fill(cr);
                }
            }
            forge::Saved saved(cr);
            cairo_translate(cr, x + 4, y + 4);
            cairo_scale(cr, s, s);
            cairo_set_source_surface(cr, pic, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
        }
        cairo_surface_destroy(pic);
        forge::Text(cr, jobs[i].name, x + kCell / 2.0, labelY, 12, forge::pal::kMoon,
                    forge::Align::Center);
    }
    return sheet.WritePng(file);
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir, contact;
    std::vector<std::string> only;
    unsigned threads = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--only" && i + 1 < argc) {
            only.push_back(argv[++i]);
        } else if (a == "--contact-sheet" && i + 1 < argc) {
            contact = argv[++i];
        } else if (a == "--threads" && i + 1 < argc) {
            threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
        } else if (!a.empty() && a[0] != '-' && outDir.empty()) {
            outDir = a;
        } else {
            std::fprintf(stderr, "usage: imageforge OUT_DIR [--only NAME]... [--contact-sheet FILE] [--threads N]\n");
            return 2;
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "imageforge: no output folder given\n");
        return 2;
    }
    if (!forge::InitFont(kFontPath)) {
        return 1;
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "imageforge: cannot create %s: %s\n", outDir.c_str(), ec.message().c_str());
        return 1;
    }

    std::vector<Job> jobs = AllJobs();
    if (!only.empty()) {
        std::vector<Job> picked;
        for (const std::string& n : only) {
            bool found = false;
            for (const Job& j : jobs) {
                if (j.name == n) {
                    picked.push_back(j);
                    found = true;
                }
            }
            if (!found) {
                std::fprintf(stderr, "imageforge: unknown picture %s\n", n.c_str());
                return 2;
            }
        }
        jobs = picked;
    }

    const auto start = std::chrono::steady_clock::now();
    std::atomic<size_t> next{0};
    std::atomic<int> failures{0};
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            const Job& job = jobs[i];
            forge::Canvas canvas(job.width, job.height);
            if (!job.draw(canvas)) {
                std::fprintf(stderr, "imageforge: no drawing for %s\n", job.name.c_str());
                ++failures;
                continue;
            }
            if (!canvas.WritePng((fs::path(outDir) / job.name).string())) {
                ++failures;
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back(worker);
    }
    for (std::thread& t : pool) {
        t.join();
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("imageforge: %zu pictures in %.2f s\n", jobs.size(), secs);
    if (only.empty()) {
        // The packer takes every picture in the folder: drop those this generator no longer draws.
        for (const auto& entry : fs::directory_iterator(outDir, ec)) {
            const std::string name = entry.path().filename().string();
            const bool drawn = std::any_of(jobs.begin(), jobs.end(), [&](const Job& j) { return j.name == name; });
            if (entry.path().extension() == ".png" && !drawn) {
                std::printf("imageforge: removing %s, no longer drawn\n", name.c_str());
                fs::remove(entry.path(), ec);
            }
        }
    }
    if (!contact.empty() && !WriteContactSheet(jobs, outDir, contact)) {
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
