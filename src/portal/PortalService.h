#pragma once

// The messages and data types of the portal contract IPortal. Member names are
// the element names on the wire, letter for letter, and members stand in the
// order in which they are written and read.
//
// Every type is described once, as a list of fields F(type, name) in wire
// order; the structures below, the wire tables (UPortalFields.h), the reader,
// the writer and the proxy all expand these lists. A new operation is one
// line in ORV_PORTAL_OPERATIONS and the field list of its request.

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

// dataField2 / dataField4: empty types whose element content is skipped.
struct dataField2 {};
struct dataField4 {};

// Every member starts empty: an empty text, 0, false, none, an empty array.
#define ORV_PORTAL_MEMBER(type, name) type name{};
#define ORV_PORTAL_STRUCT(Name)                                                                    \
    struct Name {                                                                                  \
        ORV_FIELDS_##Name(ORV_PORTAL_MEMBER)                                                       \
    };

// ---- Data types of submissions (data-contract namespace) ----

#define ORV_FIELDS_PodaniePodavajucaOsoba(F)                                                       \
    F(QString, identifikatorOsobyField)                                                            \
    F(QString, menoField)                                                                          \
    F(QString, priezviskoField)
ORV_PORTAL_STRUCT(PodaniePodavajucaOsoba)

#define ORV_FIELDS_PodanieObalkaDokumentObjekt(F)                                                  \
    F(dataField2, dataField)                                                                       \
    F(bool, hlavnyObjektField)                                                                     \
    F(QString, identifikatorObjektuField)                                                          \
    F(QString, kodTypuObjektuField)
ORV_PORTAL_STRUCT(PodanieObalkaDokumentObjekt)
using ArrayOfPodanieObalkaDokumentObjekt = std::vector<PodanieObalkaDokumentObjekt>;

#define ORV_FIELDS_PodanieObalkaDokument(F)                                                        \
    F(QString, descriptionField)                                                                   \
    F(bool, hlavnyDokumentField)                                                                   \
    F(QString, identifikatorDokumentuField)                                                        \
    F(QString, kodTypuDokumentuField)                                                              \
    F(ArrayOfPodanieObalkaDokumentObjekt, objektField)
ORV_PORTAL_STRUCT(PodanieObalkaDokument)
using ArrayOfPodanieObalkaDokument = std::vector<PodanieObalkaDokument>;

#define ORV_FIELDS_PodanieObalka(F)                                                                \
    F(ArrayOfPodanieObalkaDokument, dokumentField)                                                 \
    F(QString, pocetAutorizaciiField)                                                              \
    F(QString, pocetDokumentovField)                                                               \
    F(QString, pocetObjektovField)
ORV_PORTAL_STRUCT(PodanieObalka)

// dataField (type dataField) is the submitted document.
#define ORV_FIELDS_Podanie(F)                                                                      \
    F(TRawXml, dataField)                                                                          \
    F(TDateTime, datumACasPrijatiaField)                                                           \
    F(QString, descriptionField)                                                                   \
    F(QString, identifikatorBiznisPripaduField)                                                    \
    F(QString, identifikatorPodaniaField)                                                          \
    F(QString, identifikatorSubjektuField)                                                         \
    F(QString, kodSluzbyField)                                                                     \
    F(QString, kodTypuPodaniaField)                                                                \
    F(std::unique_ptr<PodanieObalka>, obalkaField)                                                 \
    F(std::unique_ptr<PodaniePodavajucaOsoba>, podavajucaOsobaField)                               \
    F(QString, stavOvereniaField)                                                                  \
    F(QString, stavPodaniaField)
ORV_PORTAL_STRUCT(Podanie)
using ArrayOfPodanie = std::vector<Podanie>;

// ---- Data types of document files (data-contract namespace) ----

#define ORV_FIELDS_SuborPisomnostiObalkaDokumentObjekt(F)                                          \
    F(dataField4, dataField)                                                                       \
    F(bool, hlavnyObjektField)                                                                     \
    F(QString, kodTypuObjektuField)
ORV_PORTAL_STRUCT(SuborPisomnostiObalkaDokumentObjekt)
using ArrayOfSuborPisomnostiObalkaDokumentObjekt = std::vector<SuborPisomnostiObalkaDokumentObjekt>;

#define ORV_FIELDS_SuborPisomnostiObalkaDokument(F)                                                \
    F(QString, descriptionField)                                                                   \
    F(bool, hlavnyDokumentField)                                                                   \
    F(QString, kodTypuDokumentuField)                                                              \
    F(ArrayOfSuborPisomnostiObalkaDokumentObjekt, objektField)
ORV_PORTAL_STRUCT(SuborPisomnostiObalkaDokument)
using ArrayOfSuborPisomnostiObalkaDokument = std::vector<SuborPisomnostiObalkaDokument>;

#define ORV_FIELDS_SuborPisomnostiObalka(F)                                                        \
    F(ArrayOfSuborPisomnostiObalkaDokument, dokumentField)                                         \
    F(QString, pocetDokumentovField)                                                               \
    F(QString, pocetObjektovField)
ORV_PORTAL_STRUCT(SuborPisomnostiObalka)

// dataField (type dataField3) is the delivered document; identifikatorPodania
// has no "Field" suffix: the contract has it so.
#define ORV_FIELDS_SuborPisomnosti(F)                                                              \
    F(TRawXml, dataField)                                                                          \
    F(TDateTime, datumACasVytvoreniaField)                                                         \
    F(QString, descriptionField)                                                                   \
    F(QString, identifikatorBiznisPripaduField)                                                    \
    F(QString, identifikatorPodania)                                                               \
    F(QString, identifikatorSubjektuField)                                                         \
    F(QString, identifikatorSuborPisomnostiField)                                                  \
    F(QString, kodTypuSluzbyField)                                                                 \
    F(QString, kodTypuSuboruPisomnostiField)                                                       \
    F(std::unique_ptr<SuborPisomnostiObalka>, obalkaField)                                         \
    F(bool, precitanyField)
ORV_PORTAL_STRUCT(SuborPisomnosti)
using ArrayOfSuborPisomnosti = std::vector<SuborPisomnosti>;

// System data-contract namespace; read as an empty object whatever it holds.
#define ORV_FIELDS_TypObjektu(F)
ORV_PORTAL_STRUCT(TypObjektu)
using ArrayOfTypObjektu = std::vector<TypObjektu>;

// ---- Request messages (contract namespace) ----

#define ORV_FIELDS_PodajPodanie(F)                                                                 \
    F(Field<QString>, podanieB64)                                                                  \
    F(Field<QString>, sluzba)                                                                      \
    F(Field<QString>, typPodania)                                                                  \
    F(Field<QString>, subjekt)                                                                     \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

#define ORV_FIELDS_CheckLogin(F)                                                                   \
    F(Field<QString>, subjekt)                                                                     \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

#define ORV_FIELDS_GetPortalMaxRows(F)                                                             \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

#define ORV_FIELDS_ListPodanie(F)                                                                  \
    F(Field<TDateTime>, dtFromUtc)                                                                 \
    F(Field<TDateTime>, dtToUtc)                                                                   \
    F(Field<QString>, identifikatorBiznisPripadu)                                                  \
    F(Field<int>, maxRows)                                                                         \
    F(Field<SortType>, sortType)                                                                   \
    F(Field<SortColumnPodanie>, sortColumn)                                                        \
    F(Field<QString>, subjekt)                                                                     \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

#define ORV_FIELDS_GetPodanie(F)                                                                   \
    F(Field<QString>, IdentifikatorPodania)                                                        \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

#define ORV_FIELDS_ListSuborPisomnosti(F)                                                          \
    F(Field<TDateTime>, dtFromUtc)                                                                 \
    F(Field<TDateTime>, dtToUtc)                                                                   \
    F(Field<QString>, identifikatorBiznisPripadu)                                                  \
    F(Field<bool>, precitany)                                                                      \
    F(Field<int>, maxRows)                                                                         \
    F(Field<SortType>, sortType)                                                                   \
    F(Field<SortColumnSuborPisomnosti>, sortColumn)                                                \
    F(Field<QString>, subjekt)                                                                     \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

#define ORV_FIELDS_GetSuborPisomnosti(F)                                                           \
    F(Field<QString>, IdentifikatorSuborPisomnosti)                                                \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)                                                                       \
    F(Field<bool>, nastavPrecitany)

#define ORV_FIELDS_ListTypObjektu(F)                                                               \
    F(Field<QString>, osoba)                                                                       \
    F(Field<QString>, heslo)

// ---- The operations ----

// X(operation, type of its result), in the contract's order. The request
// message is named after the operation, with the fields ORV_FIELDS_<operation>;
// the response message is <operation>Response with <operation>Result and then
// popisChyby (contract namespace).
#define ORV_PORTAL_OPERATIONS(X)                                                                   \
    X(PodajPodanie, int)                                                                           \
    X(CheckLogin, int)                                                                             \
    X(GetPortalMaxRows, int)                                                                       \
    X(ListPodanie, ArrayOfPodanie)                                                                 \
    X(GetPodanie, std::unique_ptr<Podanie>)                                                        \
    X(ListSuborPisomnosti, ArrayOfSuborPisomnosti)                                                 \
    X(GetSuborPisomnosti, std::unique_ptr<SuborPisomnosti>)                                        \
    X(ListTypObjektu, ArrayOfTypObjektu)

#define ORV_RESPONSE_FIELDS(operation, result, F)                                                  \
    F(result, operation##Result)                                                                   \
    F(QString, popisChyby)

#define ORV_PORTAL_MESSAGES(operation, result)                                                     \
    ORV_PORTAL_STRUCT(operation)                                                                   \
    struct operation##Response {                                                                   \
        ORV_RESPONSE_FIELDS(operation, result, ORV_PORTAL_MEMBER)                                  \
    };
ORV_PORTAL_OPERATIONS(ORV_PORTAL_MESSAGES)
#undef ORV_PORTAL_MESSAGES

// ---- The contract ----

// Every operation is synchronous. It returns the decoded response, or null
// when the body held no single message element; every failure is raised as
// TOrvError (a SOAP fault as TSoapFault).
class IPortal {
public:
    virtual ~IPortal() = default;

#define ORV_PORTAL_METHOD(operation, result)                                                       \
    virtual std::unique_ptr<operation##Response> operation(                                        \
        const PortalService::operation& request) = 0;
    ORV_PORTAL_OPERATIONS(ORV_PORTAL_METHOD)
#undef ORV_PORTAL_METHOD
};

} // namespace PortalService
