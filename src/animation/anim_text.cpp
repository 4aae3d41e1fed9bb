#include "animation/anim_text.h"

#include <cfloat>
#include <charconv>
#include <cstring>

namespace anim {

namespace {

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Reads digits of the base from s at i, accumulating with saturation at 2^32 (enough to know the
// result no longer fits an int32).
int32_t ReadDigits(std::string_view s, size_t i, int base, bool negative) {
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        const int d = DigitValue(s[i]);
        if (d >= base) {
            break;
        }
        value = value * base + d;
        if (value > (int64_t{1} << 32)) {
            value = int64_t{1} << 32;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Skips white space and an optional sign; returns the index of the first digit position.
size_t SkipSign(std::string_view s, bool& negative) {
    size_t i = 0;
    while (i < s.size() && IsWhite(s[i])) ++i;
    negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    return i;
}

}  // namespace

std::string_view FieldReader::Next() {
    if (exhausted_) {
        return {};
    }
    while (p_ < end_ && *p_ == ' ') ++p_;
    if (p_ >= end_) {
        exhausted_ = true;
        return {};
    }
    const char* stop = nullptr;
    const char* begin = p_;
    if (p_ < end_ && *p_ == '"') {
        begin = p_ + 1;
        stop = static_cast<const char*>(std::memchr(begin, '"', static_cast<size_t>(end_ - begin)));
    } else {
        stop = static_cast<const char*>(std::memchr(begin, ' ', static_cast<size_t>(end_ - begin)));
    }
    if (stop == nullptr) {
        exhausted_ = true;
        p_ = end_;
        return std::string_view(begin, static_cast<size_t>(end_ - begin));
    }
    p_ = stop + 1;
    return std::string_view(begin, static_cast<size_t>(stop - begin));
}

bool SplitKeyword(std::string_view line, std::string_view& keyword, std::string_view& arguments) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size()) {
        return false;
    }
    const size_t space = line.find(' ', i);
    if (space == std::string_view::npos) {
        keyword = line.substr(i);
        arguments = {};
    } else {
        keyword = line.substr(i, space - i);
        arguments = line.substr(space + 1);
    }
    return true;
}

int32_t ToInt(std::string_view field) {
    bool negative = false;
    const size_t i = SkipSign(field, negative);
    return ReadDigits(field, i, 10, negative);
}

int32_t ToIntAutoBase(std::string_view field) {
    bool negative = false;
    size_t i = SkipSign(field, negative);
    if (i < field.size() && field[i] == '0') {
        if (i + 2 < field.size() && (field[i + 1] == 'x' || field[i + 1] == 'X') && DigitValue(field[i + 2]) < 16) {
            return ReadDigits(field, i + 2, 16, negative);
        }
        return ReadDigits(field, i, 8, negative);
    }
    return ReadDigits(field, i, 10, negative);
}

float ToFloat(std::string_view field) {
    bool negative = false;
    const size_t begin = SkipSign(field, negative);
    size_t i = begin;
    size_t digits = 0;
    while (i < field.size() && IsDigit(field[i])) ++i, ++digits;
    if (i < field.size() && field[i] == '.') {
        ++i;
        while (i < field.size() && IsDigit(field[i])) ++i, ++digits;
    }
    if (digits == 0) {
        return 0.0f;
    }
    bool negativeExponent = false;
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
        size_t j = i + 1;
        if (j < field.size() && (field[j] == '+' || field[j] == '-')) {
            negativeExponent = field[j] == '-';
            ++j;
        }
        if (j < field.size() && IsDigit(field[j])) {
            while (j < field.size() && IsDigit(field[j])) ++j;
            i = j;
        } else {
            negativeExponent = false;
        }
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(field.data() + begin, field.data() + i, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        value = negativeExponent ? 0.0 : static_cast<double>(FLT_MAX);
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    if (value > FLT_MAX) {
        value = FLT_MAX;
    }
    const float f = static_cast<float>(value);
    return negative ? -f : f;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace anim
