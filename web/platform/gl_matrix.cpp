// Matrices of the web build's fixed-function pipeline.
#include "gl_matrix.h"

#include <cmath>

namespace {

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;

float& at(Mat4& a, int row, int column) { return a.m[column * 4 + row]; }
float at(const Mat4& a, int row, int column) { return a.m[column * 4 + row]; }

}  // namespace

Mat4 identityMatrix() {
    Mat4 a{};
    for (int i = 0; i < 4; ++i) at(a, i, i) = 1.0f;
    return a;
}

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 product{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += at(a, row, k) * at(b, k, column);
            at(product, row, column) = sum;
        }
    return product;
}

Vec4f transformPoint(const Mat4& a, const Vec4f& p) {
    const float* m = a.m;
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12] * p.w,
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13] * p.w,
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14] * p.w,
            m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15] * p.w};
}

Mat4 translationMatrix(float x, float y, float z) {
    Mat4 a = identityMatrix();
    at(a, 0, 3) = x;
    at(a, 1, 3) = y;
    at(a, 2, 3) = z;
    return a;
}

Mat4 rotationMatrix(float angleDegrees, float x, float y, float z) {
    Vec3f axis = {x, y, z};
    if (!scaleToUnitIfPositive(axis)) return identityMatrix();
    x = axis.x;
    y = axis.y;
    z = axis.z;
    const float angle = static_cast<float>(angleDegrees * degreesToRadians);
    const float s = std::sin(angle);
    const float c = std::cos(angle);
    const float t = 1.0f - c;
    Mat4 a = identityMatrix();
    at(a, 0, 0) = x * x * t + c;
    at(a, 0, 1) = x * y * t - z * s;
    at(a, 0, 2) = x * z * t + y * s;
    at(a, 1, 0) = y * x * t + z * s;
    at(a, 1, 1) = y * y * t + c;
    at(a, 1, 2) = y * z * t - x * s;
    at(a, 2, 0) = x * z * t - y * s;
    at(a, 2, 1) = y * z * t + x * s;
    at(a, 2, 2) = z * z * t + c;
    return a;
}

Mat4 scaleMatrix(float x, float y, float z) {
    Mat4 a = identityMatrix();
    at(a, 0, 0) = x;
    at(a, 1, 1) = y;
    at(a, 2, 2) = z;
    return a;
}

Mat4 orthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar) {
    Mat4 a = identityMatrix();
    at(a, 0, 0) = static_cast<float>(2.0 / (right - left));
    at(a, 1, 1) = static_cast<float>(2.0 / (top - bottom));
    at(a, 2, 2) = static_cast<float>(-2.0 / (zFar - zNear));
    at(a, 0, 3) = static_cast<float>(-(right + left) / (right - left));
    at(a, 1, 3) = static_cast<float>(-(top + bottom) / (top - bottom));
    at(a, 2, 3) = static_cast<float>(-(zFar + zNear) / (zFar - zNear));
    return a;
}

Mat4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double halfAngle = fovyDegrees / 2.0 * degreesToRadians;
    const double depth = zFar - zNear;
    const double sine = std::sin(halfAngle);
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return identityMatrix();
    const double cotangent = std::cos(halfAngle) / sine;
    Mat4 a{};
    at(a, 0, 0) = static_cast<float>(cotangent / aspect);
    at(a, 1, 1) = static_cast<float>(cotangent);
    at(a, 2, 2) = static_cast<float>(-(zFar + zNear) / depth);
    at(a, 3, 2) = -1.0f;
    at(a, 2, 3) = static_cast<float>(-2.0 * zNear * zFar / depth);
    return a;
}

NormalMatrix normalMatrix(const Mat4& modelview) {
    // The inverse transpose of a 3 x 3 matrix is its cofactor matrix over its determinant.
    auto m = [&](int row, int column) { return at(modelview, row, column); };
    float cofactor[3][3];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
            const int c1 = (column + 1) % 3, c2 = (column + 2) % 3;
            cofactor[row][column] = m(r1, c1) * m(r2, c2) - m(r1, c2) * m(r2, c1);
        }
    const float determinant =
        m(0, 0) * cofactor[0][0] + m(0, 1) * cofactor[0][1] + m(0, 2) * cofactor[0][2];
    const float scale = determinant != 0.0f ? 1.0f / determinant : 0.0f;
    NormalMatrix n{};
    for (int row = 0; row < 3; ++row)
        n.row[row] = {cofactor[row][0] * scale, cofactor[row][1] * scale, cofactor[row][2] * scale};
    return n;
}

Vec3f transformNormal(const NormalMatrix& n, const Vec3f& v) {
    return {dot(n.row[0], v), dot(n.row[1], v), dot(n.row[2], v)};
}

Vec3f normalized(const Vec3f& a) {
    Vec3f unit = a;
    scaleToUnitIfPositive(unit);
    return unit;
}
