// Numbers of OBJ lines, read as the C library's "%f" and "%d" read them in the C locale,
// whatever locale the program runs in.
#pragma once

// Reads one number at `p` (after any white space): a sign, then a decimal number with a full
// stop as separator, or a hexadecimal one after "0x". Only finite floats are numbers: an
// infinity, a NaN or a value beyond the float range is none. On success stores it in `value`,
// moves `p` past it and returns true; otherwise changes neither.
bool parseFloat(const char*& p, const char* end, float& value);

// Reads up to `wanted` numbers one after another into `values`; returns how many were read
// before one failed. The entries after those keep what they held.
int parseFloats(const char* p, const char* end, float* values, int wanted);

// Reads one integer at `p` (after any white space, with an optional sign) as "%d" does, and
// moves `p` past it. It is kept in 64 bits, saturating, so that an index too large for a model
// fails a range check instead of wrapping round into it. False when no digit follows.
bool parseInteger(const char*& p, const char* end, long long& value);
