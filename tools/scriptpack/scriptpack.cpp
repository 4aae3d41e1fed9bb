// Converts the gallery scripts from UTF-8 to Shift-JIS (CP932) for the animation archive.
//
//   scriptpack OUTDIR SCRIPT.txt [SCRIPT.txt...]
//
// Each script is written under its own file name into OUTDIR, line by line. A line holding a
// character CP932 cannot represent (or that is not valid UTF-8) stops the build with the file and
// line named, so no message reaches the game with a '?' in it. A UTF-8 byte order mark is dropped.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace {

bool ReadText(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Rewrites only when the bytes change, so the packer is not rerun for nothing.
bool WriteIfChanged(const fs::path& path, const std::string& bytes) {
    std::string old;
    if (ReadText(path, old) && old == bytes) {
        return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

// The converted script, or false with a message naming the first line that does not survive the
// round trip UTF-8 -> CP932 -> UTF-8.
bool Convert(const fs::path& source, std::string_view utf8, std::string& sjis) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") {
        utf8.remove_prefix(3);
    }
    sjis.clear();
    int lineNumber = 0;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine) {
            end = utf8.size();
        }
        const std::string_view line = utf8.substr(start, end - start);
        ++lineNumber;
        const std::string converted = platform::Utf8ToSjis(line);
        if (platform::SjisToUtf8(converted) != line) {
            std::fprintf(stderr, "%s:%d: a character here has no Shift-JIS (CP932) code\n",
                         source.string().c_str(), lineNumber);
            return false;
        }
        sjis += converted;
        if (!lastLine) {
            sjis.push_back('\n');
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: scriptpack OUTDIR SCRIPT.txt [SCRIPT.txt...]\n");
        return 2;
    }
    const fs::path outDir = argv[1];
    std::error_code ec;
    fs::create_directories(outDir, ec);
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const fs::path source = argv[i];
        std::string utf8;
        std::string sjis;
        if (!ReadText(source, utf8)) {
            std::fprintf(stderr, "scriptpack: cannot read %s\n", source.string().c_str());
            ++failures;
            continue;
        }
        if (!Convert(source, utf8, sjis)) {
            ++failures;
            continue;
        }
        if (!WriteIfChanged(outDir / source.filename(), sjis)) {
            std::fprintf(stderr, "scriptpack: cannot write %s\n", (outDir / source.filename()).string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
