// Number reading. Every conversion of text to floating point goes through convertFloat, the
// one place to change where the standard library has no floating-point from_chars.
#include "obj_numbers.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>
#ifdef __EMSCRIPTEN__
#include <cstddef>
#include <cstdlib>
#include <string>
#endif

namespace {

// White space as the C locale knows it, which is what the number conversions skip.
bool isSpaceChar(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* skipSpace(const char* p, const char* end) {
    while (p != end && isSpaceChar(*p)) ++p;
    return p;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// True when the text starts "0x" or "0X" and a hexadecimal mantissa follows, as "%f" takes it.
bool startsHexadecimal(const char* p, const char* end) {
    if (end - p < 3 || p[0] != '0' || (p[1] != 'x' && p[1] != 'X')) return false;
    if (isHexDigit(p[2])) return true;
    return p[2] == '.' && end - p >= 4 && isHexDigit(p[3]);
}

// The one conversion from text to floating point: the unsigned number at `begin`, decimal, or
// hexadecimal digits whose "0x" has been passed over, rounded to the nearest float. Returns
// where it ends, or null when there is none or it lies beyond the float range. Values below
// the range come out as zero or a denormal, as "%f" gives them. Locale-independent.
const char* convertFloat(const char* begin, const char* end, bool hexadecimal, float& value) {
#ifdef __EMSCRIPTEN__
    // The web build's C++ library has no floating-point from_chars. Its strtof and strtod
    // round correctly and know no locale, so the same floats come out bit for bit: strtof on a
    // copy of the number's text ("0x" put back before hexadecimal digits), and where that gives
    // zero or infinity, strtod narrowed to float, as below when from_chars leaves the range.
    if (begin == end || isSpaceChar(*begin)) return nullptr;
    const char* textEnd = begin;
    while (textEnd != end && !isSpaceChar(*textEnd)) ++textEnd;
    const std::ptrdiff_t prefix = hexadecimal ? 2 : 0;
    const std::string text = (hexadecimal ? "0x" : "") + std::string(begin, textEnd);
    char* stop = nullptr;
    const float narrow = std::strtof(text.c_str(), &stop);
    if (stop - text.c_str() <= prefix) return nullptr;
    value = narrow;
    if (narrow == 0.0f || std::isinf(narrow)) {
        const double wide = std::strtod(text.c_str(), nullptr);
        if (!(std::fabs(wide) <= FLT_MAX)) return nullptr;
        value = static_cast<float>(wide);
    }
    return begin + (stop - text.c_str() - prefix);
#else
    const std::chars_format format =
        hexadecimal ? std::chars_format::hex : std::chars_format::general;
    std::from_chars_result result = std::from_chars(begin, end, value, format);
    if (result.ec == std::errc::result_out_of_range) {
        double wide = 0.0;
        result = std::from_chars(begin, end, wide, format);
        if (result.ec != std::errc() || std::fabs(wide) > FLT_MAX) return nullptr;
        value = static_cast<float>(wide);
    }
    return result.ec == std::errc() ? result.ptr : nullptr;
#endif
}

}  // namespace

bool parseFloat(const char*& p, const char* end, float& value) {
    const char* q = skipSpace(p, end);
    bool negative = false;
    if (q != end && (*q == '+' || *q == '-')) negative = *q++ == '-';
    if (q != end && (*q == '+' || *q == '-')) return false;
    const bool hexadecimal = startsHexadecimal(q, end);
    float magnitude = 0.0f;
    const char* after = convertFloat(hexadecimal ? q + 2 : q, end, hexadecimal, magnitude);
    // Infinities and NaNs would poison every normal and refinement made from them.
    if (after == nullptr || !std::isfinite(magnitude)) return false;
    value = negative ? -magnitude : magnitude;
    p = after;
    return true;
}

int parseFloats(const char* p, const char* end, float* values, int wanted) {
    int read = 0;
    while (read < wanted && parseFloat(p, end, values[read])) ++read;
    return read;
}

bool parseInteger(const char*& p, const char* end, long long& value) {
    const char* q = skipSpace(p, end);
    bool negative = false;
    if (q != end && (*q == '+' || *q == '-')) negative = *q++ == '-';
    if (q == end || *q < '0' || *q > '9') return false;
    long long magnitude = 0;
    for (; q != end && *q >= '0' && *q <= '9'; ++q) {
        const int digit = *q - '0';
        magnitude = magnitude > (LLONG_MAX - digit) / 10 ? LLONG_MAX : magnitude * 10 + digit;
    }
    value = negative ? -magnitude : magnitude;
    p = q;
    return true;
}
