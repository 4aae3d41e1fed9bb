#include "scenes/menu/gallery_scripts.h"

#include <cstdint>

#include "archive/archive.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace menu {
namespace {

constexpr const char* kHostNames[kGalleryScriptCount / 3] = {"pemra", "otsel", "quenvar", "iblen", "rosweth"};

// One line's message with its "\n" escapes turned into line feeds, walking whole characters.
std::string Unescape(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (platform::IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < line.size()) {
            out.append(line.substr(i, 2));
            i += 2;
        } else if (c == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
            out.push_back('\n');
            i += 2;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string GalleryScriptName(int index) {
    if (index < 0 || index >= kGalleryScriptCount) {
        return {};
    }
    return "cg_" + std::string(kHostNames[index / 3]) + "_0" + std::to_string(index % 3 + 1) + ".txt";
}

std::vector<std::string> ParseGalleryScript(std::string_view sjisBytes) {
    std::vector<std::string> entries;
    // A line feed byte never occurs inside a double-byte character (trail bytes are 0x40 and up),
    // so the bytes can be split at every 0x0A.
    size_t start = 0;
    while (start < sjisBytes.size()) {
        size_t end = sjisBytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = sjisBytes.size();
        }
        std::string_view line = sjisBytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        entries.push_back(Unescape(line));
    }
    return entries;
}

std::vector<std::string> LoadGalleryScript(int index) {
    const std::string name = GalleryScriptName(index);
    if (name.empty()) {
        platform::OutputDebug(SJ("ギャラリー : 台本の番号が範囲外です ") + std::to_string(index));
        return {};
    }
    ArchiveIndex& archive = Archive(ArchiveId::Animations);
    if (archive.Open(name) != 0) {
        platform::OutputDebug(SJ("ギャラリー : 台本がありません ") + name);
        return {};
    }
    const std::string bytes(reinterpret_cast<const char*>(archive.Data()), archive.Size());
    archive.Close();
    return ParseGalleryScript(bytes);
}

bool IsGalleryCommand(const std::string& entry) { return entry == "next" || entry == "fade"; }

}  // namespace menu
