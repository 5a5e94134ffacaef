// Failing operator new for tests; the general allocator underneath.
#include "failing_new.h"

#include <cstdlib>
#include <new>

long newCallsBeforeFailure = -1;

void* operator new(std::size_t size) {
    if (newCallsBeforeFailure == 0) throw std::bad_alloc();
    if (newCallsBeforeFailure > 0) --newCallsBeforeFailure;
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
