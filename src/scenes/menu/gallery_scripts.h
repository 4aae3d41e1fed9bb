#pragma once
#include <string>
#include <string_view>
#include <vector>

// The scripts of the gallery's scripted view: one per illustration of each host, index =
// illustration + host * 3. They are written as text files (assets/scripts), converted to
// Shift-JIS at build time and packed into the animation archive as "cg_<host>_0<n>.txt".
//
// Script format, applied to the Shift-JIS bytes:
//   - one entry per line (a line ends at '\n'; a '\r' before it is dropped);
//   - lines that are empty or start with '#' are writer's notes and are skipped;
//   - a line that is exactly "next" or "fade" is that command: "next" swaps to the
//     illustration's second variant at once, "fade" does so through a white-out;
//   - any other line is a message; inside it the two characters '\' 'n' stand for a line break.
//     Only a '\' that starts a character counts, so the trail byte 0x5C of a double-byte
//     character is never taken for an escape.
namespace menu {

inline constexpr int kGalleryScriptCount = 15;
inline constexpr int kGalleryScriptEntryCounts[kGalleryScriptCount] = {
    34, 30, 36,    // Pemra
    28, 18, 20,    // Otsel
    29, 32, 47,    // Quenvar
    32, 56, 79,    // Iblen
    103, 51, 111,  // Rosweth
};

// Archive entry name of script index (0 .. 14), e.g. "cg_pemra_01.txt"; "" outside the range.
std::string GalleryScriptName(int index);

// The entries of a script in Shift-JIS, in order (see the format above).
std::vector<std::string> ParseGalleryScript(std::string_view sjisBytes);

// Reads and parses script index from the animation archive. Empty, with one debug line, when the
// index is out of range or the archive has no such entry.
std::vector<std::string> LoadGalleryScript(int index);

// True for the entries "next" and "fade" (whole text); every other entry is a message.
bool IsGalleryCommand(const std::string& entry);

}  // namespace menu
