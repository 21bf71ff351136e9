// Geometries: the shapes that commands fill and stroke and hit tests ask about.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "Core/TaviskComponent.h"

namespace KUV {

class Factory;
class SceneReader;
struct MaskData;

class GeometryBase : public Resource<ID2D1Geometry, CleanupReset> {
public:
    ID2D1Factory* m_Factory = nullptr; // set by the loader
    Factory* m_Loader = nullptr; // set by the loader
    std::string m_Name; // name in the scene's geometry table
    std::string m_MaskScope; // the scene file it was loaded from: keeps mask keys apart
    bool m_HitTest = false;

    std::shared_ptr<MaskData> m_FillMask;
    std::map<float, std::shared_ptr<MaskData>> m_StrokeMasks; // an empty entry: no mask for that width
};

// Reads one geometry record: type keyword, body, "hitTest" integer and "}".
std::shared_ptr<GeometryBase> ReadGeometry(SceneReader& reader);

} // namespace KUV
