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

bool isSpecialFile(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
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
    const bool closed = std::fclose(file.stream) == 0;
    file.stream = nullptr;
    if (closed && std::rename(file.temporary.c_str(), file.target.c_str()) == 0) {
        forget(file.temporary);
        return true;
    }
    const int error = errno;
    discardAside(file);
    errno = error;
    return false;
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
