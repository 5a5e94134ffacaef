// Immediate-mode drawing of a polygon model: one begin/end pair per face, one per normal line.
#include "model_drawing.h"

#include <cmath>

#include <GL/gl.h>

bool showNormals = false;
float normalLength = 1.0f;

Vec3f flatFaceNormal(const ObjModel& model, const ObjFace& face) {
    // Newell's sum: the area vector of the whole polygon, so no choice of three corners can
    // make it vanish while the face has area.
    Vec3f sum = {0.0f, 0.0f, 0.0f};
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        const Vec4f& a = model.vertices[face.vertexIndices[j]];
        const Vec4f& b = model.vertices[face.vertexIndices[(j + 1) % face.numVertices]];
        sum.x += (a.y - b.y) * (a.z + b.z);
        sum.y += (a.z - b.z) * (a.x + b.x);
        sum.z += (a.x - b.x) * (a.y + b.y);
    }
    const float length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
    if (!(length > 0.0f) || !std::isfinite(length)) return {0.0f, 1.0f, 0.0f};
    return {sum.x / length, sum.y / length, sum.z / length};
}

Vec3f normalLineEnd(const Vec4f& position, const Vec3f& normal, float length) {
    return {position.x + length * normal.x, position.y + length * normal.y,
            position.z + length * normal.z};
}

static void drawFace(const ObjModel& model, const ObjFace& face) {
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

static void drawNormalLines(const ObjModel& model, const ObjFace& face) {
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

void drawModel(const ObjModel& model) {
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        drawFace(model, face);
        if (showNormals && model.hasNormals) drawNormalLines(model, face);
    }
}
