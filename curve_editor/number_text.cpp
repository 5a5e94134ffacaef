// The web build (Emscripten's libc++) has no floating-point to_chars or from_chars: there the
// shortest form is found by trying 1 to 17 significant digits with snprintf and strtod, and a
// word is read with strtod once its characters have been checked against from_chars' grammar.
#include "number_text.h"

#include <charconv>
#ifdef __EMSCRIPTEN__
#include <strings.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#endif

#ifdef __EMSCRIPTEN__
namespace {

template <typename Number>
void appendShortestByTrial(std::string& text, Number value, int mostDigits) {
    char buffer[40];
    for (int digits = 1; digits <= mostDigits; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
        const Number back =
            static_cast<Number>(sizeof(Number) == sizeof(float) ? std::strtof(buffer, nullptr)
                                                                : std::strtod(buffer, nullptr));
        if (back == value || std::isnan(value)) break;
    }
    text += buffer;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when `word` is "-"? digits ["." digits] [("e" | "E") ["+" | "-"] digits], with at least
// one digit before the exponent: the decimal numbers std::from_chars takes.
bool isDecimal(std::string_view word) {
    std::size_t at = word.size() > 0 && word[0] == '-' ? 1 : 0;
    std::size_t digits = 0;
    while (at < word.size() && isDigit(word[at])) ++at, ++digits;
    if (at < word.size() && word[at] == '.') {
        ++at;
        while (at < word.size() && isDigit(word[at])) ++at, ++digits;
    }
    if (digits == 0) return false;
    if (at < word.size() && (word[at] == 'e' || word[at] == 'E')) {
        ++at;
        if (at < word.size() && (word[at] == '+' || word[at] == '-')) ++at;
        const std::size_t start = at;
        while (at < word.size() && isDigit(word[at])) ++at;
        if (at == start) return false;
    }
    return at == word.size();
}

}  // namespace

void appendShortest(std::string& text, double value) { appendShortestByTrial(text, value, 17); }
void appendShortest(std::string& text, float value) { appendShortestByTrial(text, value, 9); }

NumberRead readDecimal(std::string_view word, double& value) {
    const std::string copy(word);
    const char* name = copy.c_str() + (copy.size() > 0 && copy[0] == '-' ? 1 : 0);
    if (strcasecmp(name, "inf") == 0 || strcasecmp(name, "infinity") == 0 ||
        strcasecmp(name, "nan") == 0) {
        value = std::strtod(copy.c_str(), nullptr);
        return NumberRead::read;
    }
    if (!isDecimal(word)) return NumberRead::notANumber;
    errno = 0;
    value = std::strtod(copy.c_str(), nullptr);
    return errno == ERANGE && std::isinf(value) ? NumberRead::outOfRange : NumberRead::read;
}

#else

namespace {

template <typename Number>
void appendByToChars(std::string& text, Number value) {
    char buffer[32];
    text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace

void appendShortest(std::string& text, double value) { appendByToChars(text, value); }
void appendShortest(std::string& text, float value) { appendByToChars(text, value); }

NumberRead readDecimal(std::string_view word, double& value) {
    const char* end = word.data() + word.size();
    const std::from_chars_result read = std::from_chars(word.data(), end, value);
    if (read.ec == std::errc::result_out_of_range) return NumberRead::outOfRange;
    if (read.ec != std::errc() || read.ptr != end) return NumberRead::notANumber;
    return NumberRead::read;
}

#endif
