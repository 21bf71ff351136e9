// A scene's name tables: its components of one kind by name, as its sections list them
// and as records refer to them.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "Core/TaviskComponent.h"

namespace KUV {

class GeometryBase;
class BrushBase;
class Image;
class ITavisk;
class ExecutableBase;
class ControllerBase;
class Animation;

// The sections of a scene file, in the order they stand in it.
enum class Section { Geometries, Brushes, Images, Transforms, ChildKuvs, Executables, Controllers, Animations };
inline constexpr std::size_t SectionCount = 8;

// How the scene file and its messages name one kind of component.
struct ComponentKind {
    const char* keyword; // the count that opens its section
    const char* name; // the kind in messages
};

inline constexpr std::array<ComponentKind, SectionCount> ComponentKinds { {
    { "noOfGeometries", "a geometry" },
    { "noOfBrushes", "a brush" },
    { "noOfImages", "a bitmap" },
    { "noOfTransforms", "a transform" },
    { "noOfChildKuvs", "a child kuv" },
    { "noOfExecutables", "an executable" },
    { "noOfControllers", "a controller" },
    { "noOfAnimations", "an animation" },
} };

// The section whose records are components of type T.
template <class T> struct SectionOf;
template <Section S> struct SectionIs {
    static constexpr Section value = S;
};
template <> struct SectionOf<GeometryBase> : SectionIs<Section::Geometries> {
};
template <> struct SectionOf<BrushBase> : SectionIs<Section::Brushes> {
};
template <> struct SectionOf<Image> : SectionIs<Section::Images> {
};
template <> struct SectionOf<TransformResource> : SectionIs<Section::Transforms> {
};
template <> struct SectionOf<ITavisk> : SectionIs<Section::ChildKuvs> {
};
template <> struct SectionOf<ExecutableBase> : SectionIs<Section::Executables> {
};
template <> struct SectionOf<ControllerBase> : SectionIs<Section::Controllers> {
};
template <> struct SectionOf<Animation> : SectionIs<Section::Animations> {
};

template <class T> class NameTable {
public:
    using Entries = std::map<std::string, std::shared_ptr<T>>;

    static constexpr const ComponentKind& Kind() { return ComponentKinds[std::size_t(SectionOf<T>::value)]; }

    // Adds component under name; a name already taken throws std::invalid_argument
    // name + " was defined as " + the kind + " before".
    void Register(const std::string& name, std::shared_ptr<T> component)
    {
        if (!m_Entries.emplace(name, std::move(component)).second)
            throw std::invalid_argument(name + " was defined as " + Kind().name + " before");
    }

    // The component of that name, or an empty pointer; never inserts.
    std::shared_ptr<T> Find(const std::string& name) const
    {
        const auto it = m_Entries.find(name);
        return it == m_Entries.end() ? nullptr : it->second;
    }

    // In name order.
    typename Entries::const_iterator begin() const { return m_Entries.begin(); }
    typename Entries::const_iterator end() const { return m_Entries.end(); }
    std::size_t size() const { return m_Entries.size(); }

private:
    Entries m_Entries;
};

} // namespace KUV
