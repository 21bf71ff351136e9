#include "Gfx/cairo/Recording.h"

#include <algorithm>
#include <cmath>

#include "Gfx/cairo/BandPool.h"

namespace KUV::Gfx::Cairo {

namespace {

// Below this many covered pixels a frame draws faster on the calling thread alone than
// handed to the pool (measured by bench/band_bench).
constexpr double kMinBandedWork = 100000;
// The rows of a band, fewer than this, do not pay for the primitives drawn again in it.
constexpr int kMinBandRows = 16;

int ClampRow(double y, int limit)
{
    if (!(y > 0)) return 0;
    return y >= limit ? limit : static_cast<int>(y);
}

} // namespace

void Recording::Add(Primitive p, int width, int height)
{
    const DeviceBox box = p.Bounds();
    const Rows rows { ClampRow(std::floor(box.y0), height), ClampRow(std::ceil(box.y1), height),
        double(ClampRow(std::ceil(box.x1), width) - ClampRow(std::floor(box.x0), width)) };
    if (rows.bottom <= rows.top || rows.width <= 0) return;
    m_Work += rows.width * (rows.bottom - rows.top);
    m_Primitives.push_back(std::move(p));
    m_Rows.push_back(rows);
}

bool Recording::Reads(cairo_surface_t* surface) const
{
    return std::any_of(
        m_Primitives.begin(), m_Primitives.end(), [surface](const Primitive& p) { return p.Reads() == surface; });
}

void Recording::Clear()
{
    m_Primitives.clear();
    m_Rows.clear();
    m_Work = 0;
}

void Recording::Replay(cairo_t*& whole, unsigned threads)
{
    cairo_surface_t* surface = cairo_get_target(whole);
    const int height = cairo_image_surface_get_height(surface);
    int bands = static_cast<int>(std::min<unsigned>(threads, static_cast<unsigned>(height / kMinBandRows)));
    if (m_Work < kMinBandedWork) bands = 1;
    if (bands <= 1) {
        PaintRows(whole, 0, height);
    } else {
        const std::vector<int> cuts = Split(height, bands);
        BandPool::Instance().Run(
            static_cast<int>(cuts.size()) - 1, [&](int band) { DrawBand(surface, cuts[band], cuts[band + 1]); });
    }
    cairo_surface_mark_dirty(surface);
    Clear();
}

std::vector<int> Recording::Split(int height, int bands) const
{
    // Work per row: the width each primitive covers on the rows it spans.
    std::vector<double> change(static_cast<size_t>(height) + 1, 0.0);
    for (const Rows& r : m_Rows) {
        change[r.top] += r.width;
        change[r.bottom] -= r.width;
    }
    std::vector<int> cuts { 0 };
    double perRow = 0, done = 0;
    for (int y = 0; y < height && static_cast<int>(cuts.size()) < bands; ++y) {
        perRow += change[y];
        done += perRow;
        const double share = m_Work * static_cast<double>(cuts.size()) / bands;
        if (done >= share && y + 1 - cuts.back() >= kMinBandRows && height - (y + 1) >= kMinBandRows)
            cuts.push_back(y + 1);
    }
    cuts.push_back(height);
    return cuts;
}

void Recording::PaintRows(cairo_t*& cr, int top, int bottom) const
{
    for (size_t i = 0; i < m_Primitives.size(); ++i) {
        if (m_Rows[i].bottom <= top || m_Rows[i].top >= bottom) continue;
        m_Primitives[i].Paint(cr);
        // A primitive that drove cairo into an error state leaves the ones after it unharmed.
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_t* target = cairo_get_target(cr);
            cairo_t* fresh = NewDrawingContext(target);
            cairo_destroy(cr);
            cr = fresh;
        }
    }
}

void Recording::DrawBand(cairo_surface_t* surface, int top, int bottom) const
{
    const int stride = cairo_image_surface_get_stride(surface);
    unsigned char* first = cairo_image_surface_get_data(surface) + static_cast<ptrdiff_t>(top) * stride;
    cairo_surface_t* band = cairo_image_surface_create_for_data(
        first, cairo_image_surface_get_format(surface), cairo_image_surface_get_width(surface), bottom - top, stride);
    cairo_surface_set_device_offset(band, 0, -top);
    cairo_t* cr = NewDrawingContext(band);
    PaintRows(cr, top, bottom);
    cairo_destroy(cr);
    cairo_surface_finish(band);
    cairo_surface_destroy(band);
}

} // namespace KUV::Gfx::Cairo
