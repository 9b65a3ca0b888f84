#pragma once

// The COM vocabulary the signer interfaces are written in: the system's own on
// Windows, a source-compatible stand-in of ours elsewhere.
#ifdef _WIN32
#include <oaidl.h>
#include <objbase.h>
#define ORV_COMCALL STDMETHODCALLTYPE
#else
#include "UComTypes.h"
#define ORV_COMCALL
#endif
