// Progress of a long export on the error stream: the subdivision step under way and the faces
// written so far, on one line that is rewritten in place. Shown only on a terminal.
#pragma once

#include <cstdint>

// Shows progress from now on when `wanted` and the error stream is a terminal.
void startProgress(bool wanted);

// A step of the level driver done: "step k of n, F faces".
void reportStepFaces(int step, int level, std::int64_t faces);

// Fits the writer's WriteProgress: "writing, W of F faces".
void reportWriting(std::int64_t facesWritten, std::int64_t faces);

// Clears the progress line, so that what follows starts on a clean line.
void endProgress();
