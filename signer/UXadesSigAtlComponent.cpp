#include "UXadesSigAtlComponent.h"

#include "UOrvError.h"
#include "UXadesSignature.h"
#include "UXmlForms.h"

#include <QFile>

#include <algorithm>

namespace {

QByteArray ReadKeyFile(const QString& path) {
    if (path.isEmpty())
        throw TOrvError(QStringLiteral("No key file is configured for signing"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TOrvError(QStringLiteral("The key file \"%1\" cannot be opened: %2")
                            .arg(path, file.errorString()));
    return file.readAll();
}

} // namespace

TXadesSigAtlComponent::TXadesSigAtlComponent(std::shared_ptr<ISignerEnvironment> environment)
    : Environment(std::move(environment)) {
    SetInterfaceId(IID_IXadesSigAtl);
}

HRESULT TXadesSigAtlComponent::AddDataObject(VARIANT dataObject, std::int32_t* result) {
    if (!result)
        return E_POINTER;
    TComPtr<TXmlDataObject> object = TXmlDataObject::FromVariant(dataObject);
    if (!object) {
        AddError = QStringLiteral("The data object was not made by the XML plug-in");
        *result = StatusFailed;
        return S_OK;
    }
    Objects.push_back(std::move(object));
    *result = StatusSigned;
    return S_OK;
}

HRESULT TXadesSigAtlComponent::SignObjects(BSTR signatureId, BSTR digestAlgorithm,
                                           BSTR signaturePolicy, std::int32_t* result) {
    if (!result)
        return E_POINTER;
    SignedDocument.clear();
    LastErrorText.clear();
    try {
        *result = Sign(TBStr::FromBStr(signatureId), TBStr::FromBStr(digestAlgorithm),
                       TBStr::FromBStr(signaturePolicy));
    } catch (const TOrvError& error) {
        LastErrorText = error.message();
        *result = StatusFailed;
    }
    // Signed or not, the documents are not signed twice.
    Objects.clear();
    return S_OK;
}

std::int32_t TXadesSigAtlComponent::Sign(const QString& signatureId, const QString& digestAlgorithm,
                                         const QString& signaturePolicy) {
    if (Objects.empty())
        throw TOrvError(AddError.isEmpty() ? QStringLiteral("There is no data object to sign")
                                           : AddError);
    const TSignerSettings settings = Environment->Settings();
    const auto policy =
        std::find_if(settings.Policies.begin(), settings.Policies.end(),
                     [&](const TSignaturePolicy& p) { return p.Identifier == signaturePolicy; });
    if (policy == settings.Policies.end())
        throw TOrvError(
            QStringLiteral("The signature policy \"%1\" is not installed").arg(signaturePolicy));

    // What is signed is shown as the stylesheet renders it; a document that
    // cannot be shown is not signed.
    TSigningConsent consent;
    consent.KeyFile = settings.Pkcs12File;
    for (const auto& object : Objects) {
        if (!object->Document)
            throw TOrvError(QStringLiteral("The data object \"%1\" has been signed already")
                                .arg(object->ObjectId));
        if (!consent.Description.isEmpty())
            consent.Description += u'\n';
        consent.Description += object->Description;
        consent.Rendering += RenderText(object->Document.get(), object->XslData);
    }
    const QByteArray keyFile = ReadKeyFile(settings.Pkcs12File);
    consent.CertificateSubject = SubjectText(PublicCertificate(keyFile).get());

    std::optional<QString> password = Environment->AskPassword(consent);
    if (!password) {
        LastErrorText = QStringLiteral("Signing was cancelled by the user");
        return StatusDeclined;
    }
    const TSigningKey key = UnlockPkcs12(keyFile, *password);
    password->fill(u'\0');
    consent = TSigningConsent(); // the rendering of a large document is large too

    TXadesRequest request;
    request.SignatureId = signatureId;
    request.DigestAlgorithm = digestAlgorithm;
    request.Policy = *policy;
    request.SigningTime = Environment->Now();
    SignedDocument = SignXades(Objects, request, key);
    return StatusSigned;
}

HRESULT TXadesSigAtlComponent::get_LastErrorText(BSTR* result) {
    if (!result)
        return E_POINTER;
    *result = TBStr(LastErrorText).Detach();
    return S_OK;
}

HRESULT TXadesSigAtlComponent::get_SignedDocument(BSTR* result) {
    if (!result)
        return E_POINTER;
    *result = TBStr(QString::fromUtf8(SignedDocument)).Detach();
    return S_OK;
}

HRESULT TXadesSigAtlComponent::ClearDataObjects() {
    Objects.clear();
    AddError.clear();
    LastErrorText.clear();
    SignedDocument.clear();
    return S_OK;
}
