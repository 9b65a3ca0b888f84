#pragma once

// The signer's tools component: packages a signed document into the final
// submission document.

#include "UComFactory.h"

#include <cstdint>

inline constexpr CLSID CLSID_Mes = {
    0x08EE3998, 0xE42D, 0x4FBD, {0x9B, 0x4A, 0x6C, 0xA3, 0xD4, 0x25, 0xDD, 0x56}};
inline constexpr IID IID__Mes = {
    0xC4E9AFBB, 0x5948, 0x3E1E, {0xA1, 0x36, 0x79, 0x95, 0x48, 0x0B, 0xD3, 0x2E}};

// Own methods in method-table order.
// A COM object is released, never deleted through its interface, so the
// system's interfaces carry no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class _Mes : public IDispatch {
public:
    // 1
    virtual HRESULT ORV_COMCALL get_Version(BSTR* result) = 0;
    // 2: why the last operation failed.
    virtual HRESULT ORV_COMCALL get_LastError(BSTR* result) = 0;
    // 3: Base64 of the text's UTF-8 bytes.
    virtual HRESULT ORV_COMCALL Base64Encode(BSTR text, BSTR* result) = 0;
    // 4: the UTF-8 text that Base64 stands for.
    virtual HRESULT ORV_COMCALL Base64Decode(BSTR text, BSTR* result) = 0;
    // 5: the submission data for a form; the status is 0 on success.
    virtual HRESULT ORV_COMCALL CreateSubmission(BSTR xsdReference, BSTR typeCode, BSTR description,
                                                 BSTR* submissionData, std::int32_t* result) = 0;
    // 6: the final submission document.
    virtual HRESULT ORV_COMCALL ComposeSubmission(BSTR namespaceUri, BSTR typeCode,
                                                  BSTR description, BSTR subjekt, BSTR ephId,
                                                  BSTR* result) = 0;
    // 7
    virtual HRESULT ORV_COMCALL SetSubmissionData(BSTR submissionData) = 0;
    // 8
    virtual HRESULT ORV_COMCALL LoadSignedDocument(BSTR signedDocument) = 0;
    // 9
    virtual HRESULT ORV_COMCALL get_SignedDocument(BSTR* result) = 0;
    // 10
    virtual HRESULT ORV_COMCALL get_SubmissionData(BSTR* result) = 0;
    // 11: forgets the loaded document and data.
    virtual HRESULT ORV_COMCALL Clear() = 0;

protected:
    _Mes() = default;
    ~_Mes() = default;
};
#pragma GCC diagnostic pop

// The submission data and its status, as CreateSubmission gives them.
struct TMesSubmission {
    QString Data;
    std::int32_t Status = 0;
};

class TMes : public TComWrapper<_Mes> {
public:
    explicit TMes(TComFactory& factory = DefaultComFactory());

    QString Version();
    QString LastError();
    QString Base64Encode(const QString& text);
    QString Base64Decode(const QString& text);
    TMesSubmission CreateSubmission(const QString& xsdReference, const QString& typeCode,
                                    const QString& description);
    QString ComposeSubmission(const QString& namespaceUri, const QString& typeCode,
                              const QString& description, const QString& subjekt,
                              const QString& ephId);
    void SetSubmissionData(const QString& submissionData);
    void LoadSignedDocument(const QString& signedDocument);
    QString SignedDocument();
    QString SubmissionData();
    void Clear();
};
