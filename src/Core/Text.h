// The outline of a text laid out centred in a box.
#pragma once

#include <memory>
#include <string>

#include "Core/GeometryBase.h"
#include "Core/ValueD.h"

namespace KUV {

class Text : public GeometryBase {
public:
    std::shared_ptr<ID2D1Geometry> CreateResource() override;

    std::string m_Text;
    std::string m_Font;
    ValueD m_Size, m_X, m_Y, m_W, m_H;
};

// Reads the body of a "Text{" record: "text", "font", "size", "x", "y", "w" and "h".
std::shared_ptr<GeometryBase> ReadText(SceneReader& reader);

} // namespace KUV
