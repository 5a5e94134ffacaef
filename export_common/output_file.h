// The files an export writes, each written aside and put in place whole: a hidden temporary
// file in the target's folder, renamed over the target only once it is complete, so that a
// failure or an interruption never leaves a half-written file under the target's name.
#pragma once

#include <cstdio>
#include <string>

struct AsideFile {
    std::string target;
    std::string temporary;
    std::FILE* stream = nullptr;
};

// The material library that goes with an OBJ file: its name with ".obj" replaced by ".mtl",
// or with ".mtl" added when it does not end in ".obj".
std::string materialLibraryPath(const std::string& objPath);

// The last component of a path: what an OBJ file names its material library by.
std::string fileNameOf(const std::string& path);

// True when `path` is written in place, as a stream, with no material library beside it:
// it names something other than a regular file or nothing (a device such as /dev/null, a
// pipe), or one of the program's open descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N),
// even one that leads to a regular file: renaming over it would replace what it leads to.
bool isWrittenInPlace(const std::string& path);

// True when both paths exist and are the same file.
bool sameFile(const std::string& a, const std::string& b);

// The path a rename must replace to write `path`: the file a symbolic link leads to, so that
// the link stays; `path` itself when it is no link.
std::string resolvedTarget(const std::string& path);

// Creates the temporary file in the target's folder, readable as a new file would be. False
// (errno tells why) when it cannot be created, or when the target is a folder (EISDIR), which
// no file can replace.
bool openAside(AsideFile& file, const std::string& target);

// Closes the stream and renames the temporary file over the target. False (errno tells why)
// when either fails; the temporary file is then gone.
bool commitAside(AsideFile& file);

enum class PairCommit { both, neither, firstOnly };

// Puts two files in place as one: both, or neither, so that a model and its material library
// never come from different runs. The first target, if it exists, keeps a second name (a hard
// link) until the second rename has worked; when it fails, the first target is put back as it
// was, or removed if it was new. firstOnly only when even that fails. errno tells the failure.
// Both temporary files are gone afterwards.
PairCommit commitPair(AsideFile& first, AsideFile& second);

// Closes the stream, if open, and removes the temporary file.
void discardAside(AsideFile& file);

// From now on, SIGINT, SIGTERM, SIGHUP, SIGPIPE and SIGXFSZ (file too large) first remove
// every temporary file still open, then end the program as they would have.
void removeAsideFilesOnSignals();
