// Components and lazily built resources.
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include "Core/LayerObject.h"
#include "Gfx/D2D1.h"

namespace KUV {

class Tavisk;

// The name that stands for nothing where a record names a component or a variable: a
// controller that writes no variable, an animation without a render function, a controller
// or a successor.
inline constexpr char NullName[] = "null";

// Where a record was read: the file as written and its line. Kept for authoring
// tools, which point at the record; nothing that loads, updates or draws reads it.
struct SourceLocation {
    std::string file;
    int line = 0;
};

// Base of every named part of a scene.
class TaviskComponent {
public:
    virtual ~TaviskComponent() = default;

    Tavisk* m_Owner = nullptr; // the scene this component belongs to; not owned
    SourceLocation m_ReadAt; // set by the loader
};

// Drops the built object after each render when the component follows variables.
struct CleanupReset {
    template <class R> static void Apply(R& resource)
    {
        if (resource.m_Dynamic && resource.m_Resource) resource.m_Resource.reset();
    }
};

// Keeps the built object for the life of the component.
struct CleanupNull {
    template <class R> static void Apply(R&) { }
};

// A component that builds one object on first use and caches it.
template <class T, class CleanupPolicy> class Resource : public TaviskComponent, public CleanupPolicy {
public:
    // Builds a new object from the component's current values; never caches it.
    virtual std::shared_ptr<T> CreateResource() = 0;

    // The cached object, built first when there is none.
    std::shared_ptr<T> GetResource()
    {
        if (!m_Resource) m_Resource = CreateResource();
        return m_Resource;
    }

    void Cleanup() { CleanupPolicy::Apply(*this); }

    std::shared_ptr<T> m_Resource;
    bool m_Dynamic = false;
};

using TransformResource = Resource<D2D_MATRIX_3X2_F, CleanupReset>;

} // namespace KUV
