// Immediate-mode drawing of a polygon model: one begin/end pair per face, one per normal line.
#include "model_drawing.h"

#include <GL/gl.h>

#include "face_geometry.h"

Vec3f flatFaceNormal(const ObjModel& model, const ObjFace& face) {
    return normalizedOr(newellNormalFloat(face, model.vertices), {0.0f, 1.0f, 0.0f});
}

Vec3f normalLineEnd(const Vec4f& position, const Vec3f& normal, float length) {
    return {position.x + length * normal.x, position.y + length * normal.y,
            position.z + length * normal.z};
}

namespace {

void drawFace(const ObjModel& model, const ObjFace& face) {
    glColor3fv(face.color);
    glBegin(static_cast<GLenum>(face.primitive));
    if (!model.hasNormals) {
        const Vec3f n = flatFaceNormal(model, face);
        glNormal3f(n.x, n.y, n.z);
    }
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        if (model.hasTexCoords) {
            const Vec3f& t = model.texCoords[face.texCoordIndices[j]];
            glTexCoord3f(t.x, t.y, t.z);
        }
        if (model.hasNormals) {
            const Vec3f& n = model.normals[face.normalIndices[j]];
            glNormal3f(n.x, n.y, n.z);
        }
        const Vec4f& v = model.vertices[face.vertexIndices[j]];
        glVertex4f(v.x, v.y, v.z, v.w);
    }
    glEnd();
}

void drawNormalLines(const ObjModel& model, const ObjFace& face, float normalLength) {
    glLineWidth(1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        const Vec4f& p = model.vertices[face.vertexIndices[j]];
        const Vec3f q = normalLineEnd(p, model.normals[face.normalIndices[j]], normalLength);
        glBegin(GL_LINES);
        glVertex3f(p.x, p.y, p.z);
        glVertex3f(q.x, q.y, q.z);
        glEnd();
    }
}

}  // namespace

void drawModel(const ObjModel& model, const NormalLineOptions& normalLines) {
    const bool withNormalLines = normalLines.showNormals && model.hasNormals;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        drawFace(model, face);
        if (withNormalLines) drawNormalLines(model, face, normalLines.normalLength);
    }
}
