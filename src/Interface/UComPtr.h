#pragma once

#include "UComBase.h"

#include <QString>
#include <QStringView>

#include <utility>

// Owns one reference to a COM object and releases it on destruction.
template <class T> class TComPtr {
public:
    TComPtr() = default;
    TComPtr(const TComPtr& other)
        : Ptr(other.Ptr) {
        if (Ptr)
            Ptr->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept
        : Ptr(std::exchange(other.Ptr, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept {
        std::swap(Ptr, other.Ptr);
        return *this;
    }
    ~TComPtr() { Reset(); }

    // Takes over a reference the caller already holds.
    static TComPtr Attach(T* object) {
        TComPtr result;
        result.Ptr = object;
        return result;
    }
    // Adds a reference of its own.
    static TComPtr Share(T* object) {
        if (object)
            object->AddRef();
        return Attach(object);
    }

    void Reset() {
        if (T* old = std::exchange(Ptr, nullptr))
            old->Release();
    }
    T* Detach() { return std::exchange(Ptr, nullptr); }
    T* Get() const { return Ptr; }
    T* operator->() const { return Ptr; }
    explicit operator bool() const { return Ptr != nullptr; }

private:
    T* Ptr = nullptr;
};

// Owns one BSTR. Converts to and from QString without changing a character.
class TBStr {
public:
    TBStr() = default;
    explicit TBStr(const QString& text)
        : Str(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()),
                                static_cast<UINT>(text.size()))) {}
    TBStr(const TBStr&) = delete;
    TBStr& operator=(const TBStr&) = delete;
    TBStr(TBStr&& other) noexcept
        : Str(std::exchange(other.Str, nullptr)) {}
    TBStr& operator=(TBStr&& other) noexcept {
        std::swap(Str, other.Str);
        return *this;
    }
    ~TBStr() { SysFreeString(Str); }

    static TBStr Attach(BSTR text) {
        TBStr result;
        result.Str = text;
        return result;
    }

    BSTR Get() const { return Str; }
    BSTR Detach() { return std::exchange(Str, nullptr); }
    // For an [out] BSTR*: whatever was held is freed first.
    BSTR* Out() {
        SysFreeString(std::exchange(Str, nullptr));
        return &Str;
    }
    QString ToQString() const { return FromBStr(Str); }

    static QString FromBStr(BSTR text) { return View(text).toString(); }
    // The text in place, without a copy: a document can be large.
    static QStringView View(BSTR text) {
        return QStringView(text, static_cast<qsizetype>(SysStringLen(text)));
    }

private:
    BSTR Str = nullptr;
};

// Owns one VARIANT and clears it on destruction.
class TVariant {
public:
    TVariant() { VariantInit(&Value); }
    TVariant(const TVariant& other)
        : TVariant() {
        // The source is only read; the system's declaration lacks the const.
        VariantCopy(&Value, const_cast<VARIANT*>(&other.Value));
    }
    TVariant(TVariant&& other) noexcept
        : Value(other.Value) {
        VariantInit(&other.Value);
    }
    TVariant& operator=(TVariant other) noexcept {
        std::swap(Value, other.Value);
        return *this;
    }
    ~TVariant() { VariantClear(&Value); }

    static TVariant FromString(const QString& text) {
        TVariant result;
        result.Value.vt = VT_BSTR;
        result.Value.bstrVal = TBStr(text).Detach();
        return result;
    }
    static TVariant Null() {
        TVariant result;
        result.Value.vt = VT_NULL;
        return result;
    }
    // Takes over the reference.
    static TVariant FromDispatch(IDispatch* object) {
        TVariant result;
        result.Value.vt = VT_DISPATCH;
        result.Value.pdispVal = object;
        return result;
    }

    VARTYPE Type() const { return Value.vt; }
    bool IsEmpty() const { return Value.vt == VT_EMPTY; }
    bool IsNull() const { return Value.vt == VT_NULL; }
    const VARIANT& Get() const { return Value; }
    // For an [out] VARIANT*: whatever was held is cleared first.
    VARIANT* Out() {
        VariantClear(&Value);
        return &Value;
    }

private:
    VARIANT Value;
};
