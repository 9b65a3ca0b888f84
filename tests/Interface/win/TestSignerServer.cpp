// The in-process server of the test signer components: class objects,
// unloading and registration for the current user.

#include "UTestSignerComponents.h"

#include <memory>

namespace {

struct TClassInfo {
    const CLSID* Clsid;
    const wchar_t* Name;
    HRESULT (*Make)(REFIID riid, void** object);
};

template <class T> HRESULT Make(REFIID riid, void** object) {
    TComPtr<T> component = MakeComObject<T>();
    return component->QueryInterface(riid, object);
}

const TClassInfo Classes[] = {
    {&CLSID_XmlPlugin, L"XmlPlugin", &Make<TTestXmlPlugin>},
    {&CLSID_CXadesSigAtl, L"Xades", &Make<TTestXadesSigner>},
    {&CLSID_Mes, L"Mes", &Make<TTestMes>},
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor" // released, never deleted through IClassFactory
class TClassFactory final : public IClassFactory {
public:
    explicit TClassFactory(const TClassInfo& info)
        : Info(info) {}
    TClassFactory(const TClassFactory&) = delete;
    TClassFactory& operator=(const TClassFactory&) = delete;
    virtual ~TClassFactory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++RefCount; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --RefCount;
        if (left == 0)
            std::unique_ptr<TClassFactory>{this}.reset();
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        const HRESULT refused = ScriptEntry(Info.Name).Hr(L"create", S_OK);
        if (FAILED(refused))
            return refused;
        return Info.Make(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ++TestSignerObjects;
        else
            --TestSignerObjects;
        return S_OK;
    }

private:
    const TClassInfo& Info;
    std::atomic<ULONG> RefCount{1};
    TServerObjectCount Count;
};
#pragma GCC diagnostic pop

std::wstring ClassKey(const CLSID& clsid) {
    wchar_t text[64];
    StringFromGUID2(clsid, text, 64);
    return std::wstring(L"Software\\Classes\\CLSID\\") + text;
}

std::wstring ModulePath() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ClassKey), &module);
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT Register(HKEY root, const TClassInfo& info, const std::wstring& path) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, (ClassKey(*info.Clsid) + L"\\InprocServer32").c_str(), 0,
                                     nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = SetText(key, nullptr, path);
        if (status == ERROR_SUCCESS)
            status = SetText(key, L"ThreadingModel", L"Apartment");
        RegCloseKey(key);
    }
    return HRESULT_FROM_WIN32(status);
}

// Whether COM's view of the classes, HKEY_CLASSES_ROOT, shows the class.
bool VisibleToCom(const CLSID& clsid) {
    const std::wstring key = ClassKey(clsid).substr(sizeof "Software\\Classes\\" - 1);
    HKEY found = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (key + L"\\InprocServer32").c_str(), 0, KEY_READ,
                      &found) != ERROR_SUCCESS)
        return false;
    RegCloseKey(found);
    return true;
}

} // namespace

extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const TClassInfo& info : Classes) {
        if (clsid != *info.Clsid)
            continue;
        const HRESULT refused = ScriptEntry(info.Name).Hr(L"getclass", S_OK);
        if (FAILED(refused))
            return refused;
        const TComPtr<TClassFactory> factory =
            TComPtr<TClassFactory>::Attach(std::make_unique<TClassFactory>(info).release());
        return factory->QueryInterface(riid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow() {
    return TestSignerObjects == 0 ? S_OK : S_FALSE;
}

// Registers for the current user, as a user without administrator rights can.
// Where COM does not merge the user's classes into its view (Wine), the
// machine's classes are written as well.
extern "C" HRESULT STDMETHODCALLTYPE DllRegisterServer() {
    const std::wstring path = ModulePath();
    for (const TClassInfo& info : Classes) {
        HRESULT hr = Register(HKEY_CURRENT_USER, info, path);
        if (SUCCEEDED(hr) && !VisibleToCom(*info.Clsid))
            hr = Register(HKEY_LOCAL_MACHINE, info, path);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

extern "C" HRESULT STDMETHODCALLTYPE DllUnregisterServer() {
    for (const TClassInfo& info : Classes) {
        const std::wstring key = ClassKey(*info.Clsid);
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        // Only our own machine-wide copy: one that names this DLL.
        wchar_t server[MAX_PATH] = {};
        DWORD size = sizeof server;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, (key + L"\\InprocServer32").c_str(), nullptr,
                         RRF_RT_REG_SZ, nullptr, server, &size) == ERROR_SUCCESS &&
            lstrcmpiW(server, ModulePath().c_str()) == 0)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    }
    return S_OK;
}
