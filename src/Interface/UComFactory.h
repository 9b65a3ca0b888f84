#pragma once

#include "UComPtr.h"

#include <QString>

// Creates the signer's component objects and explains their failures. One
// backend per platform: the system's COM on Windows, an in-process registry
// elsewhere. Tests may plug in their own.
class TComFactory {
public:
    virtual ~TComFactory() = default;

    // Stores in *object one reference to interface `iid` of a component object
    // of class `clsid`. Raises TOrvError with the user's message when the
    // component cannot be created or lacks the interface.
    virtual void CreateObject(const CLSID& clsid, const IID& iid, void** object) = 0;

    // Forgets any error description left on this thread.
    virtual void ClearErrorInfo() = 0;
    // The description that the last failing call of `object` through
    // interface `iid` left on this thread, or empty text; reading it forgets
    // it. Where the platform asks, only an object that says it supports error
    // info for that interface is believed.
    virtual QString TakeErrorDescription(IUnknown* object, const IID& iid) = 0;
    // The system's text for an HRESULT, or empty text when it has none.
    virtual QString SystemMessage(HRESULT hr) = 0;
};

// The platform's backend, one per process.
TComFactory& DefaultComFactory();

// "{3DDEDCC5-856F-496A-A3B2-29A198C3B6D0}"
QString GuidToString(const GUID& guid);

// The message for a failing HRESULT: the component's description, else the
// system's text, else "OLE error %.8x"; trailing blanks, control characters
// and full stops removed.
QString ComErrorMessage(TComFactory& factory, HRESULT hr, IUnknown* object, const IID& iid);

// Raises TOrvError with ComErrorMessage when `hr` is a failure.
void ComCheck(TComFactory& factory, HRESULT hr, IUnknown* object, const IID& iid);

// The message for a component that cannot be created: "%s, ClassID: %s".
QString ComCreateErrorMessage(TComFactory& factory, HRESULT hr, const CLSID& clsid);

template <class T>
TComPtr<T> CreateComObject(TComFactory& factory, const CLSID& clsid, const IID& iid) {
    void* object = nullptr;
    factory.CreateObject(clsid, iid, &object);
    return TComPtr<T>::Attach(static_cast<T*>(object));
}

// The common part of TXmlPlugin, TCXadesSigAtl and TMes: the component
// object comes into being at the first method call and is released with the
// wrapper.
template <class T> class TComWrapper {
public:
    TComWrapper(const CLSID& clsid, const IID& iid, TComFactory& factory)
        : Clsid(clsid)
        , Iid(iid)
        , Factory(factory) {}
    TComWrapper(const TComWrapper&) = delete;
    TComWrapper& operator=(const TComWrapper&) = delete;

    bool IsConnected() const { return static_cast<bool>(Object); }
    void Disconnect() { Object.Reset(); }

protected:
    T& Intf() {
        if (!Object)
            Object = CreateComObject<T>(Factory, Clsid, Iid);
        Factory.ClearErrorInfo();
        return *Object.Get();
    }
    void Check(HRESULT hr) { ComCheck(Factory, hr, Object.Get(), Iid); }

private:
    CLSID Clsid;
    IID Iid;
    TComFactory& Factory;
    TComPtr<T> Object;
};
