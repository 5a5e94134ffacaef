// The two-pass OBJ loader. Both passes read whole lines with the same reader (line_reader.h) and
// decide with the same helpers (obj_face_references.h) which face lines count and how they split
// into references, so the reading pass never stores more, or other, entries than the counting
// pass sized the arrays for.
#include "obj_loader.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "line_reader.h"
#include "obj_face_references.h"
#include "obj_numbers.h"
#include "vertex_normals.h"

namespace {

std::FILE* chosenReportStream = nullptr;
bool reportStreamChosen = false;

// The report and warnings: on standard output unless another stream (or none) was chosen.
__attribute__((format(printf, 1, 2))) void report(const char* format, ...) {
    std::FILE* out = reportStreamChosen ? chosenReportStream : stdout;
    if (out == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(out, format, arguments);
    va_end(arguments);
}

constexpr float loadedFaceColor[3] = {1.0f, 0.85f, 0.4f};
constexpr std::int32_t largestCount = INT32_MAX;

bool startsVertexData(std::string_view line, char second) {
    return line.size() >= 2 && line[0] == 'v' && line[1] == second;
}

// ---- Counting pass ---------------------------------------------------------------------------

bool countOneMore(std::int32_t& count) {
    if (count == largestCount) {
        std::fprintf(stderr, "error: the file holds more entries than a model can!\n");
        return false;
    }
    ++count;
    return true;
}

// How many counted face lines carry each optional kind of index: a kind is carried by the model
// only when every face carries it, whatever the order of the lines.
struct FaceKinds {
    std::int32_t withTexCoords = 0;
    std::int32_t withNormals = 0;
};

bool countFaceLine(std::string_view line, ObjModel* model, FaceKinds& kinds) {
    CornerReference first;
    if (!parseFirstReference(line, first)) {
        std::fprintf(stderr, "Error: found face with no vertex!\n");
        return true;
    }
    if (first.hasTexCoord) ++kinds.withTexCoords;
    if (first.hasNormal) ++kinds.withNormals;
    return countOneMore(model->numFaces);
}

// Sets a flag when every face carries its kind; when only some do, none is read and a warning
// says so, since reading them from some faces alone would leave the others without.
std::int32_t kindFlag(std::int32_t carrying, std::int32_t faces, const char* kind) {
    if (carrying > 0 && carrying < faces) {
        report("Warning: only %i of the %i faces %s %s: all faces are read without them!\n",
               carrying, faces, carrying == 1 ? "carries" : "carry", kind);
    }
    return faces > 0 && carrying == faces ? 1 : 0;
}

bool countVertexDataLine(std::string_view line, ObjModel* model) {
    if (startsVertexData(line, ' ')) return countOneMore(model->numVertices);
    if (startsVertexData(line, 't')) return countOneMore(model->numTexCoords);
    if (startsVertexData(line, 'n')) return countOneMore(model->numNormals);
    report("Warning: unknown token \"%.*s\"! (ignoring)\n", static_cast<int>(line.size()),
           line.data());
    return true;
}

// A UTF-16 file would read as lines of unknown tokens and then as a file without vertices:
// says what it is instead.
bool isUtf16(std::string_view firstLine) {
    const char* byteOrder = utf16ByteOrder(firstLine);
    if (byteOrder == nullptr) return false;
    std::fprintf(stderr, "error: the file is UTF-16 text (%s); save it as UTF-8 or ASCII!\n",
                 byteOrder);
    return true;
}

const char* yesOrNo(std::int32_t flag) { return flag ? "yes" : "no"; }

void printFirstPassReport(const ObjModel* model) {
    report("first pass results: found\n");
    report("   * %i vertices\n", model->numVertices);
    report("   * %i texture coords.\n", model->numTexCoords);
    report("   * %i normal vectors\n", model->numNormals);
    report("   * %i faces\n", model->numFaces);
    report("   * has texture coords.: %s\n", yesOrNo(model->hasTexCoords));
    report("   * has normals: %s\n", yesOrNo(model->hasNormals));
}

// ---- Reading pass ----------------------------------------------------------------------------

// Where the reading pass stands: the next free entry of each array and the line number.
struct ReadCursor {
    std::int32_t vertices = 0;
    std::int32_t texCoords = 0;
    std::int32_t normals = 0;
    std::int32_t faces = 0;
    long line = 0;
};

bool reportChangedFile() {
    std::fprintf(stderr, "Error: the file changed while it was being read!\n");
    return false;
}

// Takes the next entry of an array sized by the counting pass; the two passes agree, so only a
// file that changed in between can run past the end.
template <typename T>
T* takeEntry(T* array, std::int32_t& cursor, std::int32_t count) {
    if (cursor >= count) return nullptr;
    return &array[cursor++];
}

// Reads up to `wanted` numbers of a "v", "vt" or "vn" line (after its keyword) into `values`;
// fewer than `needed` prints `error` and fails.
bool readEntryNumbers(std::string_view line, float* values, int wanted, int needed,
                      const char* error) {
    if (parseFloats(line.data() + 2, line.data() + line.size(), values, wanted) >= needed)
        return true;
    std::fputs(error, stderr);
    return false;
}

// Three numbers are a position; exactly four, a position and its w. More are a position and
// a colour (r, g, b, and maybe a), as scanners and sculpting tools write them: w is then 1 and
// the colour is not kept.
bool readVertexLine(std::string_view line, ObjModel* model, ReadCursor& at) {
    constexpr int withWeight = 4;
    float values[withWeight + 1] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    const int read =
        parseFloats(line.data() + 2, line.data() + line.size(), values, withWeight + 1);
    if (read < 3) {
        std::fputs("Error reading vertex data!\n", stderr);
        return false;
    }
    const float xyzw[4] = {values[0], values[1], values[2], read == withWeight ? values[3] : 1.0f};
    Vec4f* vertex = takeEntry(model->vertices, at.vertices, model->numVertices);
    if (vertex == nullptr) return reportChangedFile();
    *vertex = {xyzw[0], xyzw[1], xyzw[2], xyzw[3]};
    return true;
}

bool readTexCoordLine(std::string_view line, ObjModel* model, ReadCursor& at) {
    float uvw[3] = {0.0f, 0.0f, 0.0f};
    if (!readEntryNumbers(line, uvw, 3, 1, "Error reading texture coordinates!\n")) return false;
    Vec3f* texCoord = takeEntry(model->texCoords, at.texCoords, model->numTexCoords);
    if (texCoord == nullptr) return reportChangedFile();
    *texCoord = {uvw[0], uvw[1], uvw[2]};
    return true;
}

bool readNormalLine(std::string_view line, ObjModel* model, ReadCursor& at) {
    float xyz[3] = {0.0f, 0.0f, 0.0f};
    if (!readEntryNumbers(line, xyz, 3, 3, "Error reading normal vectors!\n")) return false;
    Vec3f* normal = takeEntry(model->normals, at.normals, model->numNormals);
    if (normal == nullptr) return reportChangedFile();
    *normal = {xyz[0], xyz[1], xyz[2]};
    return true;
}

// Turns a file index into an array index: positive ones count from 1, negative ones back from
// the entries read so far. -1 when it names no entry.
std::int32_t resolveIndex(long long fileIndex, std::int32_t readSoFar, std::int32_t count) {
    long long index = fileIndex > 0 ? fileIndex - 1 : readSoFar + fileIndex;
    if (fileIndex == 0 || index < 0 || index >= count) return -1;
    return static_cast<std::int32_t>(index);
}

bool reportBadIndex(long line, const char* kind, long long fileIndex, std::int32_t readSoFar,
                    std::int32_t count) {
    if (fileIndex == 0) {
        std::fprintf(stderr, "Error: face on line %ld refers to %s 0, but indices count from 1!\n",
                     line, kind);
    } else if (fileIndex > 0) {
        std::fprintf(stderr,
                     "Error: face on line %ld refers to %s %lld, but the file has only %d!\n", line,
                     kind, fileIndex, count);
    } else {
        std::fprintf(stderr, "Error: face on line %ld refers to %s %lld, but only %d precede it!\n",
                     line, kind, fileIndex, readSoFar);
    }
    return false;
}

bool reportMissingIndex(long line, const char* kind) {
    std::fprintf(
        stderr, "Error: face on line %ld has a corner without the %s index that the faces carry!\n",
        line, kind);
    return false;
}

// Checks one kind of index of a corner and stores it, zero-based.
bool storeIndex(long long fileIndex, std::int32_t readSoFar, std::int32_t count, long line,
                const char* kind, std::int32_t& slot) {
    slot = resolveIndex(fileIndex, readSoFar, count);
    if (slot < 0) return reportBadIndex(line, kind, fileIndex, readSoFar, count);
    return true;
}

// Stores the corners' indices of the kinds the model carries; any corner that lacks one, or
// names an entry that doesn't exist, refuses the face.
bool storeCorners(const std::vector<CornerReference>& corners, const ObjModel* model,
                  const ReadCursor& at, ObjFace& face) {
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const CornerReference& ref = corners[i];
        if (!storeIndex(ref.vertex, at.vertices, model->numVertices, at.line, "vertex",
                        face.vertexIndices[i]))
            return false;
        if (model->hasTexCoords) {
            if (!ref.hasTexCoord) return reportMissingIndex(at.line, "texture coord.");
            if (!storeIndex(ref.texCoord, at.texCoords, model->numTexCoords, at.line,
                            "texture coord.", face.texCoordIndices[i]))
                return false;
        }
        if (model->hasNormals) {
            if (!ref.hasNormal) return reportMissingIndex(at.line, "normal");
            if (!storeIndex(ref.normal, at.normals, model->numNormals, at.line, "normal",
                            face.normalIndices[i]))
                return false;
        }
    }
    return true;
}

std::int32_t* obtainIndexArray(std::int32_t corners) {
    return static_cast<std::int32_t*>(std::malloc(sizeof(std::int32_t) * corners));
}

// Gives the face its colour, primitive and index arrays; false when memory runs out.
bool prepareFace(ObjFace& face, std::int32_t corners, const ObjModel* model) {
    for (int c = 0; c < 3; ++c) face.color[c] = loadedFaceColor[c];
    face.primitive = primitiveForCorners(corners);
    face.numVertices = corners;
    face.vertexIndices = obtainIndexArray(corners);
    if (model->hasTexCoords) face.texCoordIndices = obtainIndexArray(corners);
    if (model->hasNormals) face.normalIndices = obtainIndexArray(corners);
    return face.vertexIndices != nullptr &&
           (!model->hasTexCoords || face.texCoordIndices != nullptr) &&
           (!model->hasNormals || face.normalIndices != nullptr);
}

bool readFaceLine(std::string_view line, ObjModel* model, ReadCursor& at,
                  std::vector<CornerReference>& corners) {
    CornerReference first;
    if (!parseFirstReference(line, first)) return true;  // not counted, already reported
    parseCornerReferences(line, corners);
    if (corners.size() < 3) {
        std::fprintf(stderr, "Error: a face must have at least 3 vertices!\n");
        return false;
    }
    if (corners.size() > static_cast<std::size_t>(largestCount)) {
        std::fprintf(stderr, "Error: face on line %ld has too many corners!\n", at.line);
        return false;
    }
    ObjFace* face = takeEntry(model->faces, at.faces, model->numFaces);
    if (face == nullptr) return reportChangedFile();
    if (!prepareFace(*face, static_cast<std::int32_t>(corners.size()), model)) return false;
    return storeCorners(corners, model, at, *face);
}

bool readLine(std::string_view line, ObjModel* model, ReadCursor& at,
              std::vector<CornerReference>& corners) {
    if (line[0] == 'f') return readFaceLine(line, model, at, corners);
    if (startsVertexData(line, ' ')) return readVertexLine(line, model, at);
    if (startsVertexData(line, 't')) return readTexCoordLine(line, model, at);
    if (startsVertexData(line, 'n')) return readNormalLine(line, model, at);
    return true;
}

void printSecondPassReport(const ReadCursor& at) {
    report("second pass results: read\n");
    report("   * %i vertices\n", at.vertices);
    report("   * %i texture coords.\n", at.texCoords);
    report("   * %i normal vectors\n", at.normals);
    report("   * %i faces\n", at.faces);
}

bool storedAsCounted(const ReadCursor& at, const ObjModel* model) {
    return at.vertices == model->numVertices && at.texCoords == model->numTexCoords &&
           at.normals == model->numNormals && at.faces == model->numFaces;
}

// A folder opens for reading on some systems, and then reads as an empty file.
bool isFolder(std::FILE* file) {
    struct stat status;
    return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

// ---- Public passes -------------------------------------------------------------------------

bool countObjFile(std::FILE* file, ObjModel* model) {
    LineReader reader;
    reader.file = file;
    std::string_view line;
    FaceKinds kinds;
    bool firstLine = true;
    while (readWholeLine(reader, line)) {
        if (firstLine && isUtf16(line)) return false;
        firstLine = false;
        const bool counted = line[0] == 'f'   ? countFaceLine(line, model, kinds)
                             : line[0] == 'v' ? countVertexDataLine(line, model)
                                              : true;
        if (!counted) return false;
    }
    model->hasTexCoords = kindFlag(kinds.withTexCoords, model->numFaces, "texture coords.");
    model->hasNormals = kindFlag(kinds.withNormals, model->numFaces, "normals");
    if ((model->hasTexCoords && model->numTexCoords == 0) ||
        (model->hasNormals && model->numNormals == 0)) {
        std::fprintf(stderr, "error: contradiction between collected info!\n");
        return false;
    }
    if (model->numVertices == 0) {
        std::fprintf(stderr, "error: no vertex found!\n");
        return false;
    }
    printFirstPassReport(model);
    return true;
}

bool readObjFile(std::FILE* file, ObjModel* model) {
    ReadCursor at;
    LineReader reader;
    reader.file = file;
    std::string_view line;
    std::vector<CornerReference> corners;
    while (readWholeLine(reader, line)) {
        ++at.line;
        if (!readLine(line, model, at, corners)) return false;
    }
    if (!storedAsCounted(at, model)) return reportChangedFile();
    printSecondPassReport(at);
    return true;
}

void setLoaderReportStream(std::FILE* stream) {
    chosenReportStream = stream;
    reportStreamChosen = true;
}

bool loadObjFile(const char* path, ObjModel* model) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        std::fprintf(stderr, "Error: couldn't open \"%s\"!\n", path);
        return false;
    }
    if (isFolder(file)) {
        std::fprintf(stderr, "Error: \"%s\" is a folder, not an OBJ file!\n", path);
        std::fclose(file);
        return false;
    }
    *model = ObjModel{};
    bool loaded = countObjFile(file, model);
    if (loaded) {
        std::rewind(file);
        loaded = allocateModelArrays(model) && readObjFile(file, model);
        if (!loaded) freeModelArrays(model);
    }
    if (loaded && model->hasNormals) computeVertexNormals(model);
    std::fclose(file);
    return loaded;
}
