#pragma once

// The three test signer components behind real COM: each records the calls
// that reach it in the log and answers as the script says (UTestSignerScript.h).

// A COM object is released, never deleted through the system's interfaces,
// which carry no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "UComObject.h"
#include "UTestSignerScript.h"

#include <atomic>
#include <initializer_list>
#include <string>

// Objects of this DLL still alive, and server locks: DllCanUnloadNow's answer.
extern std::atomic<long> TestSignerObjects;

// Keeps TestSignerObjects for its lifetime.
class TServerObjectCount {
public:
    TServerObjectCount() { ++TestSignerObjects; }
    ~TServerObjectCount() { --TestSignerObjects; }
    TServerObjectCount(const TServerObjectCount&) = delete;
    TServerObjectCount& operator=(const TServerObjectCount&) = delete;
};

// What a method answers, from its script line.
struct TAnswer {
    HRESULT Hr = S_OK;
    std::wstring Text;
    std::int32_t Status = 0;
    VARTYPE VariantType = VT_DISPATCH;
};

// The common part of the three components: the log, the script, the error
// information and ISupportErrorInfo.
template <class T> class TRecorder : public TComObject<T>, public ISupportErrorInfo {
public:
    TRecorder(const wchar_t* name, const IID& iid)
        : Name(name)
        , Iid(iid)
        , Class(ScriptEntry(name)) {
        if (Class.Number(L"iface", 1) != 0)
            this->SetInterfaceId(iid);
        LogLine(Name + L".Create");
    }
    ~TRecorder() override { LogLine(Name + L".Release"); }

    HRESULT ORV_COMCALL QueryInterface(REFIID riid, void** object) override {
        return TComObject<T>::QueryInterface(riid, object);
    }
    ULONG ORV_COMCALL AddRef() override { return TComObject<T>::AddRef(); }
    ULONG ORV_COMCALL Release() override { return TComObject<T>::Release(); }

    HRESULT ORV_COMCALL InterfaceSupportsErrorInfo(REFIID riid) override {
        return riid == Iid && Class.Text(L"errorinfo") != L"no" ? S_OK : S_FALSE;
    }

protected:
    void* FindInterface(REFIID riid) override {
        if (riid == IID_ISupportErrorInfo)
            return Class.Text(L"errorinfo") == L"none" ? nullptr
                                                       : static_cast<ISupportErrorInfo*>(this);
        return TComObject<T>::FindInterface(riid);
    }

    // Logs the call and answers it; a description in the script is left as
    // this thread's error information, whatever the HRESULT.
    TAnswer Record(const wchar_t* method, std::initializer_list<BSTR> args = {}) {
        std::wstring line = Name + L'.' + method + L'(';
        bool first = true;
        for (BSTR arg : args) {
            if (!first)
                line += L'|';
            first = false;
            line += EscapeArgument(arg, SysStringLen(arg));
        }
        return Answer(method, line + L')');
    }
    TAnswer Answer(const wchar_t* method, const std::wstring& line);

    // A copy of text for an [out] BSTR.
    static BSTR Out(const std::wstring& text) {
        return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }

    std::wstring Name;
    const IID Iid;
    const TScriptEntry Class;

private:
    TServerObjectCount Count;
};

// A data object as the test plug-in hands it out.
class TTestDataObject final : public TComObject<IDispatch> {
public:
    TTestDataObject() { LogLine(L"DataObject.Create"); }
    ~TTestDataObject() override { LogLine(L"DataObject.Release"); }

private:
    TServerObjectCount Count;
};

class TTestXmlPlugin final : public TRecorder<_XmlPlugin> {
public:
    TTestXmlPlugin()
        : TRecorder(L"XmlPlugin", IID__XmlPlugin) {}

    HRESULT ORV_COMCALL get_ErrorMessage(BSTR* result) override;
    HRESULT ORV_COMCALL Reset() override;
    HRESULT ORV_COMCALL ValidateXml(BSTR xml, BSTR xsd, std::int32_t* result) override;
    HRESULT ORV_COMCALL TransformXml(BSTR xml, BSTR xsl, BSTR* result) override;
    HRESULT ORV_COMCALL CreateTextDataObject(BSTR id, BSTR description, BSTR text,
                                             VARIANT* result) override;
    HRESULT ORV_COMCALL CreateFileDataObject(BSTR id, BSTR description, BSTR path,
                                             VARIANT* result) override;
    HRESULT ORV_COMCALL CreateDataObject(BSTR id, BSTR description, BSTR xml, BSTR xsd, BSTR ns,
                                         BSTR xsdRef, BSTR xsl, BSTR xslRef,
                                         VARIANT* result) override;
    HRESULT ORV_COMCALL get_Version(BSTR* result) override;

private:
    HRESULT DataObject(const TAnswer& answer, VARIANT* result);
};

class TTestXadesSigner final : public TRecorder<IXadesSigAtl> {
public:
    TTestXadesSigner()
        : TRecorder(L"Xades", IID_IXadesSigAtl) {
        VariantInit(&Kept);
    }
    ~TTestXadesSigner() override { VariantClear(&Kept); }

    HRESULT ORV_COMCALL SignObjects(BSTR id, BSTR digest, BSTR policy,
                                    std::int32_t* result) override;
    HRESULT ORV_COMCALL AddDataObject(VARIANT dataObject, std::int32_t* result) override;
    HRESULT ORV_COMCALL get_LastErrorText(BSTR* result) override;
    HRESULT ORV_COMCALL get_SignedDocument(BSTR* result) override;
    HRESULT ORV_COMCALL ClearDataObjects() override;

    // The data object the plug-in handed out last, to tell it apart.
    static inline IDispatch* LastCreated = nullptr;

private:
    VARIANT Kept;
};

class TTestMes final : public TRecorder<_Mes> {
public:
    TTestMes()
        : TRecorder(L"Mes", IID__Mes) {}

    HRESULT ORV_COMCALL get_Version(BSTR* result) override;
    HRESULT ORV_COMCALL get_LastError(BSTR* result) override;
    HRESULT ORV_COMCALL Base64Encode(BSTR text, BSTR* result) override;
    HRESULT ORV_COMCALL Base64Decode(BSTR text, BSTR* result) override;
    HRESULT ORV_COMCALL CreateSubmission(BSTR xsdRef, BSTR type, BSTR description, BSTR* data,
                                         std::int32_t* result) override;
    HRESULT ORV_COMCALL ComposeSubmission(BSTR ns, BSTR type, BSTR description, BSTR subjekt,
                                          BSTR ephId, BSTR* result) override;
    HRESULT ORV_COMCALL SetSubmissionData(BSTR data) override;
    HRESULT ORV_COMCALL LoadSignedDocument(BSTR document) override;
    HRESULT ORV_COMCALL get_SignedDocument(BSTR* result) override;
    HRESULT ORV_COMCALL get_SubmissionData(BSTR* result) override;
    HRESULT ORV_COMCALL Clear() override;
};

template <class T> TAnswer TRecorder<T>::Answer(const wchar_t* method, const std::wstring& line) {
    LogLine(line);
    const TScriptEntry entry = ScriptEntry(Name + L'.' + method);
    TAnswer answer;
    answer.Hr = entry.Hr(L"hr", S_OK);
    answer.Text = entry.Text(L"text");
    answer.Status = static_cast<std::int32_t>(entry.Number(L"status", 0));
    answer.VariantType = static_cast<VARTYPE>(entry.Number(L"vt", VT_DISPATCH));
    if (const auto description = entry.Value(L"desc")) {
        ICreateErrorInfo* create = nullptr;
        if (SUCCEEDED(CreateErrorInfo(&create))) {
            create->SetGUID(Iid);
            create->SetSource(const_cast<LPOLESTR>(Name.c_str()));
            create->SetDescription(const_cast<LPOLESTR>(description->c_str()));
            IErrorInfo* info = nullptr;
            if (SUCCEEDED(
                    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
                SetErrorInfo(0, info);
                info->Release();
            }
            create->Release();
        }
    }
    return answer;
}

#pragma GCC diagnostic pop
