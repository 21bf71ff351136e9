// What every object of the drawing layer shares: reference counting and the
// factory it was created from.
#pragma once

#include "Gfx/D2D1.h"

namespace KUV::Gfx::Cairo {

// A new owning pointer to an object someone else already holds.
template <class T> ComPtr<T> Retain(T* object)
{
    if (object != nullptr) object->AddRef();
    return ComPtr<T>(object);
}

// Hands a new reference to object out through an out parameter.
template <class T, class Out> void HandOut(T* object, Out** out)
{
    if (out == nullptr) return;
    if (object != nullptr) object->AddRef();
    *out = object;
}

template <class Interface> class Resource : public RefCounted<Interface> {
public:
    explicit Resource(ID2D1Factory* factory)
        : m_Factory(Retain(factory))
    {
    }

    void GetFactory(ID2D1Factory** factory) const override { HandOut(m_Factory.Get(), factory); }
    ID2D1Factory* Factory() const { return m_Factory.Get(); }

private:
    ComPtr<ID2D1Factory> m_Factory;
};

} // namespace KUV::Gfx::Cairo
