#pragma once

// The preview's camera for tests of pointing: D3DXMatrixLookAtLH towards the origin (up along
// +Y) times D3DXMatrixPerspectiveFovLH, by their documented formulas.

#include "viewport/mesh_picking.h"

#include <cmath>

namespace KelUtility {
namespace {

float Dot(Point3 a, Point3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Point3 Unit(Point3 a) {
    const float length = std::sqrt(Dot(a, a));
    return {a.x / length, a.y / length, a.z / length};
}

Matrix4 LookAt(Point3 eye, float fieldOfView, float aspect, float nearPlane,
                      float farPlane) {
    const Point3 z = Unit({-eye.x, -eye.y, -eye.z});
    const Point3 x = Unit({z.z, 0, -z.x});
    const Point3 y = {z.y * x.z - z.z * x.y, z.z * x.x - z.x * x.z, z.x * x.y - z.y * x.x};
    const float ys = 1 / std::tan(fieldOfView / 2), q = farPlane / (farPlane - nearPlane);
    // clang-format off
    const Matrix4 view = {x.x, y.x, z.x, 0,
                          x.y, y.y, z.y, 0,
                          x.z, y.z, z.z, 0,
                          -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
    const Matrix4 projection = {ys / aspect, 0, 0, 0,
                                0, ys, 0, 0,
                                0, 0, q, 1,
                                0, 0, -nearPlane * q, 0};
    // clang-format on
    return Multiply(view, projection);
}

} // namespace
} // namespace KelUtility
