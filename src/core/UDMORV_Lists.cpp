#include "UDMORV.h"

#include "UBusyCursor.h"
#include "UOrvError.h"
#include "UPortalMessages.h"
#include "URows.h"

namespace {

// Date-times up to 1899-12-30 02:24 count as unset.
constexpr TDateTime UnsetLimit = 0.1;

constexpr int MaxRows = 1000;

template <class TRequest>
void SetFilter(TRequest& request, const QString& biznisId, TDateTime datumOd, TDateTime datumDo) {
    if (datumOd > UnsetLimit)
        request.dtFromUtc = datumOd;
    // The whole end day belongs to the range.
    if (datumDo > UnsetLimit)
        request.dtToUtc = datumDo + OneDay;
    if (!biznisId.isEmpty())
        request.identifikatorBiznisPripadu = biznisId;
    request.maxRows = MaxRows;
    request.sortType = PortalService::SortType::Desc;
}

} // namespace

std::optional<QList<TPodanie>> TDMORV::ListPodanie(const QString& biznisId, TDateTime datumOd,
                                                   TDateTime datumDo) {
    const TBusyCursor busy;
    PortalService::ListPodanie request;
    SetFilter(request, biznisId, datumOd, datumDo);
    request.sortColumn = PortalService::SortColumnPodanie::DatumACasPrijatia;
    request.subjekt = Subjekt;
    request.osoba = Osoba;
    request.heslo = Heslo;

    const auto response = Portal->ListPodanie(request);
    if (!response)
        return std::nullopt;
    // Rows sent along with a description are dropped with the failure.
    if (!response->popisChyby.isEmpty())
        throw TOrvError(tr("Chyba pri komunikácii s OVR: ") + response->popisChyby);
    QList<TPodanie> rows;
    rows.reserve(qsizetype(response->ListPodanieResult.size()));
    for (const PortalService::Podanie& podanie : response->ListPodanieResult)
        rows.append(PodanieFromPortal(podanie));
    return rows;
}

std::optional<QList<TPisomnost>> TDMORV::ListSuborPisomnosti(const QString& biznisId,
                                                             TDateTime datumOd, TDateTime datumDo) {
    const TBusyCursor busy;
    PortalService::ListSuborPisomnosti request;
    SetFilter(request, biznisId, datumOd, datumDo);
    request.sortColumn = PortalService::SortColumnSuborPisomnosti::DatumACasPrijatia;
    request.subjekt = Subjekt;
    request.osoba = Osoba;
    request.heslo = Heslo;

    const auto response = Portal->ListSuborPisomnosti(request);
    if (!response)
        return std::nullopt;
    if (!response->popisChyby.isEmpty())
        throw TOrvError(PortalError(response->popisChyby));
    QList<TPisomnost> rows;
    rows.reserve(qsizetype(response->ListSuborPisomnostiResult.size()));
    for (const PortalService::SuborPisomnosti& subor : response->ListSuborPisomnostiResult)
        rows.append(PisomnostFromPortal(subor));
    return rows;
}
