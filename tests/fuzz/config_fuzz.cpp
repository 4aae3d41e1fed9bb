// libFuzzer entry for the config.ini reader: the input is written as the file and read through
// the one-pass reader. While every line is shorter than what the reader keeps of a line, the
// result must equal a plain reference that holds whole lines and searches once per key.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system.h"
#include "test_support.h"

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Reference(const std::string& text, const std::string& section, const std::string& key,
                      const std::string& dflt) {
    std::istringstream in(text);
    std::string line;
    bool inSection = false;
    std::string value = dflt;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            if (inSection) break;
            const size_t close = t.find(']');
            inSection = close != std::string::npos && Lower(Trim(t.substr(1, close - 1))) == Lower(section);
            continue;
        }
        if (!inSection) continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos || Lower(Trim(t.substr(0, eq))) != Lower(key)) continue;
        value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        break;
    }
    return value.substr(0, 99);
}

bool HasLongLine(const std::string& text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end - start >= 4096) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = testsupport::MakeTempDir() + "/config.ini";
    const std::string text(reinterpret_cast<const char*>(data), size);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
        std::abort();
    }
    const std::vector<platform::ProfileKey> keys = {{"FullScreen", "off"}, {"BgmVolume", "30"}, {"SeVolume", "30"}};
    const std::vector<std::string> values = platform::ReadProfileStrings(path, "game", keys);
    if (values.size() != keys.size()) std::abort();
    for (size_t k = 0; k < keys.size(); ++k) {
        if (values[k].size() > 99) std::abort();
        if (!HasLongLine(text) && values[k] != Reference(text, "game", keys[k].key, keys[k].defaultText)) {
            std::abort();
        }
    }
    return 0;
}
