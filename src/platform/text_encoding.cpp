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

}  // namespace

std::string SjisToUtf8(std::string_view sjis) { return Convert(sjis, "UTF-8", "CP932", "\xEF\xBF\xBD"); }

std::string Utf8ToSjis(std::string_view utf8) { return Convert(utf8, "CP932", "UTF-8", "?"); }

}  // namespace platform
