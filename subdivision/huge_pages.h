// A hint that a large, freshly obtained and still untouched block should be backed by huge
// pages: filling a model of millions of faces otherwise costs a page fault every 4 KiB, which
// takes longer than the filling itself.
#pragma once

#include <cstddef>

// Asks the system to back the whole 2 MiB pages inside the block with huge pages. Blocks under
// a few MiB, and systems without the feature, are left alone; the block's contents and owner
// do not change.
void adviseHugePages(void* block, std::size_t bytes);
