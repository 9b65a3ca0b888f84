#pragma once

// The messages and data types of the portal contract IPortal. Member names are
// the element names on the wire, letter for letter, and members stand in the
// order in which they are written and read.

#include "UDateTime.h"
#include "URawXml.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace PortalService {

// Enumerations (system data-contract namespace); the first literal is 0.
enum class SortType { Asc, Desc };
enum class SortColumnPodanie {
    identifikatorBiznisPripadu,
    DatumACasPrijatia,
    KodTypuHlavnehoObjektu,
    StavPodania
};
enum class SortColumnSuborPisomnosti {
    identifikatorBiznisPripadu,
    DatumACasPrijatia,
    KodTypuHlavnehoObjektu,
    Precitany
};

// A request field is sent only when it holds a value; an empty text, 0 or
// false is a value and is sent.
template <class T> using Field = std::optional<T>;

// ---- Data types of submissions (data-contract namespace) ----

// dataField2 / dataField4: empty types whose element content is skipped.
struct dataField2 {};
struct dataField4 {};

struct PodaniePodavajucaOsoba {
    QString identifikatorOsobyField;
    QString menoField;
    QString priezviskoField;
};

struct PodanieObalkaDokumentObjekt {
    dataField2 dataField;
    bool hlavnyObjektField = false;
    QString identifikatorObjektuField;
    QString kodTypuObjektuField;
};
using ArrayOfPodanieObalkaDokumentObjekt = std::vector<PodanieObalkaDokumentObjekt>;

struct PodanieObalkaDokument {
    QString descriptionField;
    bool hlavnyDokumentField = false;
    QString identifikatorDokumentuField;
    QString kodTypuDokumentuField;
    ArrayOfPodanieObalkaDokumentObjekt objektField;
};
using ArrayOfPodanieObalkaDokument = std::vector<PodanieObalkaDokument>;

struct PodanieObalka {
    ArrayOfPodanieObalkaDokument dokumentField;
    QString pocetAutorizaciiField;
    QString pocetDokumentovField;
    QString pocetObjektovField;
};

struct Podanie {
    TRawXml dataField; // type dataField: the submitted document
    TDateTime datumACasPrijatiaField = 0;
    QString descriptionField;
    QString identifikatorBiznisPripaduField;
    QString identifikatorPodaniaField;
    QString identifikatorSubjektuField;
    QString kodSluzbyField;
    QString kodTypuPodaniaField;
    std::unique_ptr<PodanieObalka> obalkaField;
    std::unique_ptr<PodaniePodavajucaOsoba> podavajucaOsobaField;
    QString stavOvereniaField;
    QString stavPodaniaField;
};
using ArrayOfPodanie = std::vector<Podanie>;

// ---- Data types of document files (data-contract namespace) ----

struct SuborPisomnostiObalkaDokumentObjekt {
    dataField4 dataField;
    bool hlavnyObjektField = false;
    QString kodTypuObjektuField;
};
using ArrayOfSuborPisomnostiObalkaDokumentObjekt = std::vector<SuborPisomnostiObalkaDokumentObjekt>;

struct SuborPisomnostiObalkaDokument {
    QString descriptionField;
    bool hlavnyDokumentField = false;
    QString kodTypuDokumentuField;
    ArrayOfSuborPisomnostiObalkaDokumentObjekt objektField;
};
using ArrayOfSuborPisomnostiObalkaDokument = std::vector<SuborPisomnostiObalkaDokument>;

struct SuborPisomnostiObalka {
    ArrayOfSuborPisomnostiObalkaDokument dokumentField;
    QString pocetDokumentovField;
    QString pocetObjektovField;
};

struct SuborPisomnosti {
    TRawXml dataField; // type dataField3: the delivered document
    TDateTime datumACasVytvoreniaField = 0;
    QString descriptionField;
    QString identifikatorBiznisPripaduField;
    QString identifikatorPodania; // no "Field" suffix: the contract has it so
    QString identifikatorSubjektuField;
    QString identifikatorSuborPisomnostiField;
    QString kodTypuSluzbyField;
    QString kodTypuSuboruPisomnostiField;
    std::unique_ptr<SuborPisomnostiObalka> obalkaField;
    bool precitanyField = false;
};
using ArrayOfSuborPisomnosti = std::vector<SuborPisomnosti>;

// System data-contract namespace; read as an empty object whatever it holds.
struct TypObjektu {};
using ArrayOfTypObjektu = std::vector<TypObjektu>;

// ---- Request messages (contract namespace) ----

struct PodajPodanie {
    Field<QString> podanieB64;
    Field<QString> sluzba;
    Field<QString> typPodania;
    Field<QString> subjekt;
    Field<QString> osoba;
    Field<QString> heslo;
};

struct CheckLogin {
    Field<QString> subjekt;
    Field<QString> osoba;
    Field<QString> heslo;
};

struct GetPortalMaxRows {
    Field<QString> osoba;
    Field<QString> heslo;
};

struct ListPodanie {
    Field<TDateTime> dtFromUtc;
    Field<TDateTime> dtToUtc;
    Field<QString> identifikatorBiznisPripadu;
    Field<int> maxRows;
    Field<SortType> sortType;
    Field<SortColumnPodanie> sortColumn;
    Field<QString> subjekt;
    Field<QString> osoba;
    Field<QString> heslo;
};

struct GetPodanie {
    Field<QString> IdentifikatorPodania;
    Field<QString> osoba;
    Field<QString> heslo;
};

struct ListSuborPisomnosti {
    Field<TDateTime> dtFromUtc;
    Field<TDateTime> dtToUtc;
    Field<QString> identifikatorBiznisPripadu;
    Field<bool> precitany;
    Field<int> maxRows;
    Field<SortType> sortType;
    Field<SortColumnSuborPisomnosti> sortColumn;
    Field<QString> subjekt;
    Field<QString> osoba;
    Field<QString> heslo;
};

struct GetSuborPisomnosti {
    Field<QString> IdentifikatorSuborPisomnosti;
    Field<QString> osoba;
    Field<QString> heslo;
    Field<bool> nastavPrecitany;
};

struct ListTypObjektu {
    Field<QString> osoba;
    Field<QString> heslo;
};

// ---- Response messages (contract namespace) ----

struct PodajPodanieResponse {
    int PodajPodanieResult = 0;
    QString popisChyby;
};

struct CheckLoginResponse {
    int CheckLoginResult = 0;
    QString popisChyby;
};

struct GetPortalMaxRowsResponse {
    int GetPortalMaxRowsResult = 0;
    QString popisChyby;
};

struct ListPodanieResponse {
    ArrayOfPodanie ListPodanieResult;
    QString popisChyby;
};

struct GetPodanieResponse {
    std::unique_ptr<Podanie> GetPodanieResult;
    QString popisChyby;
};

struct ListSuborPisomnostiResponse {
    ArrayOfSuborPisomnosti ListSuborPisomnostiResult;
    QString popisChyby;
};

struct GetSuborPisomnostiResponse {
    std::unique_ptr<SuborPisomnosti> GetSuborPisomnostiResult;
    QString popisChyby;
};

struct ListTypObjektuResponse {
    ArrayOfTypObjektu ListTypObjektuResult;
    QString popisChyby;
};

// ---- The contract ----

// Every operation is synchronous. It returns the decoded response, or null
// when the body held no single message element; every failure is raised as
// TOrvError (a SOAP fault as TSoapFault).
class IPortal {
public:
    virtual ~IPortal() = default;

    virtual std::unique_ptr<PodajPodanieResponse>
    PodajPodanie(const PortalService::PodajPodanie& request) = 0;
    virtual std::unique_ptr<CheckLoginResponse>
    CheckLogin(const PortalService::CheckLogin& request) = 0;
    virtual std::unique_ptr<GetPortalMaxRowsResponse>
    GetPortalMaxRows(const PortalService::GetPortalMaxRows& request) = 0;
    virtual std::unique_ptr<ListPodanieResponse>
    ListPodanie(const PortalService::ListPodanie& request) = 0;
    virtual std::unique_ptr<GetPodanieResponse>
    GetPodanie(const PortalService::GetPodanie& request) = 0;
    virtual std::unique_ptr<ListSuborPisomnostiResponse>
    ListSuborPisomnosti(const PortalService::ListSuborPisomnosti& request) = 0;
    virtual std::unique_ptr<GetSuborPisomnostiResponse>
    GetSuborPisomnosti(const PortalService::GetSuborPisomnosti& request) = 0;
    virtual std::unique_ptr<ListTypObjektuResponse>
    ListTypObjektu(const PortalService::ListTypObjektu& request) = 0;
};

} // namespace PortalService
