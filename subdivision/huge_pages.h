// A hint that a large, freshly obtained and still untouched block should be backed by huge
// pages: filling a model of millions of faces otherwise costs a page fault every 4 KiB, which
// takes longer than the filling itself.
#pragma once

#include <cstddef>
#include <vector>

// Asks the system to back the whole 2 MiB pages inside the block with huge pages. Blocks under
// a few MiB, and systems without the feature, are left alone; the block's contents and owner
// do not change.
void adviseHugePages(void* block, std::size_t bytes);

// Makes `array` an array of `count` copies of `value`, its storage hinted first.
template <typename T>
void assignLarge(std::vector<T>& array, std::size_t count,
                 typename std::vector<T>::value_type value) {
    if (array.capacity() < count) {
        std::vector<T>().swap(array);
        array.reserve(count);
        adviseHugePages(array.data(), count * sizeof(T));
    }
    array.assign(count, value);
}
