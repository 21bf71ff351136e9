// Bitmaps decoded from image files.
#pragma once

#include <string>

#include "Core/Image.h"

namespace KUV {

class DecodedImages;

class Bitmap : public Image {
public:
    enum Type { FromFile };

    Bitmap(Type type, std::string path)
        : m_type(type)
        , m_Path(std::move(path))
    {
    }

    // The premultiplied bitmap of the file, decoded once for all records naming it; throws
    // "Direct2D returned error: <code>" when the file is missing, unreadable, broken,
    // unsupported, too large, or would take the decoded images past their budget.
    std::shared_ptr<ID2D1Bitmap> CreateResource() override;
    void OnUpdate() override { } // a decoded file never changes

    // The file as written in the record.
    const std::string& Path() const { return m_Path; }

private:
    // Decodes the file into a new bitmap, within the budget of images.
    std::shared_ptr<ID2D1Bitmap> Decode(const DecodedImages& images);

    Type m_type;
    std::string m_Path;
    UINT32 m_Width = 0; // the decoder's size of the last bitmap made
    UINT32 m_Height = 0;
};

} // namespace KUV
