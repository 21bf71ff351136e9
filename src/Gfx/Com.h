// Minimal COM-style object model shared by the drawing, text and imaging
// stand-ins: reference-counted interfaces, HRESULT status codes and GUIDs.
#pragma once

#include <atomic>
#include <cstdint>

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using UINT = std::uint32_t;
using UINT16 = std::uint16_t;
using UINT32 = std::uint32_t;
using UINT64 = std::uint64_t;
using BYTE = std::uint8_t;
using BOOL = int;
using FLOAT = float;
using WCHAR = char16_t;
using DWORD = std::uint32_t;

// glib spells these as macros; whichever comes first, both mean the same.
#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
// The system cannot find the file specified (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)).
constexpr HRESULT HRESULT_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT D2DERR_WRONG_STATE = static_cast<HRESULT>(0x88990001u);
constexpr HRESULT D2DERR_NOT_INITIALIZED = static_cast<HRESULT>(0x88990002u);
constexpr HRESULT D2DERR_UNSUPPORTED_OPERATION = static_cast<HRESULT>(0x88990003u);
constexpr HRESULT D2DERR_BAD_NUMBER = static_cast<HRESULT>(0x88990011u);
constexpr HRESULT D2DERR_RECREATE_TARGET = static_cast<HRESULT>(0x8899000Cu);
constexpr HRESULT D2DERR_MAX_TEXTURE_SIZE_EXCEEDED = static_cast<HRESULT>(0x8899000Fu);
constexpr HRESULT D2DERR_UNSUPPORTED_PIXEL_FORMAT = static_cast<HRESULT>(0x88982F80u);
constexpr HRESULT WINCODEC_ERR_COMPONENTNOTFOUND = static_cast<HRESULT>(0x88982F50u);
constexpr HRESULT WINCODEC_ERR_BADIMAGE = static_cast<HRESULT>(0x88982F60u);
constexpr HRESULT WINCODEC_ERR_FRAMEMISSING = static_cast<HRESULT>(0x88982F62u);
constexpr HRESULT WINCODEC_ERR_IMAGETOOLARGE = static_cast<HRESULT>(0x88982F46u);
constexpr HRESULT WINCODEC_ERR_STREAMREAD = static_cast<HRESULT>(0x88982F72u);

inline bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
inline bool FAILED(HRESULT hr)
{
    return hr < 0;
}

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using REFIID = const IID&;

inline bool operator==(const GUID& a, const GUID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}

constexpr IID IID_IUnknown = { 0x00000000, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };

// The root of every interface: objects live while references are held and are
// destroyed by the Release that drops the last one.
class IUnknown {
public:
    // Stores this object as the requested interface and adds a reference, or stores null and fails.
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    // Adds one reference; returns the new count.
    virtual ULONG AddRef() = 0;
    // Drops one reference, destroying the object at zero; returns the new count.
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Reference counting for implementation classes. Objects start with one
// reference, owned by whoever created them.
template <class Interface> class RefCounted : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_RefCount; }
    ULONG Release() override
    {
        const ULONG count = --m_RefCount;
        if (count == 0) delete this;
        return count;
    }

protected:
    ~RefCounted() override = default;

private:
    std::atomic<ULONG> m_RefCount { 1 };
};

// Owns one reference to a COM-style object for the span of a scope.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* adopted)
        : m_Ptr(adopted)
    {
    }
    ComPtr(const ComPtr& other)
        : m_Ptr(other.m_Ptr)
    {
        if (m_Ptr) m_Ptr->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept
        : m_Ptr(other.m_Ptr)
    {
        other.m_Ptr = nullptr;
    }
    ComPtr& operator=(ComPtr other) noexcept
    {
        T* old = m_Ptr;
        m_Ptr = other.m_Ptr;
        other.m_Ptr = old;
        return *this;
    }
    ~ComPtr()
    {
        if (m_Ptr) m_Ptr->Release();
    }
    T* Get() const { return m_Ptr; }
    T* operator->() const { return m_Ptr; }
    explicit operator bool() const { return m_Ptr != nullptr; }
    // Releases what is held and hands out the slot for an out parameter.
    T** ReleaseAndGetAddressOf()
    {
        if (m_Ptr) m_Ptr->Release();
        m_Ptr = nullptr;
        return &m_Ptr;
    }
    T* Detach()
    {
        T* p = m_Ptr;
        m_Ptr = nullptr;
        return p;
    }

private:
    T* m_Ptr = nullptr;
};
