// Numbers as text for the files Revolva's tools write and read: the shortest decimal form that
// reads back as the same value, and a strict decimal reader. Through std::to_chars and
// std::from_chars where the C++ library has them for floating point; the web build's library
// has not, and uses the C library's correctly rounded conversions instead, with the same result.
#pragma once

#include <string>
#include <string_view>

// Appends `value` in the shortest decimal form that reads back as the same double or float.
void appendShortest(std::string& text, double value);
void appendShortest(std::string& text, float value);

enum class NumberRead { read, notANumber, outOfRange };

// Reads `word`, which must be a decimal number and nothing else (an optional "-", digits with
// an optional point, an optional exponent; no "+", no blanks, no hexadecimal), into `value`.
// "inf" and "nan" are read as such, as std::from_chars reads them.
NumberRead readDecimal(std::string_view word, double& value);
