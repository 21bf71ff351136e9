#include "Gfx/D2D1.h"

#include <cmath>
#include <initializer_list>

D2D1_MATRIX_3X2_F operator*(const D2D1_MATRIX_3X2_F& a, const D2D1_MATRIX_3X2_F& b)
{
    return {
        a._11 * b._11 + a._12 * b._21,
        a._11 * b._12 + a._12 * b._22,
        a._21 * b._11 + a._22 * b._21,
        a._21 * b._12 + a._22 * b._22,
        a._31 * b._11 + a._32 * b._21 + b._31,
        a._31 * b._12 + a._32 * b._22 + b._32,
    };
}

bool operator==(const D2D1_MATRIX_3X2_F& a, const D2D1_MATRIX_3X2_F& b)
{
    return a._11 == b._11 && a._12 == b._12 && a._21 == b._21 && a._22 == b._22 && a._31 == b._31 && a._32 == b._32;
}

D2D1_POINT_2F TransformPoint(const D2D1_MATRIX_3X2_F& m, D2D1_POINT_2F p)
{
    return { p.x * m._11 + p.y * m._21 + m._31, p.x * m._12 + p.y * m._22 + m._32 };
}

bool D2D1InvertMatrix(D2D1_MATRIX_3X2_F* matrix)
{
    if (matrix == nullptr) return false;
    const D2D1_MATRIX_3X2_F& m = *matrix;
    // Double precision keeps tiny but invertible scales from collapsing to a zero determinant.
    const double det = double(m._11) * m._22 - double(m._12) * m._21;
    if (det == 0.0 || !std::isfinite(det)) return false;
    const double i11 = m._22 / det, i12 = -m._12 / det, i21 = -m._21 / det, i22 = m._11 / det;
    const double i31 = -(m._31 * i11 + m._32 * i21), i32 = -(m._31 * i12 + m._32 * i22);
    const D2D1_MATRIX_3X2_F inverse = { float(i11), float(i12), float(i21), float(i22), float(i31), float(i32) };
    for (float v : { inverse._11, inverse._12, inverse._21, inverse._22, inverse._31, inverse._32 })
        if (!std::isfinite(v)) return false;
    *matrix = inverse;
    return true;
}

void D2D1MakeRotateMatrix(float angle, D2D1_POINT_2F center, D2D1_MATRIX_3X2_F* matrix)
{
    if (matrix == nullptr) return;
    const double a = double(angle) * 3.14159265358979323846 / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double cx = center.x, cy = center.y;
    *matrix = { float(c), float(s), float(-s), float(c), float(cx - cx * c + cy * s), float(cy - cx * s - cy * c) };
}
