// The test components' registration on Windows: the system's class table
// (CoRegisterClassObject), so that they are created through COM itself, as
// the signer's components are, and fail through its error information.

#include "UComApartment.h"
#include "UComRegistry.h"

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct TGuidLess {
    bool operator()(const GUID& a, const GUID& b) const {
        return std::memcmp(&a, &b, sizeof(GUID)) < 0;
    }
};

// COM interfaces have no virtual destructor: Release deletes the object as
// its own class, never through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TClassObject final : public IClassFactory {
public:
    explicit TClassObject(TComClassFactory factory)
        : Factory(std::move(factory)) {}
    TClassObject(const TClassObject&) = delete;
    TClassObject& operator=(const TClassObject&) = delete;
    virtual ~TClassObject() = default;

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
            std::unique_ptr<TClassObject>{this}.reset(); // the last reference owns it
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IUnknown* raw = nullptr;
        const HRESULT created = Factory(&raw);
        const TComPtr<IUnknown> unknown = TComPtr<IUnknown>::Attach(raw);
        if (FAILED(created))
            return created;
        if (!unknown)
            return CO_E_SERVER_EXEC_FAILURE;
        return unknown->QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    TComClassFactory Factory;
    std::atomic<ULONG> RefCount{1};
};
#pragma GCC diagnostic pop

struct TClassTable {
    std::mutex Lock;
    std::map<CLSID, DWORD, TGuidLess> Cookies;
};

TClassTable& Table() {
    static TClassTable table;
    return table;
}

} // namespace

void RegisterComClass(const CLSID& clsid, TComClassFactory factory) {
    // Class objects belong to an apartment; the test's thread enters one
    // for as long as it runs.
    thread_local const TComApartment apartment;
    UnregisterComClass(clsid);
    const TComPtr<TClassObject> object =
        TComPtr<TClassObject>::Attach(std::make_unique<TClassObject>(std::move(factory)).release());
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(clsid, object.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                     &cookie)))
        return;
    const std::lock_guard guard(Table().Lock);
    Table().Cookies[clsid] = cookie;
}

void UnregisterComClass(const CLSID& clsid) {
    DWORD cookie = 0;
    {
        const std::lock_guard guard(Table().Lock);
        const auto it = Table().Cookies.find(clsid);
        if (it == Table().Cookies.end())
            return;
        cookie = it->second;
        Table().Cookies.erase(it);
    }
    CoRevokeClassObject(cookie);
}

bool IsComClassRegistered(const CLSID& clsid) {
    const std::lock_guard guard(Table().Lock);
    return Table().Cookies.count(clsid) != 0;
}

void SetComErrorDescription(const QString& description) {
    ICreateErrorInfo* rawCreate = nullptr;
    if (FAILED(CreateErrorInfo(&rawCreate)) || !rawCreate)
        return;
    const TComPtr<ICreateErrorInfo> create = TComPtr<ICreateErrorInfo>::Attach(rawCreate);
    const TBStr text(description);
    create->SetDescription(text.Get());
    IErrorInfo* rawInfo = nullptr;
    if (FAILED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&rawInfo))))
        return;
    const TComPtr<IErrorInfo> info = TComPtr<IErrorInfo>::Attach(rawInfo);
    SetErrorInfo(0, info.Get());
}

TComClassRegistration::TComClassRegistration(const CLSID& clsid, TComClassFactory factory)
    : Clsid(clsid) {
    RegisterComClass(clsid, std::move(factory));
}

TComClassRegistration::~TComClassRegistration() {
    UnregisterComClass(Clsid);
}
