#pragma once

#include "UComBase.h"

// The calling thread in a single-threaded apartment for the object's
// lifetime, as the signer's components expect. The window program gets one
// from Qt; the command line makes its own before it creates a component.
// Elsewhere than Windows there is nothing to enter.
class TComApartment {
public:
    TComApartment() {
#ifdef _WIN32
        Entered = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
#endif
    }
    ~TComApartment() {
#ifdef _WIN32
        if (Entered)
            CoUninitialize();
#endif
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    [[maybe_unused]] bool Entered = false;
};
