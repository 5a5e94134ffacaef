/* Preloaded into a desktop program (LD_PRELOAD) to count its frames: every glXSwapBuffers is
 * counted, and each time SWAP_COUNTER_SECONDS (default 2) have passed, the frames per second
 * since the last report are written to standard error as "fps N". Used by frame_rates.sh. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*SwapFunction)(void*, unsigned long);

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static SwapFunction swap = NULL;
    static long frames = 0;
    static double since = 0.0;
    static double period = 0.0;
    if (swap == NULL) {
        swap = (SwapFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
        const char* seconds = getenv("SWAP_COUNTER_SECONDS");
        period = seconds != NULL ? atof(seconds) : 2.0;
        since = now();
    }
    swap(display, drawable);
    ++frames;
    const double elapsed = now() - since;
    if (elapsed >= period) {
        fprintf(stderr, "fps %.1f\n", (double)frames / elapsed);
        frames = 0;
        since = now();
    }
}
