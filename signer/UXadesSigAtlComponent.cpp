#include "UXadesSigAtlComponent.h"

#include "UOrvError.h"
#include "UXadesSignature.h"
#include "UXmlForms.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace {

QByteArray ReadKeyFile(const QString& path) {
    if (path.isEmpty())
        throw TOrvError(QCoreApplication::translate(
            "UXadesSigAtlComponent", "Na podpisovanie nie je nastavený súbor kľúča"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TOrvError(QCoreApplication::translate("UXadesSigAtlComponent",
                                                    "Súbor kľúča \"%1\" sa nedá otvoriť: %2")
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
        AddError = QCoreApplication::translate("UXadesSigAtlComponent",
                                               "Dátový objekt nevytvoril XML plug-in");
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
        throw TOrvError(AddError.isEmpty() ? QCoreApplication::translate(
                                                 "UXadesSigAtlComponent",
                                                 "Nie je žiadny dátový objekt na podpísanie")
                                           : AddError);
    const TSignerSettings settings = Environment->Settings();
    const auto policy =
        std::find_if(settings.Policies.begin(), settings.Policies.end(),
                     [&](const TSignaturePolicy& p) { return p.Identifier == signaturePolicy; });
    if (policy == settings.Policies.end())
        throw TOrvError(
            QCoreApplication::translate("UXadesSigAtlComponent",
                                        "Podpisová politika \"%1\" nie je nainštalovaná")
                .arg(signaturePolicy));

    // What is signed is shown as the stylesheet renders it; a document that
    // cannot be shown is not signed.
    TSigningConsent consent;
    consent.KeyFile = settings.Pkcs12File;
    for (const auto& object : Objects) {
        if (!object->Document)
            throw TOrvError(QCoreApplication::translate("UXadesSigAtlComponent",
                                                        "Dátový objekt \"%1\" už bol podpísaný")
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
        LastErrorText =
            QCoreApplication::translate("UXadesSigAtlComponent", "Používateľ podpisovanie zrušil");
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
