#include <limits>

#include <gtest/gtest.h>

#include "Gfx/D2D1.h"

namespace {

void ExpectPoint(D2D1_POINT_2F actual, float x, float y)
{
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
}

TEST(Matrix, ProductAppliesLeftOperandFirst)
{
    D2D1_MATRIX_3X2_F rotate;
    D2D1MakeRotateMatrix(90.f, { 0, 0 }, &rotate);
    const D2D1_MATRIX_3X2_F product = D2D1::Translation(10, 0) * rotate;
    ExpectPoint(TransformPoint(product, { 0, 0 }), 0, 10);
    ExpectPoint(TransformPoint(rotate * D2D1::Translation(10, 0), { 0, 0 }), 10, 0);
}

TEST(Matrix, RotationTurnsClockwiseOnScreenAboutItsCenter)
{
    D2D1_MATRIX_3X2_F m;
    D2D1MakeRotateMatrix(90.f, { 50, 50 }, &m);
    ExpectPoint(TransformPoint(m, { 60, 50 }), 50, 60);
    ExpectPoint(TransformPoint(m, { 50, 50 }), 50, 50);
    D2D1MakeRotateMatrix(30.f, { 0, 0 }, &m);
    EXPECT_NEAR(m._11, 0.8660254f, 1e-6f);
    EXPECT_NEAR(m._12, 0.5f, 1e-6f);
    EXPECT_NEAR(m._21, -0.5f, 1e-6f);
}

TEST(Matrix, InverseUndoesTheTransform)
{
    D2D1_MATRIX_3X2_F m;
    D2D1MakeRotateMatrix(33.f, { 7, -3 }, &m);
    m = m * D2D1_MATRIX_3X2_F { 2, 0, 0, 0.5f, 4, 9 };
    D2D1_MATRIX_3X2_F inverse = m;
    ASSERT_TRUE(D2D1InvertMatrix(&inverse));
    ExpectPoint(TransformPoint(inverse, TransformPoint(m, { 12, -5 })), 12, -5);
}

TEST(Matrix, SingularOrNonFiniteMatricesAreLeftUnchanged)
{
    D2D1_MATRIX_3X2_F zero = { 0, 0, 0, 0, 5, 5 };
    EXPECT_FALSE(D2D1InvertMatrix(&zero));
    EXPECT_TRUE((zero == D2D1_MATRIX_3X2_F { 0, 0, 0, 0, 5, 5 }));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    D2D1_MATRIX_3X2_F broken = { nan, 0, 0, 1, 0, 0 };
    EXPECT_FALSE(D2D1InvertMatrix(&broken));
    EXPECT_FALSE(D2D1InvertMatrix(nullptr));
}

TEST(Matrix, EqualityComparesEveryElement)
{
    EXPECT_TRUE(D2D1::IdentityMatrix() == D2D1::IdentityMatrix());
    EXPECT_FALSE(D2D1::IdentityMatrix() == D2D1::Translation(0, 1));
}

} // namespace
