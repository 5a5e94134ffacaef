// What the fuzzer does with one input, shared with the regression test that replays the kept
// inputs in the normal build: the bytes as an OBJ file through the loader, then two
// subdivision levels, then everything released.
#pragma once

#include <cstddef>
#include <cstdint>

// Writes the bytes to a private temporary file, loads it, and when it loads builds subdivision
// levels 1 and 2 of it (within a small memory budget); releases all it obtained.
void loadAndSubdivide(const std::uint8_t* data, std::size_t size);
