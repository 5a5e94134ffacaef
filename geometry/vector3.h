// The one vector record of the project, in single or double precision, and the primitives on
// it. Each primitive is written here once and works in the precision of its operands, so that
// every caller forms it in the same order of operations and gets the same bits.
#pragma once

#include <cmath>

template <typename T>
struct Vec3 {
    T x{};
    T y{};
    T z{};
};
using Vec3f = Vec3<float>;
using Vec3d = Vec3<double>;

// A homogeneous point in single precision: the vertices of a polygon model.
struct Vec4f {
    float x, y, z, w;
};

template <typename T>
Vec3<T> operator+(const Vec3<T>& a, const Vec3<T>& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

template <typename T>
Vec3<T> scaled(const Vec3<T>& v, T s) {
    return {v.x * s, v.y * s, v.z * s};
}

// The vector from `from` to `to` (x, y, z; a w component is ignored), in the precision of the
// points' components.
template <typename Point>
auto between(const Point& from, const Point& to) -> Vec3<decltype(to.x - from.x)> {
    return {to.x - from.x, to.y - from.y, to.z - from.z};
}

// a × b in the precision of the components (any record with x, y and z).
template <typename Vector>
Vector cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// a · b in the precision of the components, summed x, y, z in that order.
template <typename Vector>
auto dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The Euclidean length, the square root of dot(v, v).
template <typename Vector>
auto length(const Vector& v) {
    return std::sqrt(dot(v, v));
}

template <typename T>
Vec3d toDouble(const Vec3<T>& v) {
    return {double(v.x), double(v.y), double(v.z)};
}

template <typename T>
Vec3f toFloat(const Vec3<T>& v) {
    return {float(v.x), float(v.y), float(v.z)};
}

// Divides `v` by its length and returns true; returns false and leaves `v` alone when that
// length is zero or not finite, so that no NaN comes out of a cancelled or broken sum.
template <typename T>
bool scaleToUnit(Vec3<T>& v) {
    const T l = length(v);
    if (!(l > T(0)) || !std::isfinite(l)) return false;
    v = {v.x / l, v.y / l, v.z / l};
    return true;
}

// `v` scaled to unit length; `fallback` when it has no usable length (see scaleToUnit).
template <typename T>
Vec3<T> normalizedOr(Vec3<T> v, Vec3<T> fallback) {
    return scaleToUnit(v) ? v : fallback;
}

// As scaleToUnit, but an infinite length is divided by too (giving zeros and NaNs): only a
// zero or NaN length is refused. The export tools' mesh normals are formed so.
template <typename T>
bool scaleToUnitIfPositive(Vec3<T>& v) {
    const T l = length(v);
    if (!(l > T(0))) return false;
    v = {v.x / l, v.y / l, v.z / l};
    return true;
}

// As scaleToUnit, but multiplies by the reciprocal of the length instead of dividing by it,
// which rounds differently in the last bit.
template <typename T>
bool scaleToUnitByReciprocal(Vec3<T>& v) {
    const T l = length(v);
    if (!(l > T(0)) || !std::isfinite(l)) return false;
    v = scaled(v, T(1) / l);
    return true;
}

// `v` multiplied by the reciprocal of its length when that length exceeds `shortest`, else
// `v` as it is.
template <typename T>
Vec3<T> normalizedByReciprocalIfLongerThan(Vec3<T> v, T shortest) {
    const T l = length(v);
    return l > shortest ? scaled(v, T(1) / l) : v;
}

// sum + q * a, component by component (w too for a homogeneous point), in single precision.
inline Vec3f plusWeighed(const Vec3f& sum, float q, const Vec3f& a) {
    return {sum.x + q * a.x, sum.y + q * a.y, sum.z + q * a.z};
}
inline Vec4f plusWeighed(const Vec4f& sum, float q, const Vec4f& a) {
    return {sum.x + q * a.x, sum.y + q * a.y, sum.z + q * a.z, sum.w + q * a.w};
}

// The point halfway from a to b as 0.5 * a + 0.5 * b in single precision (w too).
inline Vec3f halfway(const Vec3f& a, const Vec3f& b) {
    return {0.5f * a.x + 0.5f * b.x, 0.5f * a.y + 0.5f * b.y, 0.5f * a.z + 0.5f * b.z};
}
inline Vec4f halfway(const Vec4f& a, const Vec4f& b) {
    return {0.5f * a.x + 0.5f * b.x, 0.5f * a.y + 0.5f * b.y, 0.5f * a.z + 0.5f * b.z,
            0.5f * a.w + 0.5f * b.w};
}

// The mean of `count` corners (count >= 1), each weighed by 1/count in single precision as it
// is added: a Vec3f or a homogeneous Vec4f, as `cornerAt(j)` gives corner j.
template <typename Point, typename CornerAt>
Point centroidWeighingEachCorner(int count, CornerAt cornerAt) {
    const float q = 1.0f / static_cast<float>(count);
    Point centroid{};
    for (int j = 0; j < count; ++j) centroid = plusWeighed(centroid, q, cornerAt(j));
    return centroid;
}

// The mean of `count` corners (count >= 1) summed in double precision and then multiplied by
// 1/count once: no corner is rounded to single precision on the way.
template <typename CornerAt>
Vec3d centroidOfDoubleSum(int count, CornerAt cornerAt) {
    Vec3d sum = {0, 0, 0};
    for (int i = 0; i < count; ++i) {
        const auto& p = cornerAt(i);
        sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    return scaled(sum, 1.0 / count);
}
