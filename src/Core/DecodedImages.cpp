#include "Core/DecodedImages.h"

namespace KUV {

namespace {

std::uint64_t BytesOf(std::uint32_t width, std::uint32_t height)
{
    return std::uint64_t(width) * height * 4;
}

} // namespace

DecodedImages::DecodedImages()
    : m_State(std::make_shared<State>())
{
}

std::shared_ptr<ID2D1Bitmap> DecodedImages::Find(ID2D1RenderTarget* target, const std::string& identity)
{
    const auto it = m_Bitmaps.find({ target, identity });
    if (it == m_Bitmaps.end()) return nullptr;
    std::shared_ptr<ID2D1Bitmap> bitmap = it->second.lock();
    if (!bitmap) m_Bitmaps.erase(it);
    return bitmap;
}

bool DecodedImages::Admits(std::uint32_t width, std::uint32_t height) const
{
    const std::uint64_t bytes = BytesOf(width, height);
    return bytes <= m_State->budget && m_State->inUse <= m_State->budget - bytes;
}

std::shared_ptr<ID2D1Bitmap> DecodedImages::Share(
    ID2D1RenderTarget* target, const std::string& identity, std::shared_ptr<ID2D1Bitmap> bitmap)
{
    const D2D1_SIZE_U size = bitmap->GetPixelSize();
    const std::uint64_t bytes = BytesOf(size.width, size.height);
    m_State->inUse += bytes;
    ID2D1Bitmap* const object = bitmap.get();
    std::shared_ptr<ID2D1Bitmap> shared(
        object, [state = m_State, bytes, owner = std::move(bitmap)](ID2D1Bitmap*) mutable {
            state->inUse -= bytes;
            owner.reset();
        });
    m_Bitmaps[{ target, identity }] = shared;
    return shared;
}

} // namespace KUV
