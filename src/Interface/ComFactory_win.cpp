#include "UComFactory.h"

#include "UOrvError.h"

#include <windows.h>

#include <iterator>

namespace {

class TWinComFactory final : public TComFactory {
public:
    // An active object of the class is preferred, as a running signer
    // registers itself in the running-object table.
    void CreateObject(const CLSID& clsid, const IID& iid, void** object) override {
        *object = nullptr;
        IUnknown* raw = nullptr;
        HRESULT hr = GetActiveObject(clsid, nullptr, &raw);
        if (FAILED(hr) || !raw) {
            raw = nullptr;
            hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IUnknown, reinterpret_cast<void**>(&raw));
            if (FAILED(hr) || !raw)
                throw TOrvError(ComCreateErrorMessage(*this, FAILED(hr) ? hr : E_FAIL, clsid));
        }
        TComPtr<IUnknown> unknown = TComPtr<IUnknown>::Attach(raw);
        if (FAILED(unknown->QueryInterface(iid, object)) || !*object) {
            *object = nullptr;
            throw TOrvError(QStringLiteral("Interface not supported"));
        }
    }

    void ClearErrorInfo() override { SetErrorInfo(0, nullptr); }

    QString TakeErrorDescription(IUnknown* object, const IID& iid) override {
        // Error info on the thread may be another object's leftover unless
        // this one says it sets it for this interface.
        if (!SupportsErrorInfo(object, iid)) {
            ClearErrorInfo();
            return {};
        }
        IErrorInfo* raw = nullptr;
        if (GetErrorInfo(0, &raw) != S_OK || !raw)
            return {};
        TComPtr<IErrorInfo> info = TComPtr<IErrorInfo>::Attach(raw);
        TBStr description;
        if (FAILED(info->GetDescription(description.Out())))
            return {};
        return description.ToQString();
    }

    QString SystemMessage(HRESULT hr) override {
        wchar_t buffer[1024];
        const DWORD length = FormatMessageW(
            FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            static_cast<DWORD>(hr), 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
        return QString::fromWCharArray(buffer, static_cast<qsizetype>(length));
    }

private:
    static bool SupportsErrorInfo(IUnknown* object, const IID& iid) {
        if (!object)
            return false;
        ISupportErrorInfo* raw = nullptr;
        if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&raw))) ||
            !raw)
            return false;
        const TComPtr<ISupportErrorInfo> support = TComPtr<ISupportErrorInfo>::Attach(raw);
        return support->InterfaceSupportsErrorInfo(iid) == S_OK;
    }
};

} // namespace

TComFactory& DefaultComFactory() {
    static TWinComFactory factory;
    return factory;
}
