// The two-pass OBJ loader. Both passes read whole lines with the same reader and decide with the
// same helpers which face lines count and how they split into references, so the reading pass
// never stores more, or other, entries than the counting pass sized the arrays for.
#include "obj_loader.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr float loadedFaceColor[3] = {1.0f, 0.85f, 0.4f};
constexpr std::int32_t largestCount = INT32_MAX;

// ---- Lines -------------------------------------------------------------------------------

// Hands out the file's lines, newline included, however long they are: each line is a view
// into one large buffer, or, when it runs over the buffer's end, assembled apart.
struct LineReader {
    std::FILE* file = nullptr;
    std::vector<char> chunk = std::vector<char>(std::size_t{1} << 20);
    std::size_t start = 0;   // first byte not yet handed out
    std::size_t filled = 0;  // bytes that the last read put into chunk
    std::string assembled;
};

// The next line of the file; false at the end.
bool readWholeLine(LineReader& reader, std::string_view& line) {
    reader.assembled.clear();
    for (;;) {
        if (reader.start == reader.filled) {
            reader.start = 0;
            reader.filled = std::fread(reader.chunk.data(), 1, reader.chunk.size(), reader.file);
            if (reader.filled == 0) {
                line = reader.assembled;
                return !line.empty();
            }
        }
        const char* from = reader.chunk.data() + reader.start;
        const std::size_t available = reader.filled - reader.start;
        const void* newline = std::memchr(from, '\n', available);
        const std::size_t length =
            newline != nullptr ? static_cast<const char*>(newline) - from + 1 : available;
        reader.start += length;
        if (newline != nullptr && reader.assembled.empty()) {
            line = std::string_view(from, length);
            return true;
        }
        reader.assembled.append(from, length);
        if (newline != nullptr) {
            line = reader.assembled;
            return true;
        }
    }
}

bool startsVertexData(std::string_view line, char second) {
    return line.size() >= 2 && line[0] == 'v' && line[1] == second;
}

// ---- Numbers, read the same way whatever the locale ----------------------------------------

// White space as the C locale knows it, which is what the number conversions skip.
bool isSpaceChar(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* skipSpace(const char* p, const char* end) {
    while (p != end && isSpaceChar(*p)) ++p;
    return p;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// True when the text starts "0x" or "0X" and a hexadecimal mantissa follows, as "%f" takes it.
bool startsHexadecimal(const char* p, const char* end) {
    if (end - p < 3 || p[0] != '0' || (p[1] != 'x' && p[1] != 'X')) return false;
    if (isHexDigit(p[2])) return true;
    return p[2] == '.' && end - p >= 4 && isHexDigit(p[3]);
}

// The one conversion from text to floating point: the unsigned number at `begin`, decimal, or
// hexadecimal digits whose "0x" has been passed over, rounded to the nearest float. Returns
// where it ends, or null when there is none or it lies beyond the float range. Values below
// the range come out as zero or a denormal, as "%f" gives them. Locale-independent.
const char* convertFloat(const char* begin, const char* end, bool hexadecimal, float& value) {
#ifdef __EMSCRIPTEN__
    // The web build's C++ library has no floating-point from_chars. Its strtof and strtod
    // round correctly and know no locale, so the same floats come out bit for bit: strtof on a
    // copy of the number's text ("0x" put back before hexadecimal digits), and where that gives
    // zero or infinity, strtod narrowed to float, as below when from_chars leaves the range.
    if (begin == end || isSpaceChar(*begin)) return nullptr;
    const char* textEnd = begin;
    while (textEnd != end && !isSpaceChar(*textEnd)) ++textEnd;
    const std::ptrdiff_t prefix = hexadecimal ? 2 : 0;
    const std::string text = (hexadecimal ? "0x" : "") + std::string(begin, textEnd);
    char* stop = nullptr;
    const float narrow = std::strtof(text.c_str(), &stop);
    if (stop - text.c_str() <= prefix) return nullptr;
    value = narrow;
    if (narrow == 0.0f || std::isinf(narrow)) {
        const double wide = std::strtod(text.c_str(), nullptr);
        if (!(std::fabs(wide) <= FLT_MAX)) return nullptr;
        value = static_cast<float>(wide);
    }
    return begin + (stop - text.c_str() - prefix);
#else
    const std::chars_format format =
        hexadecimal ? std::chars_format::hex : std::chars_format::general;
    std::from_chars_result result = std::from_chars(begin, end, value, format);
    if (result.ec == std::errc::result_out_of_range) {
        double wide = 0.0;
        result = std::from_chars(begin, end, wide, format);
        if (result.ec != std::errc() || std::fabs(wide) > FLT_MAX) return nullptr;
        value = static_cast<float>(wide);
    }
    return result.ec == std::errc() ? result.ptr : nullptr;
#endif
}

// Reads one number as "%f" does in the C locale: leading white space, a sign, then a decimal
// number with a full stop as separator or a hexadecimal one after "0x". Only finite values
// are numbers here, in every field: infinities and NaNs would poison every normal and
// refinement made from them. `value` is written only when a number was read.
bool parseFloat(const char*& p, const char* end, float& value) {
    const char* q = skipSpace(p, end);
    bool negative = false;
    if (q != end && (*q == '+' || *q == '-')) negative = *q++ == '-';
    if (q != end && (*q == '+' || *q == '-')) return false;
    const bool hexadecimal = startsHexadecimal(q, end);
    float magnitude = 0.0f;
    const char* after = convertFloat(hexadecimal ? q + 2 : q, end, hexadecimal, magnitude);
    if (after == nullptr || !std::isfinite(magnitude)) return false;
    value = negative ? -magnitude : magnitude;
    p = after;
    return true;
}

// Reads up to `wanted` numbers into `values`; returns how many were read before one failed.
// The entries after those keep what they held.
int parseFloats(const char* p, const char* end, float* values, int wanted) {
    int read = 0;
    while (read < wanted && parseFloat(p, end, values[read])) ++read;
    return read;
}

// Reads one integer as "%d" does. It is kept in 64 bits (saturating), so that an index too
// large for the model fails the range check instead of wrapping round into it.
bool parseInteger(const char*& p, const char* end, long long& value) {
    const char* q = skipSpace(p, end);
    bool negative = false;
    if (q != end && (*q == '+' || *q == '-')) negative = *q++ == '-';
    if (q == end || *q < '0' || *q > '9') return false;
    long long magnitude = 0;
    for (; q != end && *q >= '0' && *q <= '9'; ++q) {
        const int digit = *q - '0';
        magnitude = magnitude > (LLONG_MAX - digit) / 10 ? LLONG_MAX : magnitude * 10 + digit;
    }
    value = negative ? -magnitude : magnitude;
    p = q;
    return true;
}

bool expectChar(const char*& p, const char* end, char c) {
    if (p == end || *p != c) return false;
    ++p;
    return true;
}

// ---- Face references -----------------------------------------------------------------------

// One corner of a face line as written in the file: indices from 1, or negative (relative).
struct CornerReference {
    long long vertex = 0;
    long long texCoord = 0;
    long long normal = 0;
    bool hasTexCoord = false;
    bool hasNormal = false;
};

// Tries "v/t/n", "v//n", "v/t" and "v" in this order, each as a prefix of the text.
bool parseReference(const char* begin, const char* end, CornerReference& ref) {
    ref = CornerReference{};
    const char* p = begin;
    if (!parseInteger(p, end, ref.vertex)) return false;
    const char* afterVertex = p;
    if (expectChar(p, end, '/') && parseInteger(p, end, ref.texCoord) && expectChar(p, end, '/') &&
        parseInteger(p, end, ref.normal)) {
        ref.hasTexCoord = ref.hasNormal = true;
        return true;
    }
    p = afterVertex;
    if (expectChar(p, end, '/') && expectChar(p, end, '/') && parseInteger(p, end, ref.normal)) {
        ref.hasNormal = true;
        return true;
    }
    p = afterVertex;
    if (expectChar(p, end, '/') && parseInteger(p, end, ref.texCoord)) {
        ref.hasTexCoord = true;
        return true;
    }
    return true;
}

// Calls visit(begin, end) for each blank-separated word after the line's keyword, in order,
// until visit returns false. Runs of blanks separate like one blank.
template <typename Visit>
void forEachWordAfterKeyword(std::string_view line, Visit visit) {
    const char* p = line.data();
    const char* end = p + line.size();
    while (p != end && *p != ' ') ++p;  // the keyword
    while (p != end) {
        while (p != end && *p == ' ') ++p;
        const char* word = p;
        while (p != end && *p != ' ') ++p;
        if (word != p && !visit(word, p)) return;
    }
}

// The face line's first reference, read from its third character on (after "f "), where
// white space of any kind may come before it: the face counts in both passes exactly when it
// parses, and its form sets the flags.
bool parseFirstReference(std::string_view line, CornerReference& ref) {
    const std::size_t afterKeyword = std::min<std::size_t>(2, line.size());
    return parseReference(line.data() + afterKeyword, line.data() + line.size(), ref);
}

// Every word that parses as a reference is one corner; words that don't (a trailing carriage
// return, stray text) make none.
void parseCornerReferences(std::string_view line, std::vector<CornerReference>& corners) {
    corners.clear();
    CornerReference ref;
    forEachWordAfterKeyword(line, [&](const char* begin, const char* end) {
        if (parseReference(begin, end, ref)) corners.push_back(ref);
        return true;
    });
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

bool countFaceLine(std::string_view line, ObjModel* model) {
    CornerReference first;
    if (!parseFirstReference(line, first)) {
        std::fprintf(stderr, "Error: found face with no vertex!\n");
        return true;
    }
    model->hasTexCoords = first.hasTexCoord ? 1 : 0;
    model->hasNormals = first.hasNormal ? 1 : 0;
    return countOneMore(model->numFaces);
}

bool countVertexDataLine(std::string_view line, ObjModel* model) {
    if (startsVertexData(line, ' ')) return countOneMore(model->numVertices);
    if (startsVertexData(line, 't')) return countOneMore(model->numTexCoords);
    if (startsVertexData(line, 'n')) return countOneMore(model->numNormals);
    std::printf("Warning: unknown token \"%.*s\"! (ignoring)\n", static_cast<int>(line.size()),
                line.data());
    return true;
}

const char* yesOrNo(std::int32_t flag) { return flag ? "yes" : "no"; }

void printFirstPassReport(const ObjModel* model) {
    std::printf("first pass results: found\n");
    std::printf("   * %i vertices\n", model->numVertices);
    std::printf("   * %i texture coords.\n", model->numTexCoords);
    std::printf("   * %i normal vectors\n", model->numNormals);
    std::printf("   * %i faces\n", model->numFaces);
    std::printf("   * has texture coords.: %s\n", yesOrNo(model->hasTexCoords));
    std::printf("   * has normals: %s\n", yesOrNo(model->hasNormals));
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

bool readVertexLine(std::string_view line, ObjModel* model, ReadCursor& at) {
    float xyzw[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    if (!readEntryNumbers(line, xyzw, 4, 3, "Error reading vertex data!\n")) return false;
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
        std::fprintf(stderr, "Error: face on line %ld refers to %s %lld, but the file has only %d!\n",
                     line, kind, fileIndex, count);
    } else {
        std::fprintf(stderr, "Error: face on line %ld refers to %s %lld, but only %d precede it!\n",
                     line, kind, fileIndex, readSoFar);
    }
    return false;
}

bool reportMissingIndex(long line, const char* kind) {
    std::fprintf(stderr,
                 "Error: face on line %ld has a corner without the %s index that the faces carry!\n",
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
    std::printf("second pass results: read\n");
    std::printf("   * %i vertices\n", at.vertices);
    std::printf("   * %i texture coords.\n", at.texCoords);
    std::printf("   * %i normal vectors\n", at.normals);
    std::printf("   * %i faces\n", at.faces);
}

bool storedAsCounted(const ReadCursor& at, const ObjModel* model) {
    return at.vertices == model->numVertices && at.texCoords == model->numTexCoords &&
           at.normals == model->numNormals && at.faces == model->numFaces;
}

// ---- Normals ---------------------------------------------------------------------------------

Vec3f faceCrossProduct(const ObjModel* model, const ObjFace& face) {
    const Vec4f& p0 = model->vertices[face.vertexIndices[0]];
    const Vec4f& p1 = model->vertices[face.vertexIndices[1]];
    const Vec4f& p2 = model->vertices[face.vertexIndices[2]];
    const Vec3f e1 = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const Vec3f e2 = {p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
    return {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
}

float lengthOf(const Vec3f& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

bool scaleToUnit(Vec3f& v) {
    const float length = lengthOf(v);
    if (!(length > 0.0f) || !std::isfinite(length)) return false;
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

}  // namespace

// ---- Public passes -------------------------------------------------------------------------

bool countObjFile(std::FILE* file, ObjModel* model) {
    LineReader reader;
    reader.file = file;
    std::string_view line;
    while (readWholeLine(reader, line)) {
        const bool counted = line[0] == 'f'   ? countFaceLine(line, model)
                             : line[0] == 'v' ? countVertexDataLine(line, model)
                                              : true;
        if (!counted) return false;
    }
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

bool readObjFile(ObjModel* model, std::FILE* file) {
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

void computeVertexNormals(ObjModel* model) {
    // Sum the faces' normals apart from the file's values, which stay as the fallback.
    std::vector<Vec3f> sums(static_cast<std::size_t>(model->numNormals), Vec3f{0.0f, 0.0f, 0.0f});
    std::vector<bool> referenced(sums.size(), false);
    for (std::int32_t f = 0; f < model->numFaces; ++f) {
        const ObjFace& face = model->faces[f];
        if (face.normalIndices == nullptr || face.numVertices < 3) continue;
        const Vec3f n = faceCrossProduct(model, face);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const std::int32_t index = face.normalIndices[j];
            Vec3f& sum = sums[static_cast<std::size_t>(index)];
            sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
            referenced[static_cast<std::size_t>(index)] = true;
        }
    }
    for (std::int32_t i = 0; i < model->numNormals; ++i) {
        Vec3f candidate = referenced[static_cast<std::size_t>(i)] ? sums[i] : model->normals[i];
        if (!scaleToUnit(candidate)) {
            candidate = model->normals[i];
            if (!scaleToUnit(candidate)) candidate = {0.0f, 1.0f, 0.0f};
        }
        model->normals[i] = candidate;
    }
}

bool loadObjFile(const char* path, ObjModel* model) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        std::fprintf(stderr, "Error: couldn't open \"%s\"!\n", path);
        return false;
    }
    *model = ObjModel{};
    bool loaded = countObjFile(file, model);
    if (loaded) {
        std::rewind(file);
        loaded = allocateModelArrays(model) && readObjFile(model, file);
        if (!loaded) freeModelArrays(model);
    }
    if (loaded && model->hasNormals) computeVertexNormals(model);
    std::fclose(file);
    return loaded;
}
