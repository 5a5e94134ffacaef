// The text is formatted into one large buffer that goes to the stream whenever it is nearly
// full, with std::to_chars for every number: locale-free and far faster than printf. The
// lines of each section are formatted a round at a time: a round's lines split into ranges
// over the threads, each formatting its own range into a buffer of its own, and the buffers
// then go to the stream in order, so the text is the same for every number of threads.
#include "obj_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "parallel_ranges.h"

namespace {

constexpr std::size_t bufferBytes = std::size_t{1} << 20;
constexpr std::size_t longestEntry = 128;  // a "v", "vt", "vn" or corner reference, and more
// Lines per thread in a round: about a megabyte of text (faces of four corners with normals
// at a fine level), which each thread's buffer holds until the round is written; the faces'
// progress is told after each round.
constexpr std::int64_t linesPerPart = std::int64_t{1} << 14;

// With no stream (`out` null) the buffer grows instead: a thread's part of a round.
struct TextBuffer {
    std::FILE* out;
    std::vector<char> data = std::vector<char>(bufferBytes);
    std::size_t used = 0;
    std::int64_t handedOver = 0;
    bool failed = false;
};

void flush(TextBuffer& buffer) {
    if (buffer.used == 0 || buffer.failed) {
        buffer.used = 0;
        return;
    }
    if (std::fwrite(buffer.data.data(), 1, buffer.used, buffer.out) != buffer.used) {
        buffer.failed = true;
    }
    buffer.handedOver += std::int64_t(buffer.used);
    buffer.used = 0;
}

// A place for `bytes` more characters; the caller advances `used` past what it wrote.
char* room(TextBuffer& buffer, std::size_t bytes) {
    if (buffer.used + bytes > buffer.data.size()) {
        if (buffer.out != nullptr) {
            flush(buffer);
        } else {
            buffer.data.resize(std::max(2 * buffer.data.size(), buffer.used + bytes));
        }
    }
    return buffer.data.data() + buffer.used;
}

void advanceTo(TextBuffer& buffer, const char* end) {
    buffer.used = std::size_t(end - buffer.data.data());
}

void append(TextBuffer& buffer, std::string_view text) {
    if (text.size() > buffer.data.size() && buffer.out != nullptr) {
        flush(buffer);
        if (!buffer.failed && std::fwrite(text.data(), 1, text.size(), buffer.out) != text.size()) {
            buffer.failed = true;
        }
        buffer.handedOver += std::int64_t(text.size());
        return;
    }
    char* at = room(buffer, text.size());
    std::memcpy(at, text.data(), text.size());
    advanceTo(buffer, at + text.size());
}

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* formatIndex(char* at, std::int32_t zeroBased) {
    return std::to_chars(at, at + 12, std::int64_t{zeroBased} + 1).ptr;
}

// Formats the lines [first, last) of a section, a round at a time, over `threads` threads:
// format(into, roundFirst, begin, end, part) writes the lines [begin, end) of the round that
// starts at roundFirst into `into`. After each round, roundDone(last, parts) is told how
// many parts formatted it (one when the round went straight into `buffer`, as it does on one
// thread and, with the same text, when a part ran out of memory).
template <typename Format, typename RoundDone>
void writeInRounds(TextBuffer& buffer, std::int64_t count, int threads, Format format,
                   RoundDone roundDone) {
    const std::int64_t perRound = linesPerPart * std::max(1, threads);
    std::vector<TextBuffer> parts;
    // Empty at first: the parts obtain their memory on their own threads, where running out
    // of it is caught.
    if (threads > 1) parts.assign(std::size_t(threads), TextBuffer{nullptr, {}});
    for (std::int64_t first = 0; first < count; first += perRound) {
        const std::int64_t last = std::min(count, first + perRound);
        const bool split =
            threads > 1 &&
            inParallelRanges(last - first, threads, [&](std::int64_t b, std::int64_t e, int p) {
                parts[std::size_t(p)].used = 0;
                format(parts[std::size_t(p)], first, first + b, first + e, p);
                return true;
            });
        if (!split) format(buffer, first, first, last, 0);
        const int used = split ? rangeParts(last - first, threads) : 1;
        for (int p = 0; split && p < used; ++p) {
            const TextBuffer& part = parts[std::size_t(p)];
            if (part.used > 0) append(buffer, std::string_view(part.data.data(), part.used));
        }
        roundDone(last, used);
    }
}

void writeVertices(TextBuffer& buffer, const ObjModel& model, std::int64_t begin, std::int64_t end,
                   bool weights) {
    for (std::int64_t i = begin; i < end; ++i) {
        const Vec4f& v = model.vertices[i];
        char* at = put(room(buffer, longestEntry), "v ");
        at = formatFloat(at, v.x);
        *at++ = ' ';
        at = formatFloat(at, v.y);
        *at++ = ' ';
        at = formatFloat(at, v.z);
        if (weights && v.w != 1.0f) {
            *at++ = ' ';
            at = formatFloat(at, v.w);
        }
        *at++ = '\n';
        advanceTo(buffer, at);
    }
}

void writeTriples(TextBuffer& buffer, std::string_view keyword, const Vec3f* entries,
                  std::int64_t begin, std::int64_t end) {
    for (std::int64_t i = begin; i < end; ++i) {
        char* at = put(room(buffer, longestEntry), keyword);
        at = formatFloat(at, entries[i].x);
        *at++ = ' ';
        at = formatFloat(at, entries[i].y);
        *at++ = ' ';
        at = formatFloat(at, entries[i].z);
        *at++ = '\n';
        advanceTo(buffer, at);
    }
}

void writeFace(TextBuffer& buffer, const ObjFace& face, bool texCoords, bool normals) {
    char* at = put(room(buffer, longestEntry), "f");
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        if (j != 0) at = room(buffer, longestEntry);  // a face may have any number of corners
        *at++ = ' ';
        at = formatIndex(at, face.vertexIndices[j]);
        if (texCoords || normals) *at++ = '/';
        if (texCoords) at = formatIndex(at, face.texCoordIndices[j]);
        if (normals) {
            *at++ = '/';
            at = formatIndex(at, face.normalIndices[j]);
        }
        advanceTo(buffer, at);
    }
    *room(buffer, 1) = '\n';
    ++buffer.used;
}

void writeMaterialUse(TextBuffer& buffer, const FaceMaterial& material) {
    append(buffer, "usemtl ");
    append(buffer, material.name);
    append(buffer, "\n");
}

// What the "f" lines are written from.
struct FaceLines {
    const ObjModel& model;
    const std::vector<FaceMaterial>& materials;
    bool texCoords;
    bool normals;
};

// The material of the last face before `f` written from `from` on (faces of fewer than three
// corners are not written), else `carried`, the material in use at `from`.
int materialBefore(const FaceLines& lines, std::int64_t from, std::int64_t f, int carried) {
    for (std::int64_t g = f - 1; g >= from; --g) {
        const ObjFace& face = lines.model.faces[g];
        if (face.numVertices >= 3) return materialOf(lines.materials, face.color, -1);
    }
    return carried;
}

// A range of faces written after `material` was last used.
struct FaceRun {
    int material;          // in use after the range
    std::int64_t leftOut;  // faces of fewer than three corners in the range
};

// The faces [begin, end), each run of one colour after its "usemtl" line.
FaceRun writeFaceRange(TextBuffer& buffer, const FaceLines& lines, std::int64_t begin,
                       std::int64_t end, int material) {
    FaceRun run{material, 0};
    for (std::int64_t f = begin; f < end; ++f) {
        const ObjFace& face = lines.model.faces[f];
        if (face.numVertices < 3) {
            ++run.leftOut;
            continue;
        }
        const int used = materialOf(lines.materials, face.color, run.material);
        if (used != run.material && used >= 0) writeMaterialUse(buffer, lines.materials[used]);
        run.material = used;
        writeFace(buffer, face, lines.texCoords, lines.normals);
    }
    return run;
}

// The faces, a round at a time; returns the faces left out.
std::int64_t writeFaces(TextBuffer& buffer, const ObjModel& model,
                        const std::vector<FaceMaterial>& materials,
                        const ObjWriteSettings& settings) {
    const FaceLines lines{model, materials, model.hasTexCoords != 0, model.hasNormals != 0};
    std::vector<FaceRun> runs(std::size_t(std::max(1, settings.threads)), FaceRun{-1, 0});
    int material = -1;
    std::int64_t leftOut = 0;
    const auto format = [&](TextBuffer& into, std::int64_t roundFirst, std::int64_t begin,
                            std::int64_t end, int part) {
        const int before = materialBefore(lines, roundFirst, begin, material);
        runs[std::size_t(part)] = writeFaceRange(into, lines, begin, end, before);
    };
    const auto roundDone = [&](std::int64_t written, int parts) {
        for (int p = 0; p < parts; ++p) leftOut += runs[std::size_t(p)].leftOut;
        material = runs[std::size_t(parts) - 1].material;
        if (settings.progress != nullptr && written < model.numFaces) {
            settings.progress(written, model.numFaces);
        }
    };
    writeInRounds(buffer, model.numFaces, settings.threads, format, roundDone);
    if (settings.progress != nullptr) settings.progress(model.numFaces, model.numFaces);
    return leftOut;
}

// The "v", "vt" and "vn" lines.
void writeVertexLines(TextBuffer& buffer, const ObjModel& model, const ObjWriteSettings& settings) {
    const auto none = [](std::int64_t, int) {};
    writeInRounds(
        buffer, model.numVertices, settings.threads,
        [&](TextBuffer& into, std::int64_t, std::int64_t begin, std::int64_t end, int) {
            writeVertices(into, model, begin, end, settings.weights);
        },
        none);
    writeInRounds(
        buffer, model.numTexCoords, settings.threads,
        [&](TextBuffer& into, std::int64_t, std::int64_t begin, std::int64_t end, int) {
            writeTriples(into, "vt ", model.texCoords, begin, end);
        },
        none);
    writeInRounds(
        buffer, model.numNormals, settings.threads,
        [&](TextBuffer& into, std::int64_t, std::int64_t begin, std::int64_t end, int) {
            writeTriples(into, "vn ", model.normals, begin, end);
        },
        none);
}

}  // namespace

char* formatFloat(char* at, float value) { return std::to_chars(at, at + 16, value).ptr; }

ObjWriteResult writeObjText(const ObjModel& model, const std::vector<FaceMaterial>& materials,
                            const ObjWriteSettings& settings, std::FILE* out) {
    TextBuffer buffer{out};
    if (settings.comment != nullptr) {
        append(buffer, "# ");
        append(buffer, settings.comment);
        append(buffer, "\n");
    }
    if (settings.materialLibrary != nullptr) {
        append(buffer, "mtllib ");
        append(buffer, settings.materialLibrary);
        append(buffer, "\n");
    }
    writeVertexLines(buffer, model, settings);
    const std::int64_t leftOut = writeFaces(buffer, model, materials, settings);
    flush(buffer);
    const bool written = !buffer.failed && std::fflush(out) == 0;
    return {written, buffer.handedOver, leftOut};
}

bool writeMaterialLibrary(const std::vector<FaceMaterial>& materials, std::FILE* out) {
    TextBuffer buffer{out};
    append(buffer, "# The colours of the kinds of faces, as Subdivo shows them unlit.\n");
    for (const FaceMaterial& material : materials) {
        char* at = put(room(buffer, longestEntry + material.name.size()), "\nnewmtl ");
        at = put(at, material.name);
        at = put(at, "\nKd ");
        at = formatFloat(at, material.color[0]);
        *at++ = ' ';
        at = formatFloat(at, material.color[1]);
        *at++ = ' ';
        at = formatFloat(at, material.color[2]);
        at = put(at, "\nKs 0 0 0\nillum 1\n");
        advanceTo(buffer, at);
    }
    flush(buffer);
    return !buffer.failed && std::fflush(out) == 0;
}

bool hasHomogeneousWeights(const ObjModel& model) {
    for (std::int32_t i = 0; i < model.numVertices; ++i) {
        if (model.vertices[i].w != 1.0f) return true;
    }
    return false;
}
