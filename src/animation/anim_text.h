#pragma once
#include <cstdint>
#include <string_view>

// Lexical pieces of the animation text format: the field reader and the number conversions.
namespace anim {

// Reads the space-separated fields of one line's argument text. Only the space character
// separates (tabs are ordinary characters). A field opening with a double quote runs to the next
// double quote, which is consumed. A field that finds no terminator runs to the end of the line,
// and every field after it is empty.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}
    std::string_view Next();

private:
    const char* p_;
    const char* end_;
    bool exhausted_ = false;
};

// Splits a line into its keyword and the argument text: leading spaces skipped, the keyword runs
// to the next space, the arguments are whatever follows that space. False for a blank line.
bool SplitKeyword(std::string_view line, std::string_view& keyword, std::string_view& arguments);

// Decimal integer with optional sign, after optional leading white space, stopping at the first
// non-digit ("12ab" 12, "2.5" 2, "" 0). Values beyond 32 bits saturate.
int32_t ToInt(std::string_view field);
// Integer with automatic base: "0x" hexadecimal, a leading "0" octal, otherwise decimal; the
// rest as ToInt.
int32_t ToIntAutoBase(std::string_view field);
// Decimal floating-point text: optional sign, digits with an optional fraction, optional
// exponent; the longest such prefix is read, anything else gives 0. Only finite values come out:
// a magnitude beyond the float range saturates at the largest float, a tiny one reads as 0.
float ToFloat(std::string_view field);

// Whole-text comparison ignoring ASCII case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// v - 1 without wrapping below the smallest int32 (frames are written 1-based).
inline int32_t ZeroBased(int32_t v) { return v == INT32_MIN ? v : v - 1; }

}  // namespace anim
