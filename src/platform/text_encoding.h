#pragma once
#include <string>
#include <string_view>

// Conversions between the game's own text encoding (code page 932, Shift-JIS) and UTF-8, which
// the operating system interfaces (title bar, message boxes, stderr) expect.
namespace platform {

// Shift-JIS (CP932) to UTF-8. Undecodable bytes become U+FFFD; never fails.
std::string SjisToUtf8(std::string_view sjis);
// UTF-8 to Shift-JIS (CP932). Characters CP932 cannot hold become '?'; never fails.
std::string Utf8ToSjis(std::string_view utf8);
// The Unicode card suit kept at a two-byte code 0x83B7..0x83BE, or 0 for any other code.
char32_t SuitCodeToUnicode(unsigned code);
// True when byte b opens a two-byte Shift-JIS character.
inline bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace platform

// Game texts are written in the sources as UTF-8 and used as Shift-JIS: SJ("...") converts once.
#define SJ(utf8literal)                                                       \
    ([]() -> const std::string& {                                             \
        static const std::string converted = ::platform::Utf8ToSjis(utf8literal); \
        return converted;                                                     \
    }())
