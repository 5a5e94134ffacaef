// One fuzz input through the OBJ loader and the subdivision levels.
#include "obj_subdivision_path.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "obj_loader.h"
#include "obj_model.h"
#include "subdivision_level.h"

namespace {

// Enough for the levels of any small input, far below what would stall a fuzzing run.
constexpr std::uint64_t fuzzBudgetBytes = std::uint64_t{256} << 20;

std::string& temporaryPath() {
    static std::string path;
    return path;
}

void removeTemporaryFile() { std::remove(temporaryPath().c_str()); }

// The one temporary file of this process, made on first use and removed at exit.
const char* temporaryFile() {
    std::string& path = temporaryPath();
    if (path.empty()) {
        char name[] = "/tmp/obj_subdivision_fuzz_XXXXXX";
        const int descriptor = ::mkstemp(name);
        if (descriptor < 0) std::abort();
        ::close(descriptor);
        path = name;
        std::atexit(removeTemporaryFile);
    }
    return path.c_str();
}

bool writeFile(const char* path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

}  // namespace

void loadAndSubdivide(const std::uint8_t* data, std::size_t size) {
    const char* path = temporaryFile();
    if (!writeFile(path, data, size)) std::abort();
    ObjModel base{};
    if (loadObjFile(path, &base)) {
        ObjModel* shown = new ObjModel{};
        if (applySubdivisionLevel(base, shown, 1, fuzzBudgetBytes)) {
            applySubdivisionLevel(base, shown, 2, fuzzBudgetBytes);
        }
        freeModelArrays(shown);
        delete shown;
    }
    freeModelArrays(&base);
}
