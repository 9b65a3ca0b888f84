#pragma once

// The data object the XML plug-in hands out and the XAdES signer consumes:
// a parsed, schema-valid document with what the signature says about it.

#include "UComObject.h"
#include "UXmlPtr.h"

#include <QString>

// Private to the stand-in signer: the signer asks a data object for it.
inline constexpr IID IID_XmlDataObject = {
    0x6A1E2F4C, 0x3B7D, 0x4E58, {0x9C, 0x21, 0x5D, 0x8E, 0x7A, 0x40, 0xB3, 0x1F}};

class TXmlDataObject final : public TComObject<IDispatch> {
public:
    TXmlDataObject();

    QString ObjectId;
    QString Description;
    QString NamespaceUri;
    QString XsdReference;
    QString XslData;
    QString XslReference;
    // Taken by the signature that signs it: the signed document is built
    // around the very tree, without a copy.
    TXmlDocPtr Document;

    // The data object inside a VARIANT, or null.
    static TComPtr<TXmlDataObject> FromVariant(const VARIANT& value);

protected:
    void* FindInterface(REFIID riid) override;
};
