// One line rewritten with a carriage return; a line left longer than the next is blanked out.
#include "export_progress.h"

#include <unistd.h>

#include <cstdio>

namespace {

bool shown = false;
int lastLength = 0;

void showLine(const char* text) {
    const int length = std::fprintf(stderr, "\rsubdivo-export: %s", text);
    if (length < lastLength) std::fprintf(stderr, "%*s", lastLength - length, "");
    lastLength = length;
    std::fflush(stderr);
}

}  // namespace

void startProgress(bool wanted) { shown = wanted && isatty(STDERR_FILENO) == 1; }

void reportStepFaces(int step, int level, std::int64_t faces) {
    if (!shown) return;
    char text[96];
    std::snprintf(text, sizeof text, "step %d of %d, %lld faces", step, level,
                  static_cast<long long>(faces));
    showLine(text);
}

void reportWriting(std::int64_t facesWritten, std::int64_t faces) {
    if (!shown) return;
    char text[96];
    std::snprintf(text, sizeof text, "writing, %lld of %lld faces",
                  static_cast<long long>(facesWritten), static_cast<long long>(faces));
    showLine(text);
}

void endProgress() {
    if (!shown || lastLength == 0) return;
    std::fprintf(stderr, "\r%*s\r", lastLength, "");
    lastLength = 0;
}
