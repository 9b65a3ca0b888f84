#include "UComTypes.h"

#include <cstdlib>
#include <cstring>

// A BSTR points just past a 32-bit byte count and is followed by a NUL, so
// that SysStringLen is O(1) and the text may hold NULs of its own.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
    void* block = std::malloc(sizeof(std::uint32_t) + bytes + sizeof(OLECHAR));
    if (!block)
        return nullptr;
    const auto byteCount = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &byteCount, sizeof byteCount);
    auto* chars = reinterpret_cast<OLECHAR*>(static_cast<char*>(block) + sizeof(std::uint32_t));
    if (text && length)
        std::memcpy(chars, text, bytes);
    else if (length)
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text)
        return nullptr;
    UINT length = 0;
    while (text[length])
        ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text)
        std::free(reinterpret_cast<char*>(text) - sizeof(std::uint32_t));
}

UINT SysStringLen(BSTR text) {
    if (!text)
        return 0;
    std::uint32_t byteCount = 0;
    std::memcpy(&byteCount, reinterpret_cast<char*>(text) - sizeof(std::uint32_t),
                sizeof byteCount);
    return byteCount / sizeof(OLECHAR);
}

void VariantInit(VARIANT* value) {
    std::memset(value, 0, sizeof *value);
    value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* value) {
    if (!value)
        return E_POINTER;
    switch (value->vt) {
    case VT_BSTR:
        SysFreeString(value->bstrVal);
        break;
    case VT_DISPATCH:
        if (value->pdispVal)
            value->pdispVal->Release();
        break;
    case VT_UNKNOWN:
        if (value->punkVal)
            value->punkVal->Release();
        break;
    default:
        break;
    }
    VariantInit(value);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* target, const VARIANT* source) {
    if (!target || !source)
        return E_POINTER;
    if (target == source)
        return S_OK;
    VariantClear(target);
    *target = *source;
    switch (source->vt) {
    case VT_BSTR:
        if (source->bstrVal) {
            target->bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
            if (!target->bstrVal) {
                VariantInit(target);
                return E_OUTOFMEMORY;
            }
        }
        break;
    case VT_DISPATCH:
        if (target->pdispVal)
            target->pdispVal->AddRef();
        break;
    case VT_UNKNOWN:
        if (target->punkVal)
            target->punkVal->AddRef();
        break;
    default:
        break;
    }
    return S_OK;
}
