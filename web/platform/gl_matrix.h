// Matrices and vectors of the web build's fixed-function pipeline: 4 x 4 single-precision
// matrices stored column by column as OpenGL keeps them, and the transforms that the GL
// matrix calls multiply onto the current matrix.
#pragma once

#include "vector3.h"

struct Mat4 {
    float m[16];  // column-major: m[column * 4 + row]
};

Mat4 identityMatrix();
// a * b: the transform that applies b first, then a.
Mat4 multiply(const Mat4& a, const Mat4& b);
Vec4f transformPoint(const Mat4& a, const Vec4f& p);

// The matrices of glTranslate, glRotate (angle in degrees about the axis x, y, z, which need not
// be of unit length), glScale, glOrtho and gluPerspective.
Mat4 translationMatrix(float x, float y, float z);
Mat4 rotationMatrix(float angleDegrees, float x, float y, float z);
Mat4 scaleMatrix(float x, float y, float z);
Mat4 orthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar);
Mat4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);

// The matrix that carries normals into eye space for a modelview matrix: the inverse transpose
// of its upper 3 x 3 part (a singular part gives zero). Returned as its three rows.
struct NormalMatrix {
    Vec3f row[3];
};
NormalMatrix normalMatrix(const Mat4& modelview);
Vec3f transformNormal(const NormalMatrix& n, const Vec3f& v);

// a scaled to unit length (scaleToUnitIfPositive); a vector of length 0 stays as it is.
Vec3f normalized(const Vec3f& a);
