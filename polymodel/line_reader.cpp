// Line reading in blocks: a line that lies within the block is handed out in place, one that
// crosses the block's end is copied together.
#include "line_reader.h"

#include <cstring>

bool readWholeLine(LineReader& reader, std::string_view& line) {
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
