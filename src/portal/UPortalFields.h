#pragma once

// The wire layout of every portal type: for each, its fields in wire order
// with their element names. Writer and reader both walk these tables, so the
// order and the names live in one place.

#include "PortalService.h"

#include <array>
#include <cstddef>

namespace PortalService::Wire {

template <class T> struct TFields;

// Visit(obj, visitor) calls visitor(name, member) for every field in order;
// obj may be const (writing) or not (reading).
#define ORV_FIELD(name) v(#name, o.name)

// ---- Data types ----

template <> struct TFields<PodaniePodavajucaOsoba> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(identifikatorOsobyField);
        ORV_FIELD(menoField);
        ORV_FIELD(priezviskoField);
    }
};

template <> struct TFields<PodanieObalkaDokumentObjekt> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dataField);
        ORV_FIELD(hlavnyObjektField);
        ORV_FIELD(identifikatorObjektuField);
        ORV_FIELD(kodTypuObjektuField);
    }
};

template <> struct TFields<PodanieObalkaDokument> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(descriptionField);
        ORV_FIELD(hlavnyDokumentField);
        ORV_FIELD(identifikatorDokumentuField);
        ORV_FIELD(kodTypuDokumentuField);
        ORV_FIELD(objektField);
    }
};

template <> struct TFields<PodanieObalka> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dokumentField);
        ORV_FIELD(pocetAutorizaciiField);
        ORV_FIELD(pocetDokumentovField);
        ORV_FIELD(pocetObjektovField);
    }
};

template <> struct TFields<Podanie> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dataField);
        ORV_FIELD(datumACasPrijatiaField);
        ORV_FIELD(descriptionField);
        ORV_FIELD(identifikatorBiznisPripaduField);
        ORV_FIELD(identifikatorPodaniaField);
        ORV_FIELD(identifikatorSubjektuField);
        ORV_FIELD(kodSluzbyField);
        ORV_FIELD(kodTypuPodaniaField);
        ORV_FIELD(obalkaField);
        ORV_FIELD(podavajucaOsobaField);
        ORV_FIELD(stavOvereniaField);
        ORV_FIELD(stavPodaniaField);
    }
};

template <> struct TFields<SuborPisomnostiObalkaDokumentObjekt> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dataField);
        ORV_FIELD(hlavnyObjektField);
        ORV_FIELD(kodTypuObjektuField);
    }
};

template <> struct TFields<SuborPisomnostiObalkaDokument> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(descriptionField);
        ORV_FIELD(hlavnyDokumentField);
        ORV_FIELD(kodTypuDokumentuField);
        ORV_FIELD(objektField);
    }
};

template <> struct TFields<SuborPisomnostiObalka> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dokumentField);
        ORV_FIELD(pocetDokumentovField);
        ORV_FIELD(pocetObjektovField);
    }
};

template <> struct TFields<SuborPisomnosti> {
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dataField);
        ORV_FIELD(datumACasVytvoreniaField);
        ORV_FIELD(descriptionField);
        ORV_FIELD(identifikatorBiznisPripaduField);
        ORV_FIELD(identifikatorPodania);
        ORV_FIELD(identifikatorSubjektuField);
        ORV_FIELD(identifikatorSuborPisomnostiField);
        ORV_FIELD(kodTypuSluzbyField);
        ORV_FIELD(kodTypuSuboruPisomnostiField);
        ORV_FIELD(obalkaField);
        ORV_FIELD(precitanyField);
    }
};

template <> struct TFields<TypObjektu> {
    template <class S, class V> static void Visit(S&, V&&) {}
};

// ---- Request messages ----

template <> struct TFields<PortalService::PodajPodanie> {
    static constexpr char Name[] = "PodajPodanie";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(podanieB64);
        ORV_FIELD(sluzba);
        ORV_FIELD(typPodania);
        ORV_FIELD(subjekt);
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

template <> struct TFields<PortalService::CheckLogin> {
    static constexpr char Name[] = "CheckLogin";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(subjekt);
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

template <> struct TFields<PortalService::GetPortalMaxRows> {
    static constexpr char Name[] = "GetPortalMaxRows";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

template <> struct TFields<PortalService::ListPodanie> {
    static constexpr char Name[] = "ListPodanie";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dtFromUtc);
        ORV_FIELD(dtToUtc);
        ORV_FIELD(identifikatorBiznisPripadu);
        ORV_FIELD(maxRows);
        ORV_FIELD(sortType);
        ORV_FIELD(sortColumn);
        ORV_FIELD(subjekt);
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

template <> struct TFields<PortalService::GetPodanie> {
    static constexpr char Name[] = "GetPodanie";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(IdentifikatorPodania);
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

template <> struct TFields<PortalService::ListSuborPisomnosti> {
    static constexpr char Name[] = "ListSuborPisomnosti";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(dtFromUtc);
        ORV_FIELD(dtToUtc);
        ORV_FIELD(identifikatorBiznisPripadu);
        ORV_FIELD(precitany);
        ORV_FIELD(maxRows);
        ORV_FIELD(sortType);
        ORV_FIELD(sortColumn);
        ORV_FIELD(subjekt);
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

template <> struct TFields<PortalService::GetSuborPisomnosti> {
    static constexpr char Name[] = "GetSuborPisomnosti";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(IdentifikatorSuborPisomnosti);
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
        ORV_FIELD(nastavPrecitany);
    }
};

template <> struct TFields<PortalService::ListTypObjektu> {
    static constexpr char Name[] = "ListTypObjektu";
    template <class S, class V> static void Visit(S& o, V&& v) {
        ORV_FIELD(osoba);
        ORV_FIELD(heslo);
    }
};

// ---- Response messages ----

#define ORV_RESPONSE_FIELDS(type, result)                                                          \
    template <> struct TFields<type> {                                                             \
        template <class S, class V> static void Visit(S& o, V&& v) {                               \
            ORV_FIELD(result);                                                                     \
            ORV_FIELD(popisChyby);                                                                 \
        }                                                                                          \
    };

ORV_RESPONSE_FIELDS(PodajPodanieResponse, PodajPodanieResult)
ORV_RESPONSE_FIELDS(CheckLoginResponse, CheckLoginResult)
ORV_RESPONSE_FIELDS(GetPortalMaxRowsResponse, GetPortalMaxRowsResult)
ORV_RESPONSE_FIELDS(ListPodanieResponse, ListPodanieResult)
ORV_RESPONSE_FIELDS(GetPodanieResponse, GetPodanieResult)
ORV_RESPONSE_FIELDS(ListSuborPisomnostiResponse, ListSuborPisomnostiResult)
ORV_RESPONSE_FIELDS(GetSuborPisomnostiResponse, GetSuborPisomnostiResult)
ORV_RESPONSE_FIELDS(ListTypObjektuResponse, ListTypObjektuResult)

#undef ORV_RESPONSE_FIELDS
#undef ORV_FIELD

// Largest number of fields of any type above.
inline constexpr std::size_t MaxFields = 12;

} // namespace PortalService::Wire
