#include "UMesComponent.h"

#include "UComRegistry.h"
#include "UOrvError.h"
#include "USubmissionDocument.h"

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

} // namespace

TMesComponent::TMesComponent() {
    SetInterfaceId(IID__Mes);
}

HRESULT TMesComponent::Fail(HRESULT hr, const QString& reason) {
    LastError = reason;
    SetComErrorDescription(reason);
    return hr;
}

HRESULT TMesComponent::get_Version(BSTR* result) {
    return PutText(result, QStringLiteral("1.0"));
}

HRESULT TMesComponent::get_LastError(BSTR* result) {
    return PutText(result, LastError);
}

HRESULT TMesComponent::Base64Encode(BSTR text, BSTR* result) {
    return PutText(result, QString::fromLatin1(Str(text).toUtf8().toBase64()));
}

HRESULT TMesComponent::Base64Decode(BSTR text, BSTR* result) {
    const auto decoded = QByteArray::fromBase64Encoding(
        Str(text).toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return Fail(E_INVALIDARG,
                    QCoreApplication::translate("UMesComponent", "Text nie je v kódovaní Base64"));
    return PutText(result, QString::fromUtf8(*decoded));
}

HRESULT TMesComponent::CreateSubmission(BSTR xsdReference, BSTR typeCode, BSTR description,
                                        BSTR* submissionData, std::int32_t* result) {
    if (!submissionData || !result)
        return E_POINTER;
    *submissionData = nullptr;
    LastError.clear();
    if (SignedBody.isEmpty()) {
        LastError =
            QCoreApplication::translate("UMesComponent", "Nie je načítaný podpísaný dokument");
        *result = 1;
        return PutText(submissionData, {});
    }
    if (Str(typeCode).isEmpty()) {
        LastError = QCoreApplication::translate("UMesComponent", "Podanie nemá typ");
        *result = 2;
        return PutText(submissionData, {});
    }
    try {
        const QString data =
            WriteSubmissionData({Str(typeCode), Str(description), Str(xsdReference)});
        *result = 0;
        return PutText(submissionData, data);
    } catch (const TOrvError& error) {
        LastError = error.message();
        *result = 3;
        return PutText(submissionData, {});
    }
}

HRESULT TMesComponent::SetSubmissionData(BSTR submissionData) {
    try {
        ReadSubmissionData(Str(submissionData));
    } catch (const TOrvError& error) {
        return Fail(E_INVALIDARG, error.message());
    }
    SubmissionData = Str(submissionData);
    HasSubmissionData = true;
    return S_OK;
}

HRESULT TMesComponent::LoadSignedDocument(BSTR signedDocument) {
    try {
        SignedBody = SignedDocumentBody(TBStr::View(signedDocument).toUtf8());
    } catch (const TOrvError& error) {
        SignedBody.clear();
        return Fail(E_INVALIDARG, error.message());
    }
    return S_OK;
}

HRESULT TMesComponent::ComposeSubmission(BSTR namespaceUri, BSTR typeCode, BSTR description,
                                         BSTR subjekt, BSTR ephId, BSTR* result) {
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (SignedBody.isEmpty())
        return Fail(E_FAIL, QCoreApplication::translate("UMesComponent",
                                                        "Nie je načítaný podpísaný dokument"));
    if (!HasSubmissionData)
        return Fail(E_FAIL,
                    QCoreApplication::translate("UMesComponent", "Nie sú nastavené údaje podania"));
    try {
        const TSubmissionData data = ReadSubmissionData(SubmissionData);
        if (data.TypPodania != Str(typeCode))
            return Fail(E_INVALIDARG, QCoreApplication::translate(
                                          "UMesComponent", "Údaje podania sú pre %1, nie pre %2")
                                          .arg(data.TypPodania, Str(typeCode)));
        const QByteArray document =
            ComposeSubmissionDocument({Str(typeCode), Str(description), Str(subjekt), Str(ephId),
                                       Str(namespaceUri), data.Formular},
                                      SignedBody);
        LastError.clear();
        return PutText(result, QString::fromUtf8(document));
    } catch (const TOrvError& error) {
        return Fail(E_INVALIDARG, error.message());
    }
}

HRESULT TMesComponent::get_SignedDocument(BSTR* result) {
    return PutText(result, QString::fromUtf8(SignedBody));
}

HRESULT TMesComponent::get_SubmissionData(BSTR* result) {
    return PutText(result, SubmissionData);
}

HRESULT TMesComponent::Clear() {
    LastError.clear();
    SignedBody.clear();
    SubmissionData.clear();
    HasSubmissionData = false;
    return S_OK;
}
