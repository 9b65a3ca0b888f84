#pragma once

#include "UComPtr.h"

#include <atomic>
#include <memory>
#include <utility>

// Reference counting and the inherited IDispatch methods for a component
// object implementing interface T (our early-bound callers never use
// Invoke). Subclasses add further interfaces by overriding FindInterface.
// Released, never deleted through the interface, whose destructor the
// system's headers leave non-virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <class T> class TComObject : public T {
public:
    TComObject() = default;
    TComObject(const TComObject&) = delete;
    TComObject& operator=(const TComObject&) = delete;
    virtual ~TComObject() = default;

    HRESULT ORV_COMCALL QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = FindInterface(riid);
        if (!*object)
            return E_NOINTERFACE;
        this->AddRef();
        return S_OK;
    }
    ULONG ORV_COMCALL AddRef() override { return ++RefCount; }
    ULONG ORV_COMCALL Release() override {
        const ULONG left = --RefCount;
        if (left == 0)
            std::unique_ptr<TComObject>{this}.reset(); // the last reference owns the object
        return left;
    }

    HRESULT ORV_COMCALL GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return E_NOTIMPL;
    }
    HRESULT ORV_COMCALL GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT ORV_COMCALL GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT ORV_COMCALL Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) override {
        return E_NOTIMPL;
    }

protected:
    // `iid` is this object's main interface.
    void SetInterfaceId(const IID& iid) { MainIid = iid; }
    virtual void* FindInterface(REFIID riid) {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == MainIid)
            return static_cast<T*>(this);
        return nullptr;
    }

private:
    std::atomic<ULONG> RefCount{1};
    IID MainIid{};
};
#pragma GCC diagnostic pop

// A new object holding its first reference.
template <class TObject, class... TArgs> TComPtr<TObject> MakeComObject(TArgs&&... args) {
    return TComPtr<TObject>::Attach(
        std::make_unique<TObject>(std::forward<TArgs>(args)...).release());
}
