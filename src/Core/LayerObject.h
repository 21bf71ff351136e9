// Owning the drawing layer's objects. Every creation call of the layer hands out one
// new reference through its last parameter and reports a status; an object may come
// with a failure code, so it is owned before the code is looked at.
#pragma once

#include <memory>
#include <type_traits>

#include "Gfx/Com.h"

namespace KUV {

// Deleter of shared handles to drawing-layer objects.
struct ReleaseInterface {
    void operator()(IUnknown* object) const
    {
        if (object) object->Release();
    }
};

// Takes over the one reference a creation call handed out.
template <class T, class Created> std::shared_ptr<T> AdoptInterface(Created* created)
{
    return std::shared_ptr<T>(created, [](Created* p) { ReleaseInterface()(p); });
}

// Throws "Direct2D returned error: <hr>" unless hr is exactly S_OK.
void CheckD2DResult(HRESULT hr);

namespace Detail {

// The object type a creation callable hands out: P for a callable taking P**.
template <class Call> struct CreatedBy : CreatedBy<decltype(&std::remove_reference_t<Call>::operator())> {
};
template <class Lambda, class P> struct CreatedBy<HRESULT (Lambda::*)(P**) const> {
    using type = P;
};

template <class T, class Call>
using Handle = std::shared_ptr<std::conditional_t<std::is_void_v<T>, typename CreatedBy<Call>::type, T>>;

} // namespace Detail

// Runs create, a callable that passes its one parameter (the out slot) to a creation
// call and returns the call's status, e.g.
//     CreateOwned([&](ID2D1PathGeometry** out) { return factory->CreatePathGeometry(out); })
// The object is owned first; unless the status is S_OK it is released and the result is
// empty. status, when given, receives the call's status. T (default: what the call
// creates) is the handle's type.
template <class T = void, class Call> Detail::Handle<T, Call> CreateOwned(Call&& create, HRESULT* status = nullptr)
{
    typename Detail::CreatedBy<Call>::type* created = nullptr;
    const HRESULT hr = create(&created);
    Detail::Handle<T, Call> object = AdoptInterface<typename Detail::Handle<T, Call>::element_type>(created);
    if (status) *status = hr;
    if (hr != S_OK) object.reset();
    return object;
}

// CreateOwned, throwing CheckD2DResult's error when the call does not report S_OK.
template <class T = void, class Call> Detail::Handle<T, Call> CreateChecked(Call&& create)
{
    HRESULT hr = S_OK;
    Detail::Handle<T, Call> object = CreateOwned<T>(std::forward<Call>(create), &hr);
    CheckD2DResult(hr);
    return object;
}

} // namespace KUV
