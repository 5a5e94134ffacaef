// Work split over threads by ranges of an index: each thread fills its own part of the output,
// so the result is the same, bit for bit, whatever the number of threads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// The start of part `part` of `parts` nearly equal parts of [0, count).
inline std::int64_t rangeStart(std::int64_t count, int parts, int part) {
    return count * part / parts;
}

// How many parts inParallelRanges splits [0, count) into for `threads` threads: at least one,
// at most one per index.
inline int rangeParts(std::int64_t count, int threads) {
    return static_cast<int>(std::max<std::int64_t>(1, std::min<std::int64_t>(threads, count)));
}

// Calls work(begin, end, part) for each of `threads` parts of [0, count), the first on the
// calling thread and each other on a thread of its own (or on the calling thread too when the
// system gives no more threads); at most one part per index, one part alone for threads < 2. True when every part returned true; a part
// that runs out of storage counts as false, so no exception leaves a thread.
template <typename Work>
bool inParallelRanges(std::int64_t count, int threads, Work work) {
    const int parts = rangeParts(count, threads);
    std::vector<char> done(static_cast<std::size_t>(parts), 0);
    const auto runPart = [&](int part) {
        try {
            done[part] =
                work(rangeStart(count, parts, part), rangeStart(count, parts, part + 1), part) ? 1
                                                                                               : 0;
        } catch (const std::bad_alloc&) {
            done[part] = 0;
        }
    };
    std::vector<std::thread> others;
    others.reserve(static_cast<std::size_t>(parts));
    for (int part = 1; part < parts; ++part) {
        try {
            others.emplace_back(runPart, part);
        } catch (const std::system_error&) {
            runPart(part);  // no thread to be had: the part runs here, with the same result
        }
    }
    runPart(0);
    for (std::thread& t : others) t.join();
    return std::all_of(done.begin(), done.end(), [](char d) { return d != 0; });
}
