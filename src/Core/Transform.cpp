#include "Core/Transform.h"

#include <cmath>
#include <string>

#include "Core/RecordOpeners.h"

namespace KUV {

namespace {

std::shared_ptr<D2D_MATRIX_3X2_F> NewMatrix(const D2D_MATRIX_3X2_F& matrix)
{
    return std::make_shared<D2D_MATRIX_3X2_F>(matrix);
}

// The two values of a body are read in file order, so they are read into locals first.
template <class Kind>
std::shared_ptr<TransformResource> ReadPair(SceneReader& reader, const char* first, const char* second)
{
    ValueD a = reader.ReadValue(first);
    ValueD b = reader.ReadValue(second);
    return std::make_shared<Kind>(std::move(a), std::move(b));
}

std::shared_ptr<TransformResource> ReadTranslation(SceneReader& reader)
{
    return ReadPair<Translation>(reader, "x", "y");
}

std::shared_ptr<TransformResource> ReadPolarTranslation(SceneReader& reader)
{
    return ReadPair<PolarTranslation>(reader, "r", "t");
}

std::shared_ptr<TransformResource> ReadRotation(SceneReader& reader)
{
    return std::make_shared<Rotation>(reader.ReadValue("t"));
}

std::shared_ptr<TransformResource> ReadScale(SceneReader& reader)
{
    return ReadPair<Scale>(reader, "x", "y");
}

constexpr RecordOpener<TransformResource> Openers[] = {
    { "Translation{", &ReadTranslation },
    { "PolarTranslation{", &ReadPolarTranslation },
    { "Rotation{", &ReadRotation },
    { "Scale{", &ReadScale },
};

} // namespace

std::shared_ptr<D2D_MATRIX_3X2_F> Translation::CreateResource()
{
    const float x = m_X.Get();
    const float y = m_Y.Get();
    return NewMatrix({ 1.f, 0.f, 0.f, 1.f, x, y });
}

std::shared_ptr<D2D_MATRIX_3X2_F> PolarTranslation::CreateResource()
{
    const float r = m_R.Get();
    const float t = m_T.Get();
    const float cosT = static_cast<float>(std::cos(static_cast<double>(t)));
    const float sinT = static_cast<float>(std::sin(static_cast<double>(t)));
    return NewMatrix({ 1.f, 0.f, 0.f, 1.f, r * cosT, r * sinT });
}

std::shared_ptr<D2D_MATRIX_3X2_F> Rotation::CreateResource()
{
    D2D_MATRIX_3X2_F matrix;
    D2D1MakeRotateMatrix(m_T.Get(), D2D1::Point2F(0.f, 0.f), &matrix);
    return NewMatrix(matrix);
}

std::shared_ptr<D2D_MATRIX_3X2_F> Scale::CreateResource()
{
    const float x = m_X.Get();
    const float y = m_Y.Get();
    // A scaling about the centre (0, 0): the offsets are centre - factor * centre.
    return NewMatrix({ x, 0.f, 0.f, y, 0.f - x * 0.f, 0.f - y * 0.f });
}

std::shared_ptr<TransformResource> ReadTransform(SceneReader& reader)
{
    return ReadResourceRecord(reader, Openers, "transform", [](TransformResource&) {});
}

} // namespace KUV
