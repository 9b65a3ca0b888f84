#include "UDMORV.h"

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "UBase64.h"
#include "UBusyCursor.h"
#include "UClock.h"
#include "UEphVersion.h"
#include "UOrvError.h"
#include "UPortalMessages.h"
#include "UTextFile.h"

void TDMORV::PodajEPHv01(const QString& ephId, const QString& subor) {
    PodajEPH(TEphVerzia::V01, PodajXsd, PodajXslt, ephId, subor);
}

void TDMORV::PodajEPHv02(const QString& ephId, const QString& subor) {
    PodajEPH(TEphVerzia::V02, PodajXsdV2, PodajXsltV2, ephId, subor);
}

void TDMORV::PodajEPHv03(const QString& ephId, const QString& subor) {
    PodajEPH(TEphVerzia::V03, PodajXsdV3, PodajXsltV3, ephId, subor);
}

void TDMORV::PodajEPH(TEphVerzia verzia, const QString& xsd, const QString& xslt,
                      const QString& ephId, const QString& subor) {
    // The time stamp is taken before the file is read.
    const TDateTime now = Clock().Now();
    const TEphVersionData data = EphVersionData(verzia);
    QString ephText = ReadTextFile(subor);
    const QString objectId = EphObjectId(Subjekt, ephId, now);
    PodpisAPodaj(objectId, data.TypPodania, data.Popis, data.NamespaceUri, std::move(ephText),
                 data.XsdUri, xsd, data.XsltUri, xslt, ephId);
}

void TDMORV::PodpisAPodaj(const QString& objectId, const QString& typPodania, const QString& popis,
                          const QString& namespaceUri, QString ephText, const QString& xsdUri,
                          const QString& xsd, const QString& xsltUri, const QString& xslt,
                          const QString& ephId) {
    // Stage 1, signing. Declared signer first, so the plug-in goes first.
    QString signedDocument;
    {
        TCXadesSigAtl signer;
        TXmlPlugin plugin;
        // The plug-in's copy is the only one left while it parses.
        TVariant dataObject = plugin.CreateDataObject(objectId, popis, std::move(ephText), xsd,
                                                      namespaceUri, xsdUri, xslt, xsltUri);
        if (dataObject.IsEmpty())
            throw TOrvError(tr("Nepodarilo sa vytvoriť objekt podania!"));
        signer.AddDataObject(dataObject); // its status is left to the signing
        // The data object stays referenced until the signing returns: a signer
        // may keep it without a reference of its own.
        const std::int32_t status = signer.SignObjects(objectId + QStringLiteral("_sgn"),
                                                       SignatureAlgorithm, SignaturePolicy);
        dataObject = TVariant();
        if (status != 0)
            throw TOrvError(tr("ORV: ") + signer.LastErrorText());
        signedDocument = signer.SignedDocument();
    }

    // Stage 2, packaging.
    QString finalDocument;
    {
        TMes mes;
        mes.LoadSignedDocument(signedDocument);
        signedDocument = QString();
        const TMesSubmission submission = mes.CreateSubmission(xsdUri, typPodania, popis);
        if (submission.Status != 0)
            throw TOrvError(tr("ORV: Nepodarilo sa vytvoriť podanie!"));
        mes.SetSubmissionData(submission.Data);
        finalDocument = mes.ComposeSubmission(namespaceUri, typPodania, popis, Subjekt, ephId);
    }

    // Stage 3, sending, under the wait cursor; the request goes before the
    // cursor is restored.
    const TBusyCursor busy;
    PortalService::PodajPodanie request;
    request.podanieB64 = Base64EncodeUtf8(finalDocument);
    finalDocument = QString();
    request.sluzba = QStringLiteral("KT_HromadnyPodaj");
    request.typPodania = typPodania;
    request.subjekt = Subjekt;
    request.osoba = Osoba;
    request.heslo = Heslo;

    const auto response = Portal->PodajPodanie(request);
    // Without the response element there is no result to read: no success.
    if (!response)
        throw TOrvError(PortalError(QStringLiteral("PodajPodanie()")));
    if (response->PodajPodanieResult != 0)
        throw TOrvError(tr("Chyba pri komunikácii s OVR: ") + response->popisChyby);
}
