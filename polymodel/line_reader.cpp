// Line reading in blocks: a line that lies within the block is handed out in place, one that
// crosses the block's end is copied together.
#include "line_reader.h"

#include <cstring>

namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

bool readRawLine(LineReader& reader, std::string_view& line) {
    reader.assembled.clear();
    for (;;) {
        if (reader.start == reader.filled) {
            reader.start = 0;
            reader.filled = std::fread(reader.chunk.data(), 1, reader.chunk.size(), reader.file);
            if (reader.filled == 0) {
                line = reader.assembled;
                return !line.empty();
            }
        }
        const char* from = reader.chunk.data() + reader.start;
        const std::size_t available = reader.filled - reader.start;
        const void* newline = std::memchr(from, '\n', available);
        const std::size_t length =
            newline != nullptr ? static_cast<const char*>(newline) - from + 1 : available;
        reader.start += length;
        if (newline != nullptr && reader.assembled.empty()) {
            line = std::string_view(from, length);
            return true;
        }
        reader.assembled.append(from, length);
        if (newline != nullptr) {
            line = reader.assembled;
            return true;
        }
    }
}

}  // namespace

bool readWholeLine(LineReader& reader, std::string_view& line) {
    if (!readRawLine(reader, line)) return false;
    if (!reader.atFileStart) return true;
    reader.atFileStart = false;
    if (line.substr(0, utf8ByteOrderMark.size()) != utf8ByteOrderMark) return true;
    line.remove_prefix(utf8ByteOrderMark.size());
    return !line.empty() || readRawLine(reader, line);
}

const char* utf16ByteOrder(std::string_view firstLine) {
    if (firstLine.substr(0, 2) == "\xFF\xFE") return "little-endian";
    if (firstLine.substr(0, 2) == "\xFE\xFF") return "big-endian";
    const std::size_t nul = firstLine.find('\0');
    if (nul == std::string_view::npos) return nullptr;
    return nul % 2 == 1 ? "little-endian" : "big-endian";
}
