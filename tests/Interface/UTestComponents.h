#pragma once

// Test components for the three signer interfaces: each records the calls
// that reach it, with their arguments, and answers as its script says.

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "UComObject.h"
#include "UComRegistry.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

struct TCallLog {
    QStringList Calls; // "Object.Method(arg|arg|...)"
    int Created = 0;
    int Destroyed = 0;
};

// What a method answers: its HRESULT, the error description it leaves and
// its result values.
struct TScriptedAnswer {
    HRESULT Hr = S_OK;
    QString Description;
    QString Text;
    std::int32_t Status = 0;
    VARTYPE VariantType = VT_DISPATCH;
};

inline TScriptedAnswer Failing(HRESULT hr, QString description = {}) {
    TScriptedAnswer answer;
    answer.Hr = hr;
    answer.Description = std::move(description);
    return answer;
}

struct TComponentScript {
    std::map<QString, TScriptedAnswer> Answers; // by method name
    TScriptedAnswer Answer(const QString& method) const {
        auto it = Answers.find(method);
        return it == Answers.end() ? TScriptedAnswer{} : it->second;
    }
};

// A data object as the test plug-in hands it out.
class TTestDataObject final : public TComObject<IDispatch> {
public:
    explicit TTestDataObject(TCallLog& log)
        : Log(log) {
        ++Log.Created;
    }
    ~TTestDataObject() override { ++Log.Destroyed; }

private:
    TCallLog& Log;
};

#ifdef _WIN32
// Windows believes a component's error info only when the component says it
// supports it for the interface called.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor" // released, never deleted as an interface
template <class T> class TErrorInfoComObject : public TComObject<T>, public ISupportErrorInfo {
public:
    HRESULT ORV_COMCALL QueryInterface(REFIID riid, void** object) override {
        return TComObject<T>::QueryInterface(riid, object);
    }
    ULONG ORV_COMCALL AddRef() override { return TComObject<T>::AddRef(); }
    ULONG ORV_COMCALL Release() override { return TComObject<T>::Release(); }
    HRESULT ORV_COMCALL InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

protected:
    void* FindInterface(REFIID riid) override {
        if (riid == IID_ISupportErrorInfo)
            return static_cast<ISupportErrorInfo*>(this);
        return TComObject<T>::FindInterface(riid);
    }
};
#pragma GCC diagnostic pop
#else
template <class T> using TErrorInfoComObject = TComObject<T>;
#endif

template <class T> class TRecordingComponent : public TErrorInfoComObject<T> {
protected:
    TRecordingComponent(QString name, const IID& iid, TCallLog& log, const TComponentScript& script)
        : Name(std::move(name))
        , Log(log)
        , Script(script) {
        this->SetInterfaceId(iid);
        ++Log.Created;
        Log.Calls << Name + QStringLiteral(".Create");
    }
    ~TRecordingComponent() override {
        ++Log.Destroyed;
        Log.Calls << Name + QStringLiteral(".Release");
    }

    TScriptedAnswer Record(const QString& method, const QStringList& args = {}) {
        Log.Calls << QStringLiteral("%1.%2(%3)").arg(Name, method, args.join(u'|'));
        TScriptedAnswer answer = Script.Answer(method);
        if (!answer.Description.isEmpty())
            SetComErrorDescription(answer.Description);
        return answer;
    }
    static QString Str(BSTR text) { return TBStr::FromBStr(text); }
    static void Out(BSTR* target, const QString& text) { *target = TBStr(text).Detach(); }

    QString Name;
    TCallLog& Log;
    const TComponentScript& Script;
};

class TTestXmlPlugin final : public TRecordingComponent<_XmlPlugin> {
public:
    TTestXmlPlugin(TCallLog& log, const TComponentScript& script)
        : TRecordingComponent(QStringLiteral("XmlPlugin"), IID__XmlPlugin, log, script) {}
    HRESULT get_ErrorMessage(BSTR* result) override {
        auto a = Record(QStringLiteral("ErrorMessage"));
        Out(result, a.Text);
        return a.Hr;
    }
    HRESULT Reset() override { return Record(QStringLiteral("Reset")).Hr; }
    HRESULT ValidateXml(BSTR xml, BSTR xsd, std::int32_t* result) override {
        auto a = Record(QStringLiteral("ValidateXml"), {Str(xml), Str(xsd)});
        *result = a.Status;
        return a.Hr;
    }
    HRESULT TransformXml(BSTR xml, BSTR xsl, BSTR* result) override {
        auto a = Record(QStringLiteral("TransformXml"), {Str(xml), Str(xsl)});
        Out(result, a.Text);
        return a.Hr;
    }
    HRESULT CreateTextDataObject(BSTR id, BSTR description, BSTR text, VARIANT* result) override {
        return Answer(QStringLiteral("CreateTextDataObject"),
                      {Str(id), Str(description), Str(text)}, result);
    }
    HRESULT CreateFileDataObject(BSTR id, BSTR description, BSTR path, VARIANT* result) override {
        return Answer(QStringLiteral("CreateFileDataObject"),
                      {Str(id), Str(description), Str(path)}, result);
    }
    HRESULT CreateDataObject(BSTR id, BSTR description, BSTR xml, BSTR xsd, BSTR ns, BSTR xsdRef,
                             BSTR xsl, BSTR xslRef, VARIANT* result) override {
        return Answer(QStringLiteral("CreateDataObject"),
                      {Str(id), Str(description), Str(xml), Str(xsd), Str(ns), Str(xsdRef),
                       Str(xsl), Str(xslRef)},
                      result);
    }
    HRESULT get_Version(BSTR* result) override {
        auto a = Record(QStringLiteral("Version"));
        Out(result, a.Text);
        return a.Hr;
    }

private:
    HRESULT Answer(const QString& method, const QStringList& args, VARIANT* result) {
        auto a = Record(method, args);
        VariantInit(result);
        result->vt = a.VariantType;
        if (a.VariantType == VT_DISPATCH)
            result->pdispVal = MakeComObject<TTestDataObject>(Log).Detach();
        else if (a.VariantType == VT_BSTR)
            result->bstrVal = TBStr(a.Text).Detach();
        return a.Hr;
    }
};

class TTestXadesSigner final : public TRecordingComponent<IXadesSigAtl> {
public:
    TTestXadesSigner(TCallLog& log, const TComponentScript& script)
        : TRecordingComponent(QStringLiteral("Xades"), IID_IXadesSigAtl, log, script) {}
    HRESULT SignObjects(BSTR id, BSTR digest, BSTR policy, std::int32_t* result) override {
        auto a = Record(QStringLiteral("SignObjects"), {Str(id), Str(digest), Str(policy)});
        *result = a.Status;
        return a.Hr;
    }
    HRESULT AddDataObject(VARIANT dataObject, std::int32_t* result) override {
        auto a = Record(QStringLiteral("AddDataObject"),
                        {QString::number(dataObject.vt),
                         dataObject.vt == VT_DISPATCH && dataObject.pdispVal == LastAdded
                             ? QStringLiteral("same")
                             : QStringLiteral("other")});
        VariantCopy(Kept.Out(), &dataObject);
        *result = a.Status;
        return a.Hr;
    }
    HRESULT get_LastErrorText(BSTR* result) override {
        auto a = Record(QStringLiteral("LastErrorText"));
        Out(result, a.Text);
        return a.Hr;
    }
    HRESULT get_SignedDocument(BSTR* result) override {
        auto a = Record(QStringLiteral("SignedDocument"));
        Out(result, a.Text);
        return a.Hr;
    }
    HRESULT ClearDataObjects() override {
        Kept = TVariant();
        return Record(QStringLiteral("ClearDataObjects")).Hr;
    }

    // The data object AddDataObject is expected to receive.
    static inline IDispatch* LastAdded = nullptr;

private:
    TVariant Kept;
};

class TTestMes final : public TRecordingComponent<_Mes> {
public:
    TTestMes(TCallLog& log, const TComponentScript& script)
        : TRecordingComponent(QStringLiteral("Mes"), IID__Mes, log, script) {}
    HRESULT get_Version(BSTR* r) override { return Text(QStringLiteral("Version"), {}, r); }
    HRESULT get_LastError(BSTR* r) override { return Text(QStringLiteral("LastError"), {}, r); }
    HRESULT Base64Encode(BSTR t, BSTR* r) override {
        return Text(QStringLiteral("Base64Encode"), {Str(t)}, r);
    }
    HRESULT Base64Decode(BSTR t, BSTR* r) override {
        return Text(QStringLiteral("Base64Decode"), {Str(t)}, r);
    }
    HRESULT CreateSubmission(BSTR xsdRef, BSTR type, BSTR description, BSTR* data,
                             std::int32_t* result) override {
        auto a =
            Record(QStringLiteral("CreateSubmission"), {Str(xsdRef), Str(type), Str(description)});
        Out(data, a.Text);
        *result = a.Status;
        return a.Hr;
    }
    HRESULT ComposeSubmission(BSTR ns, BSTR type, BSTR description, BSTR subjekt, BSTR ephId,
                              BSTR* r) override {
        return Text(QStringLiteral("ComposeSubmission"),
                    {Str(ns), Str(type), Str(description), Str(subjekt), Str(ephId)}, r);
    }
    HRESULT SetSubmissionData(BSTR d) override {
        return Record(QStringLiteral("SetSubmissionData"), {Str(d)}).Hr;
    }
    HRESULT LoadSignedDocument(BSTR d) override {
        return Record(QStringLiteral("LoadSignedDocument"), {Str(d)}).Hr;
    }
    HRESULT get_SignedDocument(BSTR* r) override {
        return Text(QStringLiteral("SignedDocument"), {}, r);
    }
    HRESULT get_SubmissionData(BSTR* r) override {
        return Text(QStringLiteral("SubmissionData"), {}, r);
    }
    HRESULT Clear() override { return Record(QStringLiteral("Clear")).Hr; }

private:
    HRESULT Text(const QString& method, const QStringList& args, BSTR* result) {
        auto a = Record(method, args);
        Out(result, a.Text);
        return a.Hr;
    }
};

// Registers the three test components under the signer's class identifiers
// for its lifetime.
class TTestComponents {
public:
    TTestComponents()
        : Plugin(CLSID_XmlPlugin, Factory<TTestXmlPlugin>())
        , Signer(CLSID_CXadesSigAtl, Factory<TTestXadesSigner>())
        , Tools(CLSID_Mes, Factory<TTestMes>()) {}

    TCallLog Log;
    TComponentScript Script;

private:
    template <class T> TComClassFactory Factory() {
        return [this](IUnknown** object) {
            // Through the main interface: on Windows IUnknown is also a base
            // of ISupportErrorInfo.
            *object = static_cast<IDispatch*>(MakeComObject<T>(Log, Script).Detach());
            return S_OK;
        };
    }

    TComClassRegistration Plugin;
    TComClassRegistration Signer;
    TComClassRegistration Tools;
};
