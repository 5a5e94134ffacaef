// The test program's own operator new and delete, the general allocator underneath, noting
// when the watched record's memory is given back.
#include "record_watch.h"

#include <cstdlib>
#include <new>

namespace {
const void* watchedRecord = nullptr;

void noteRelease(void* memory) {
    if (memory != nullptr && memory == watchedRecord) watchedRecordDestroyed = true;
}
}  // namespace

bool watchedRecordDestroyed = false;

void watch(const void* record) {
    watchedRecord = record;
    watchedRecordDestroyed = false;
}

void* operator new(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) std::abort();
    return memory;
}

void operator delete(void* memory) noexcept {
    noteRelease(memory);
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    noteRelease(memory);
    std::free(memory);
}
