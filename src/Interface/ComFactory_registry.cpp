#include "UComFactory.h"
#include "UComRegistry.h"

#include "UOrvError.h"

#include <map>
#include <mutex>
#include <optional>

namespace {

struct TGuidLess {
    bool operator()(const GUID& a, const GUID& b) const {
        if (a.Data1 != b.Data1)
            return a.Data1 < b.Data1;
        if (a.Data2 != b.Data2)
            return a.Data2 < b.Data2;
        if (a.Data3 != b.Data3)
            return a.Data3 < b.Data3;
        for (int i = 0; i < 8; ++i) {
            if (a.Data4[i] != b.Data4[i])
                return a.Data4[i] < b.Data4[i];
        }
        return false;
    }
};

struct TRegistry {
    std::mutex Lock;
    std::map<CLSID, TComClassFactory, TGuidLess> Classes;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

std::optional<TComClassFactory> FindClass(const CLSID& clsid) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.Lock);
    auto it = registry.Classes.find(clsid);
    if (it == registry.Classes.end())
        return std::nullopt;
    return it->second;
}

thread_local QString ErrorDescription;

// The texts Windows gives for the HRESULTs a component is likely to return.
QString KnownSystemMessage(HRESULT hr) {
    switch (hr) {
    case E_NOTIMPL:
        return QStringLiteral("Not implemented");
    case E_NOINTERFACE:
        return QStringLiteral("No such interface supported");
    case E_POINTER:
        return QStringLiteral("Invalid pointer");
    case E_ABORT:
        return QStringLiteral("Operation aborted");
    case E_FAIL:
        return QStringLiteral("Unspecified error");
    case E_UNEXPECTED:
        return QStringLiteral("Catastrophic failure");
    case E_ACCESSDENIED:
        return QStringLiteral("Access is denied.");
    case E_OUTOFMEMORY:
        return QStringLiteral("Not enough memory resources are available to complete this "
                              "operation.");
    case E_INVALIDARG:
        return QStringLiteral("The parameter is incorrect.");
    case DISP_E_EXCEPTION:
        return QStringLiteral("Exception occurred.");
    case DISP_E_TYPEMISMATCH:
        return QStringLiteral("Type mismatch.");
    case MK_E_UNAVAILABLE:
        return QStringLiteral("Operation unavailable");
    case REGDB_E_CLASSNOTREG:
        return QStringLiteral("Class not registered");
    case CLASS_E_NOAGGREGATION:
        return QStringLiteral("Class does not support aggregation (or class object is remote)");
    case CO_E_SERVER_EXEC_FAILURE:
        return QStringLiteral("Server execution failed");
    default:
        return {};
    }
}

class TRegistryComFactory final : public TComFactory {
public:
    void CreateObject(const CLSID& clsid, const IID& iid, void** object) override {
        *object = nullptr;
        const std::optional<TComClassFactory> create = FindClass(clsid);
        if (!create)
            throw TOrvError(ComCreateErrorMessage(*this, REGDB_E_CLASSNOTREG, clsid));
        IUnknown* raw = nullptr;
        const HRESULT created = (*create)(&raw);
        TComPtr<IUnknown> unknown = TComPtr<IUnknown>::Attach(raw);
        if (FAILED(created) || !unknown)
            throw TOrvError(ComCreateErrorMessage(
                *this, FAILED(created) ? created : CO_E_SERVER_EXEC_FAILURE, clsid));
        if (FAILED(unknown->QueryInterface(iid, object)) || !*object) {
            *object = nullptr;
            throw TOrvError(QStringLiteral("Interface not supported"));
        }
    }

    void ClearErrorInfo() override { ErrorDescription.clear(); }

    // The stand-in components always leave their description here.
    QString TakeErrorDescription(IUnknown*, const IID&) override {
        return std::exchange(ErrorDescription, {});
    }

    QString SystemMessage(HRESULT hr) override { return KnownSystemMessage(hr); }
};

} // namespace

void RegisterComClass(const CLSID& clsid, TComClassFactory factory) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.Lock);
    registry.Classes[clsid] = std::move(factory);
}

void UnregisterComClass(const CLSID& clsid) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.Lock);
    registry.Classes.erase(clsid);
}

bool IsComClassRegistered(const CLSID& clsid) {
    return FindClass(clsid).has_value();
}

void SetComErrorDescription(const QString& description) {
    ErrorDescription = description;
}

TComClassRegistration::TComClassRegistration(const CLSID& clsid, TComClassFactory factory)
    : Clsid(clsid) {
    RegisterComClass(clsid, std::move(factory));
}

TComClassRegistration::~TComClassRegistration() {
    UnregisterComClass(Clsid);
}

TComFactory& DefaultComFactory() {
    static TRegistryComFactory factory;
    return factory;
}
