// libFuzzer entry: every input is an OBJ file loaded and subdivided twice.
#include <cstddef>
#include <cstdint>

#include "obj_subdivision_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    loadAndSubdivide(data, size);
    return 0;
}
