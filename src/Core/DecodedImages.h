// The bitmaps decoded from image files, shared by every image record that names
// the same file, and the budget of memory that all of them together may hold.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Gfx/D2D1.h"

namespace KUV {

class DecodedImages {
public:
    static constexpr std::uint64_t DefaultBudget = 1ull << 30; // bytes of 32-bit pixels

    DecodedImages();

    // The live bitmap of the file (by FileIdentity) made for target; empty when there is none.
    std::shared_ptr<ID2D1Bitmap> Find(ID2D1RenderTarget* target, const std::string& identity);
    // Whether a bitmap of width x height can be decoded within the budget, next to the live ones.
    bool Admits(std::uint32_t width, std::uint32_t height) const;
    // Shares a newly decoded bitmap under the file; its pixels count against the budget until
    // the last holder lets it go.
    std::shared_ptr<ID2D1Bitmap> Share(
        ID2D1RenderTarget* target, const std::string& identity, std::shared_ptr<ID2D1Bitmap> bitmap);

    void SetBudget(std::uint64_t bytes) { m_State->budget = bytes; }
    std::uint64_t BytesInUse() const { return m_State->inUse; }

private:
    // Outlives this object while any shared bitmap does: their deleters give their bytes back.
    struct State {
        std::uint64_t budget = DefaultBudget;
        std::uint64_t inUse = 0;
    };
    using Key = std::pair<ID2D1RenderTarget*, std::string>;

    std::shared_ptr<State> m_State;
    std::map<Key, std::weak_ptr<ID2D1Bitmap>> m_Bitmaps;
};

} // namespace KUV
