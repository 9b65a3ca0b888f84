#include "UXmlPluginComponent.h"

#include "UComRegistry.h"
#include "UOrvError.h"
#include "UXmlDataObject.h"
#include "UXmlForms.h"
#include "UXmlSafe.h"

#include <QCoreApplication>

namespace {

QString Str(BSTR text) {
    return TBStr::FromBStr(text);
}

HRESULT PutText(BSTR* target, const QString& text) {
    if (!target)
        return E_POINTER;
    *target = TBStr(text).Detach();
    return *target ? S_OK : E_OUTOFMEMORY;
}

// The namespace of the root element, or empty text.
QString RootNamespace(xmlDoc* doc) {
    const xmlNode* root = xmlDocGetRootElement(doc);
    return root && root->ns ? FromXmlChar(root->ns->href) : QString();
}

} // namespace

TXmlPluginComponent::TXmlPluginComponent() {
    SetInterfaceId(IID__XmlPlugin);
}

HRESULT TXmlPluginComponent::get_ErrorMessage(BSTR* result) {
    return PutText(result, ErrorMessage);
}

HRESULT TXmlPluginComponent::Reset() {
    ErrorMessage.clear();
    return S_OK;
}

HRESULT TXmlPluginComponent::ValidateXml(BSTR xmlData, BSTR xsdData, std::int32_t* result) {
    if (!result)
        return E_POINTER;
    try {
        TXmlDocPtr doc = ParseXmlSafely(
            TBStr::View(xmlData), QCoreApplication::translate("UXmlPluginComponent", "Dokument"));
        ErrorMessage = SchemaViolation(doc.get(), Str(xsdData));
    } catch (const TOrvError& error) {
        ErrorMessage = error.message();
    }
    *result = ErrorMessage.isEmpty() ? 0 : 1;
    return S_OK;
}

HRESULT TXmlPluginComponent::TransformXml(BSTR xmlData, BSTR xslData, BSTR* result) {
    try {
        TXmlDocPtr doc = ParseXmlSafely(
            TBStr::View(xmlData), QCoreApplication::translate("UXmlPluginComponent", "Dokument"));
        ErrorMessage.clear();
        return PutText(result, RenderText(doc.get(), Str(xslData)));
    } catch (const TOrvError& error) {
        ErrorMessage = error.message();
        SetComErrorDescription(ErrorMessage);
        return E_FAIL;
    }
}

HRESULT TXmlPluginComponent::CreateTextDataObject(BSTR, BSTR, BSTR, VARIANT* result) {
    if (result)
        VariantInit(result);
    SetComErrorDescription(QCoreApplication::translate("UXmlPluginComponent",
                                                       "Podporované sú len dátové objekty XML"));
    return E_NOTIMPL;
}

HRESULT TXmlPluginComponent::CreateFileDataObject(BSTR, BSTR, BSTR, VARIANT* result) {
    if (result)
        VariantInit(result);
    SetComErrorDescription(QCoreApplication::translate("UXmlPluginComponent",
                                                       "Podporované sú len dátové objekty XML"));
    return E_NOTIMPL;
}

HRESULT TXmlPluginComponent::CreateDataObject(BSTR objectId, BSTR description, BSTR xmlData,
                                              BSTR xsdData, BSTR namespaceUri, BSTR xsdReference,
                                              BSTR xslData, BSTR xslReference, VARIANT* result) {
    if (!result)
        return E_POINTER;
    VariantInit(result);
    ErrorMessage.clear();
    try {
        TXmlDocPtr doc = ParseXmlSafely(
            TBStr::View(xmlData), QCoreApplication::translate("UXmlPluginComponent", "Dokument"));
        const QString expected = Str(namespaceUri);
        const QString actual = RootNamespace(doc.get());
        if (!expected.isEmpty() && actual != expected) {
            ErrorMessage =
                QCoreApplication::translate("UXmlPluginComponent",
                                            "Menný priestor dokumentu \"%1\" nie je \"%2\"")
                    .arg(actual, expected);
            return S_OK;
        }
        ErrorMessage = SchemaViolation(doc.get(), Str(xsdData));
        if (!ErrorMessage.isEmpty())
            return S_OK;
        TComPtr<TXmlDataObject> object = MakeComObject<TXmlDataObject>();
        object->ObjectId = Str(objectId);
        object->Description = Str(description);
        object->NamespaceUri = expected;
        object->XsdReference = Str(xsdReference);
        object->XslData = Str(xslData);
        object->XslReference = Str(xslReference);
        object->Document = std::move(doc);
        result->vt = VT_DISPATCH;
        result->pdispVal = object.Detach();
    } catch (const TOrvError& error) {
        ErrorMessage = error.message();
    }
    return S_OK;
}

HRESULT TXmlPluginComponent::get_Version(BSTR* result) {
    return PutText(result, QStringLiteral("1.0"));
}
