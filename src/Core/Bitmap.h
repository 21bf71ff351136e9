// Bitmaps decoded from image files.
#pragma once

#include <string>

#include "Core/Image.h"

namespace KUV {

class Bitmap : public Image {
public:
    enum Type { FromFile };

    Bitmap(Type type, std::string path)
        : m_type(type)
        , m_Path(std::move(path))
    {
    }

    // Decodes the file into a premultiplied bitmap; throws "Direct2D returned error: <code>"
    // when the file is missing, unreadable, broken, unsupported or too large.
    std::shared_ptr<ID2D1Bitmap> CreateResource() override;
    void OnUpdate() override { }

    Type m_type;
    std::string m_Path; // as written in the record
    UINT32 m_Width = 0;
    UINT32 m_Height = 0;
};

} // namespace KUV
