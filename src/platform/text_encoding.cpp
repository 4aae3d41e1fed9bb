#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace platform {
namespace {

std::string Convert(std::string_view in, const char* to, const char* from, const char* replacement) {
    std::string out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(in);
    }
    out.reserve(in.size() * 2 + 4);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[512];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof(buffer);
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, sizeof(buffer) - dstLeft);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // Invalid or incomplete sequence: replace one byte and go on.
            out.append(replacement);
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

// The card suits are not in CP932; the game keeps them at their JIS X 0213 codes 0x83B7..0x83BE,
// which CP932 leaves unused, in this order.
constexpr char32_t kSuitCodePoints[8] = {0x2664, 0x2660, 0x2662, 0x2666, 0x2661, 0x2665, 0x2667, 0x2663};

void AppendUtf8(std::string& out, char32_t c) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

}  // namespace

char32_t SuitCodeToUnicode(unsigned code) {
    return code >= 0x83B7 && code <= 0x83BE ? kSuitCodePoints[code - 0x83B7] : 0;
}

std::string SjisToUtf8(std::string_view sjis) {
    std::string out;
    size_t segment = 0, i = 0;
    while (i < sjis.size()) {
        const unsigned char b = static_cast<unsigned char>(sjis[i]);
        if (IsSjisLeadByte(b) && i + 1 < sjis.size()) {
            const char32_t suit = SuitCodeToUnicode(b * 256u + static_cast<unsigned char>(sjis[i + 1]));
            if (suit != 0) {
                out += Convert(sjis.substr(segment, i - segment), "UTF-8", "CP932", "\xEF\xBF\xBD");
                AppendUtf8(out, suit);
                i += 2;
                segment = i;
                continue;
            }
            i += 2;
            continue;
        }
        ++i;
    }
    out += Convert(sjis.substr(segment), "UTF-8", "CP932", "\xEF\xBF\xBD");
    return out;
}

std::string Utf8ToSjis(std::string_view utf8) {
    std::string out;
    size_t segment = 0;
    size_t i = 0;
    while (i + 3 <= utf8.size()) {
        const unsigned char b0 = static_cast<unsigned char>(utf8[i]);
        const unsigned char b1 = static_cast<unsigned char>(utf8[i + 1]);
        const unsigned char b2 = static_cast<unsigned char>(utf8[i + 2]);
        if (b0 != 0xE2 || b1 != 0x99 || b2 < 0xA0 || b2 > 0xA7) {
            ++i;
            continue;
        }
        const char32_t c = 0x2640 + (b2 & 0x3F);  // U+2660..U+2667
        for (unsigned k = 0; k < 8; ++k) {
            if (kSuitCodePoints[k] == c) {
                out += Convert(utf8.substr(segment, i - segment), "CP932", "UTF-8", "?");
                out += static_cast<char>(0x83);
                out += static_cast<char>(0xB7 + k);
                break;
            }
        }
        i += 3;
        segment = i;
    }
    out += Convert(utf8.substr(segment), "CP932", "UTF-8", "?");
    return out;
}

}  // namespace platform
