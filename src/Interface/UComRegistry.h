#pragma once

// The in-process component registry of platforms without COM: what the
// system's class registration is on Windows. Component libraries register a
// factory per class identifier; the registry backend of IComFactory creates
// objects from it.

#include "UComPtr.h"

#include <QString>

#include <functional>

// Creates one object and stores a reference to its IUnknown in *object, or
// returns a failing HRESULT.
using TComClassFactory = std::function<HRESULT(IUnknown** object)>;

void RegisterComClass(const CLSID& clsid, TComClassFactory factory);
void UnregisterComClass(const CLSID& clsid);

// What a failing component leaves for its caller on this thread (the
// system's error information object on Windows).
void SetComErrorDescription(const QString& description);

// Keeps a class registered for its own lifetime.
class TComClassRegistration {
public:
    TComClassRegistration(const CLSID& clsid, TComClassFactory factory);
    ~TComClassRegistration();
    TComClassRegistration(const TComClassRegistration&) = delete;
    TComClassRegistration& operator=(const TComClassRegistration&) = delete;

private:
    CLSID Clsid;
};
