#pragma once

// The signer's XML plug-in: makes a data object of an XML document checked
// against its schema, ready for the XAdES signer.

#include "UComFactory.h"

#include <cstdint>

inline constexpr CLSID CLSID_XmlPlugin = {
    0x3DDEDCC5, 0x856F, 0x496A, {0xA3, 0xB2, 0x29, 0xA1, 0x98, 0xC3, 0xB6, 0xD0}};
inline constexpr IID IID__XmlPlugin = {
    0xBFC9E680, 0x9D32, 0x3C30, {0x86, 0x3E, 0x5C, 0xF4, 0xC8, 0x43, 0x52, 0x50}};

// Own methods in method-table order; the seventh is the one the client calls.
// A COM object is released, never deleted through its interface, so the
// system's interfaces carry no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class _XmlPlugin : public IDispatch {
public:
    // 1: why the last document was refused, empty after a success.
    virtual HRESULT ORV_COMCALL get_ErrorMessage(BSTR* result) = 0;
    // 2: forgets the last error.
    virtual HRESULT ORV_COMCALL Reset() = 0;
    // 3: 0 when the document is valid against the schema.
    virtual HRESULT ORV_COMCALL ValidateXml(BSTR xmlData, BSTR xsdData, std::int32_t* result) = 0;
    // 4: the text rendering of the document made with the stylesheet.
    virtual HRESULT ORV_COMCALL TransformXml(BSTR xmlData, BSTR xslData, BSTR* result) = 0;
    // 5: a data object of plain text.
    virtual HRESULT ORV_COMCALL CreateTextDataObject(BSTR objectId, BSTR description, BSTR text,
                                                     VARIANT* result) = 0;
    // 6: a data object of a file's bytes.
    virtual HRESULT ORV_COMCALL CreateFileDataObject(BSTR objectId, BSTR description, BSTR filePath,
                                                     VARIANT* result) = 0;
    // 7: a data object of an XML document; empty when the document is refused.
    virtual HRESULT ORV_COMCALL CreateDataObject(BSTR objectId, BSTR description, BSTR xmlData,
                                                 BSTR xsdData, BSTR namespaceUri, BSTR xsdReference,
                                                 BSTR xslData, BSTR xslReference,
                                                 VARIANT* result) = 0;
    // 8
    virtual HRESULT ORV_COMCALL get_Version(BSTR* result) = 0;

protected:
    _XmlPlugin() = default;
    ~_XmlPlugin() = default;
};
#pragma GCC diagnostic pop

class TXmlPlugin : public TComWrapper<_XmlPlugin> {
public:
    explicit TXmlPlugin(TComFactory& factory = DefaultComFactory());

    QString ErrorMessage();
    void Reset();
    std::int32_t ValidateXml(const QString& xmlData, const QString& xsdData);
    QString TransformXml(const QString& xmlData, const QString& xslData);
    TVariant CreateTextDataObject(const QString& objectId, const QString& description,
                                  const QString& text);
    TVariant CreateFileDataObject(const QString& objectId, const QString& description,
                                  const QString& filePath);
    // xmlData is taken, and let go of once the component has its copy.
    TVariant CreateDataObject(const QString& objectId, const QString& description, QString xmlData,
                              const QString& xsdData, const QString& namespaceUri,
                              const QString& xsdReference, const QString& xslData,
                              const QString& xslReference);
    QString Version();
};
