#pragma once

#include "PortalService.h"
#include "UDateTime.h"
#include "UEphVersion.h"
#include "UOrvSettings.h"
#include "UPortalProxy.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// One submission as a list row; Obsah is filled only by GetPodanie.
struct TPodanie {
    QString IdPodania;
    QString IdSubjektu;
    QString IdBiznisPripadu;
    TDateTime Datum = 0; // local; 0 when the portal sent no date
    QString KodTypuPodania;
    QString KodSluzby;
    QString StavOverenia;
    QString StavPodania;
    QString Obsah;
};

// One delivered document as a list row; Obsah is filled only by
// GetSuborPisomnosti.
struct TPisomnost {
    QString IdPisomnosti;
    QString IdSubjektu;
    QString IdBiznisPripadu;
    QString IdPodania;
    TDateTime Datum = 0; // local; 0 when the portal sent no date
    QString KodTypuPisomnosti;
    QString KodTypuSluzby;
    QString Obsah;
};

// The client core: settings, embedded form texts and the portal connection,
// and every operation the front ends start. Every failure is raised as
// TOrvError (a SOAP fault as TSoapFault) carrying the user's message.
// The seven settings (Url to VerziaPodaja) are its public fields.
class TDMORV : public QObject, public TOrvSettings {
    Q_OBJECT

public:
    // Reads the settings and texts and binds the portal to the stored Url.
    explicit TDMORV(QObject* owner);
    // As above, but binds to url, which replaces Url in memory only.
    TDMORV(QObject* owner, const QString& url);
    ~TDMORV() override;

    TDMORV(const TDMORV&) = delete;
    TDMORV& operator=(const TDMORV&) = delete;

    std::unique_ptr<TPortalProxy> PortalProxy;

    // The embedded form definitions, set only during creation.
    QString PodajXsd;
    QString PodajXslt;
    QString PodajXsdV2;
    QString PodajXsltV2;
    QString PodajXsdV3;
    QString PodajXsltV3;
    QString ReportRqXsd;
    QString ReportRqXslt;

    // Interface of PortalProxy; valid while the core lives.
    PortalService::IPortal* Portal = nullptr;

    TOrvSettings& Settings() { return *this; }
    const TOrvSettings& Settings() const { return *this; }

    // Writes the seven settings in order; a failed write stops the rest.
    void SaveSettings();

    // The text of an embedded resource: byte-order mark dropped, cut at the
    // first NUL, every line ended with CR LF.
    static QString LoadResourceText(const QString& name);

    // Base64 of the SHA-256 digest of the password's UTF-8 bytes.
    static QString HashHeslo(const QString& heslo);

    // True when the portal accepts the triple; every refusal is raised.
    bool CheckLogin(const QString& subjekt, const QString& osoba, const QString& heslo);
    // CheckLogin with the stored credentials.
    void EnsureLogin();

    // No list (nullopt) when the portal sent no response element; that is not
    // the same as an empty list. Bounds up to 0.1 day are left unset.
    std::optional<QList<TPodanie>> ListPodanie(const QString& biznisId, TDateTime datumOd,
                                               TDateTime datumDo);
    std::optional<QList<TPisomnost>> ListSuborPisomnosti(const QString& biznisId, TDateTime datumOd,
                                                         TDateTime datumDo);

    // Fill the record, Obsah included; on failure the record is left as it was.
    void GetPodanie(const QString& id, TPodanie& podanie);
    void GetSuborPisomnosti(const QString& id, TPisomnost& pisomnost);

    // Submit the EPH file under ephId, signed; a normal return means the
    // portal accepted it. One per EPH version.
    void PodajEPHv01(const QString& ephId, const QString& subor);
    void PodajEPHv02(const QString& ephId, const QString& subor);
    void PodajEPHv03(const QString& ephId, const QString& subor);
    // The one of the three that VerziaPodaja names; false, with nothing
    // submitted, when it names none of them.
    [[nodiscard]] bool PodajEPHVerziePodaja(const QString& ephId, const QString& subor);

    // Signs the EPH text, packages it and sends it in one PodajPodanie.
    // ephText is taken by value so its copy can go once the signer has it.
    void PodpisAPodaj(const QString& objectId, const QString& typPodania, const QString& popis,
                      const QString& namespaceUri, QString ephText, const QString& xsdUri,
                      const QString& xsd, const QString& xsltUri, const QString& xslt,
                      const QString& ephId);

private:
    void PodajEPH(TEphVerzia verzia, const QString& xsd, const QString& xslt, const QString& ephId,
                  const QString& subor);
    void LoadSettings();
    void LoadTexts();
    void PreparePortal();
};
