// The text is formatted into one large buffer that goes to the stream whenever it is nearly
// full, with std::to_chars for every number: locale-free and far faster than printf.
#include "obj_writer.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t bufferBytes = std::size_t{1} << 20;
constexpr std::size_t longestEntry = 128;  // a "v", "vt", "vn" or corner reference, and more
constexpr std::int64_t facesPerReport = std::int64_t{1} << 16;

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
    if (buffer.used + bytes > buffer.data.size()) flush(buffer);
    return buffer.data.data() + buffer.used;
}

void advanceTo(TextBuffer& buffer, const char* end) {
    buffer.used = std::size_t(end - buffer.data.data());
}

void append(TextBuffer& buffer, std::string_view text) {
    if (text.size() > buffer.data.size()) {
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

void writeVertices(TextBuffer& buffer, const ObjModel& model, bool weights) {
    for (std::int32_t i = 0; i < model.numVertices; ++i) {
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
                  std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
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

// The faces, each run of one colour after its "usemtl" line; returns the faces left out.
std::int64_t writeFaces(TextBuffer& buffer, const ObjModel& model,
                        const std::vector<FaceMaterial>& materials, WriteProgress progress) {
    const bool texCoords = model.hasTexCoords != 0, normals = model.hasNormals != 0;
    std::int64_t leftOut = 0;
    int material = -1;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (progress != nullptr && f % facesPerReport == 0 && f != 0) progress(f, model.numFaces);
        if (face.numVertices < 3) {
            ++leftOut;
            continue;
        }
        const int used = materialOf(materials, face.color, material);
        if (used != material && used >= 0) writeMaterialUse(buffer, materials[used]);
        material = used;
        writeFace(buffer, face, texCoords, normals);
    }
    if (progress != nullptr) progress(model.numFaces, model.numFaces);
    return leftOut;
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
    writeVertices(buffer, model, settings.weights);
    writeTriples(buffer, "vt ", model.texCoords, model.numTexCoords);
    writeTriples(buffer, "vn ", model.normals, model.numNormals);
    const std::int64_t leftOut = writeFaces(buffer, model, materials, settings.progress);
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
