#pragma once

#include "Nomir_Zep_Tools_TLB.h"
#include "UComObject.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The stand-in tools component: keeps the signed document and the
// submission data and composes the final submission document from them.
class TMesComponent final : public TComObject<_Mes> {
public:
    TMesComponent();

    HRESULT get_Version(BSTR* result) override;
    HRESULT get_LastError(BSTR* result) override;
    HRESULT Base64Encode(BSTR text, BSTR* result) override;
    HRESULT Base64Decode(BSTR text, BSTR* result) override;
    HRESULT CreateSubmission(BSTR xsdReference, BSTR typeCode, BSTR description,
                             BSTR* submissionData, std::int32_t* result) override;
    HRESULT ComposeSubmission(BSTR namespaceUri, BSTR typeCode, BSTR description, BSTR subjekt,
                              BSTR ephId, BSTR* result) override;
    HRESULT SetSubmissionData(BSTR submissionData) override;
    HRESULT LoadSignedDocument(BSTR signedDocument) override;
    HRESULT get_SignedDocument(BSTR* result) override;
    HRESULT get_SubmissionData(BSTR* result) override;
    HRESULT Clear() override;

private:
    HRESULT Fail(HRESULT hr, const QString& reason);

    QString LastError;
    QByteArray SignedBody; // UTF-8, without its XML declaration
    QString SubmissionData;
    bool HasSubmissionData = false;
};
