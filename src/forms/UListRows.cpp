#include "UListRows.h"

#include "UDatumText.h"

#include <cmath>

namespace {

QString Datum(TDateTime datum) {
    return FormatDatum(datum, LocaleTimeSeparator());
}

} // namespace

QStringList PodanieRow(const TPodanie& podanie) {
    return {podanie.IdPodania,    podanie.IdSubjektu,     podanie.IdBiznisPripadu,
            Datum(podanie.Datum), podanie.KodTypuPodania, podanie.KodSluzby,
            podanie.StavOverenia, podanie.StavPodania};
}

QStringList PisomnostRow(const TPisomnost& pisomnost) {
    // The submission's identifier is shown before the business case.
    return {pisomnost.IdPisomnosti,    pisomnost.IdSubjektu,   pisomnost.IdPodania,
            pisomnost.IdBiznisPripadu, Datum(pisomnost.Datum), pisomnost.KodTypuPisomnosti,
            pisomnost.KodTypuSluzby};
}

TDateTime DateToDateTime(const QDate& date) {
    return EncodeDateTime({date.year(), date.month(), date.day()});
}

QDate DateTimeToDate(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(std::floor(value));
    return QDate(parts.Year, parts.Month, parts.Day);
}
