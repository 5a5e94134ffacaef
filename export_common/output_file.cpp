// Temporary files through mkstemp in the target's own folder, so that the final rename stays
// within one file system and replaces the target in one step.
#include "output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// The temporary files open now, for the signal handler, which may only call unlink on them.
constexpr int mostOpen = 4;
constexpr std::size_t longestPath = 4096;
char openTemporaries[mostOpen][longestPath];
volatile std::sig_atomic_t openFlags[mostOpen];

void remember(const std::string& path) {
    if (path.size() >= longestPath) return;
    for (int slot = 0; slot < mostOpen; ++slot) {
        if (openFlags[slot]) continue;
        std::memcpy(openTemporaries[slot], path.c_str(), path.size() + 1);
        openFlags[slot] = 1;
        return;
    }
}

void forget(const std::string& path) {
    for (int slot = 0; slot < mostOpen; ++slot) {
        if (openFlags[slot] && path == openTemporaries[slot]) openFlags[slot] = 0;
    }
}

extern "C" void removeTemporariesAndEnd(int signalNumber) {
    for (int slot = 0; slot < mostOpen; ++slot) {
        if (openFlags[slot]) unlink(openTemporaries[slot]);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool endsWith(const std::string& text, const char* ending) {
    const std::size_t length = std::strlen(ending);
    return text.size() >= length && text.compare(text.size() - length, length, ending) == 0;
}

// The mode a file created with open(..., 0666) would get: mkstemp makes it 0600.
mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The names under which a process reaches its own open descriptors.
bool isDescriptorName(const std::string& path) {
    const std::string ownProc = "/proc/" + std::to_string(getpid()) + "/fd/";
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                      std::string("/proc/thread-self/fd/"), ownProc}) {
        if (path.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return path == "/dev/stdout" || path == "/dev/stderr" || path == "/dev/stdin";
}

// Follows symbolic links by hand (a descriptor's link leads straight to its file, so realpath
// would hide it) and looks for a descriptor name on the way.
bool namesOpenDescriptor(std::string path) {
    for (int hops = 0; hops < 16; ++hops) {
        if (isDescriptorName(path)) return true;
        char target[longestPath];
        const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
        if (length <= 0) return false;
        const std::string next(target, std::size_t(length));
        path = next[0] == '/' ? next : folderOf(path) + "/" + next;
    }
    return false;
}

// Closes the stream; false (errno tells why) when the last writes fail.
bool closeAside(AsideFile& file) {
    const bool closed = std::fclose(file.stream) == 0;
    file.stream = nullptr;
    return closed;
}

}  // namespace

std::string materialLibraryPath(const std::string& objPath) {
    if (endsWith(objPath, ".obj") || endsWith(objPath, ".OBJ")) {
        return objPath.substr(0, objPath.size() - 4) + ".mtl";
    }
    return objPath + ".mtl";
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isWrittenInPlace(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return true;
    return namesOpenDescriptor(path);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string resolvedTarget(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

bool openAside(AsideFile& file, const std::string& target) {
    file.target = target;
    struct stat status;
    if (stat(target.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    file.temporary = folderOf(target) + "/." + fileNameOf(target) + ".XXXXXX";
    const int descriptor = mkstemp(file.temporary.data());
    if (descriptor < 0) return false;
    remember(file.temporary);
    if (fchmod(descriptor, newFileMode()) != 0 ||
        (file.stream = fdopen(descriptor, "wb")) == nullptr) {
        const int error = errno;
        close(descriptor);
        discardAside(file);
        errno = error;
        return false;
    }
    return true;
}

bool commitAside(AsideFile& file) {
    if (closeAside(file) && std::rename(file.temporary.c_str(), file.target.c_str()) == 0) {
        forget(file.temporary);
        return true;
    }
    const int error = errno;
    discardAside(file);
    errno = error;
    return false;
}

PairCommit commitPair(AsideFile& first, AsideFile& second) {
    const bool closed = closeAside(first) && closeAside(second);
    const std::string kept = first.temporary + ".kept";
    struct stat status;
    const bool existed = lstat(first.target.c_str(), &status) == 0;
    // Without a second name (a file system without hard links) an existing first target
    // cannot be put back: the failure is then told as it is.
    const bool keeping = closed && existed && link(first.target.c_str(), kept.c_str()) == 0;
    if (!closed || std::rename(first.temporary.c_str(), first.target.c_str()) != 0) {
        const int error = errno;
        if (keeping) unlink(kept.c_str());
        discardAside(first);
        discardAside(second);
        errno = error;
        return PairCommit::neither;
    }
    forget(first.temporary);
    if (std::rename(second.temporary.c_str(), second.target.c_str()) == 0) {
        forget(second.temporary);
        if (keeping) unlink(kept.c_str());
        return PairCommit::both;
    }
    const int error = errno;
    discardAside(second);
    const bool restored = keeping    ? std::rename(kept.c_str(), first.target.c_str()) == 0
                          : !existed ? unlink(first.target.c_str()) == 0
                                     : false;
    errno = error;
    return restored ? PairCommit::neither : PairCommit::firstOnly;
}

void discardAside(AsideFile& file) {
    if (file.stream != nullptr) std::fclose(file.stream);
    file.stream = nullptr;
    unlink(file.temporary.c_str());
    forget(file.temporary);
}

void removeAsideFilesOnSignals() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) {
        std::signal(signalNumber, removeTemporariesAndEnd);
    }
}
