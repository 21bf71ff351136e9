// Path geometries, written once through their sink.
#pragma once

#include "Gfx/cairo/Geometry.h"

namespace KUV::Gfx::Cairo {

class PathGeometry : public Geometry<ID2D1PathGeometry> {
public:
    explicit PathGeometry(ID2D1Factory* factory)
        : Geometry(factory, PathData {})
    {
    }

    HRESULT Open(ID2D1GeometrySink** sink) override;
    // Takes the figures written through the sink once it closed without error.
    void Adopt(PathData data) { m_Data = std::move(data); }

private:
    bool m_Opened = false;
};

} // namespace KUV::Gfx::Cairo
