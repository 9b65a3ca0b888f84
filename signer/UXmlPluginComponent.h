#pragma once

#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "UComObject.h"

#include <QString>

// The stand-in XML plug-in: a document becomes a data object once it is
// well-formed XML without a DTD and valid against the schema it came with.
// A refused document gives an empty VARIANT; the reason is kept for the user.
class TXmlPluginComponent final : public TComObject<_XmlPlugin> {
public:
    TXmlPluginComponent();

    HRESULT get_ErrorMessage(BSTR* result) override;
    HRESULT Reset() override;
    HRESULT ValidateXml(BSTR xmlData, BSTR xsdData, std::int32_t* result) override;
    HRESULT TransformXml(BSTR xmlData, BSTR xslData, BSTR* result) override;
    HRESULT CreateTextDataObject(BSTR objectId, BSTR description, BSTR text,
                                 VARIANT* result) override;
    HRESULT CreateFileDataObject(BSTR objectId, BSTR description, BSTR filePath,
                                 VARIANT* result) override;
    HRESULT CreateDataObject(BSTR objectId, BSTR description, BSTR xmlData, BSTR xsdData,
                             BSTR namespaceUri, BSTR xsdReference, BSTR xslData, BSTR xslReference,
                             VARIANT* result) override;
    HRESULT get_Version(BSTR* result) override;

private:
    QString ErrorMessage;
};
