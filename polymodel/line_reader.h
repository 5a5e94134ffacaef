// Whole lines of a text file, newline included, however long they are: read in large blocks,
// so that a file is split into the same lines every time it is read.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Reads `file` from its current position; each line handed out is a view into one large
// buffer, or, when it runs over the buffer's end, assembled apart.
struct LineReader {
    std::FILE* file = nullptr;
    std::vector<char> chunk = std::vector<char>(std::size_t{1} << 20);
    std::size_t start = 0;   // first byte not yet handed out
    std::size_t filled = 0;  // bytes that the last read put into chunk
    std::string assembled;
    bool atFileStart = true;  // the next line is the file's first
};

// The next line of the file, its newline included when it has one; false at the end. `line`
// stays valid until the next call. A UTF-8 byte order mark that opens the file is no part of
// its first line (a file of nothing else has no line).
bool readWholeLine(LineReader& reader, std::string_view& line);

// "little-endian" or "big-endian" when a file's first line shows UTF-16 text: it starts with
// the byte order mark FF FE or FE FF, or holds a NUL byte (after a character: little-endian,
// before one: big-endian), which no ASCII or UTF-8 text does. Null otherwise.
const char* utf16ByteOrder(std::string_view firstLine);
