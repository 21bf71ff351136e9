// Transforms: named affine matrices built from animated values.
#pragma once

#include <memory>

#include "Core/TaviskComponent.h"
#include "Core/ValueD.h"

namespace KUV {

class SceneReader;

// Moves by (x, y).
class Translation : public TransformResource {
public:
    Translation(ValueD x, ValueD y)
        : m_X(std::move(x))
        , m_Y(std::move(y))
    {
    }
    std::shared_ptr<D2D_MATRIX_3X2_F> CreateResource() override;

private:
    ValueD m_X, m_Y;
};

// Moves by the distance r in the direction t (radians).
class PolarTranslation : public TransformResource {
public:
    PolarTranslation(ValueD r, ValueD t)
        : m_R(std::move(r))
        , m_T(std::move(t))
    {
    }
    std::shared_ptr<D2D_MATRIX_3X2_F> CreateResource() override;

private:
    ValueD m_R, m_T;
};

// Turns by t degrees about the origin, clockwise on a y-down screen.
class Rotation : public TransformResource {
public:
    explicit Rotation(ValueD t)
        : m_T(std::move(t))
    {
    }
    std::shared_ptr<D2D_MATRIX_3X2_F> CreateResource() override;

private:
    ValueD m_T;
};

// Scales by x and y about the origin.
class Scale : public TransformResource {
public:
    Scale(ValueD x, ValueD y)
        : m_X(std::move(x))
        , m_Y(std::move(y))
    {
    }
    std::shared_ptr<D2D_MATRIX_3X2_F> CreateResource() override;

private:
    ValueD m_X, m_Y;
};

// Reads one transform record.
std::shared_ptr<TransformResource> ReadTransform(SceneReader& reader);

} // namespace KUV
