#pragma once

// The signer's XAdES component: signs the data objects added to it.

#include "UComFactory.h"

#include <cstdint>

inline constexpr CLSID CLSID_CXadesSigAtl = {
    0x99A7C5AE, 0xCC31, 0x4804, {0x8A, 0xDD, 0xF7, 0x84, 0x8A, 0xC1, 0x31, 0x43}};
inline constexpr IID IID_IXadesSigAtl = {
    0x30C8570A, 0x7148, 0x463C, {0xA0, 0x3B, 0x57, 0xB2, 0x3C, 0x05, 0x68, 0x9C}};

// Own methods in method-table order.
// A COM object is released, never deleted through its interface, so the
// system's interfaces carry no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class IXadesSigAtl : public IDispatch {
public:
    // 1: 0 when every added data object has been signed.
    virtual HRESULT ORV_COMCALL SignObjects(BSTR signatureId, BSTR digestAlgorithm,
                                            BSTR signaturePolicy, std::int32_t* result) = 0;
    // 2: the caller keeps its data object; the signer takes a reference of its own.
    virtual HRESULT ORV_COMCALL AddDataObject(VARIANT dataObject, std::int32_t* result) = 0;
    // 3: why the last signing failed.
    virtual HRESULT ORV_COMCALL get_LastErrorText(BSTR* result) = 0;
    // 4: the signed document after a successful signing.
    virtual HRESULT ORV_COMCALL get_SignedDocument(BSTR* result) = 0;
    // 5: drops the added data objects and the last result.
    virtual HRESULT ORV_COMCALL ClearDataObjects() = 0;

protected:
    IXadesSigAtl() = default;
    ~IXadesSigAtl() = default;
};
#pragma GCC diagnostic pop

class TCXadesSigAtl : public TComWrapper<IXadesSigAtl> {
public:
    explicit TCXadesSigAtl(TComFactory& factory = DefaultComFactory());

    std::int32_t SignObjects(const QString& signatureId, const QString& digestAlgorithm,
                             const QString& signaturePolicy);
    std::int32_t AddDataObject(const TVariant& dataObject);
    QString LastErrorText();
    QString SignedDocument();
    void ClearDataObjects();
};
