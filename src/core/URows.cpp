#include "URows.h"

TPodanie PodanieFromPortal(const PortalService::Podanie& podanie) {
    TPodanie row;
    row.IdPodania = podanie.identifikatorPodaniaField;
    row.IdSubjektu = podanie.identifikatorSubjektuField;
    row.IdBiznisPripadu = podanie.identifikatorBiznisPripaduField;
    row.Datum = podanie.datumACasPrijatiaField;
    row.KodTypuPodania = podanie.kodTypuPodaniaField;
    row.KodSluzby = podanie.kodSluzbyField;
    row.StavOverenia = podanie.stavOvereniaField;
    row.StavPodania = podanie.stavPodaniaField;
    return row;
}

TPisomnost PisomnostFromPortal(const PortalService::SuborPisomnosti& subor) {
    TPisomnost row;
    row.IdPisomnosti = subor.identifikatorSuborPisomnostiField;
    row.IdSubjektu = subor.identifikatorSubjektuField;
    row.IdBiznisPripadu = subor.identifikatorBiznisPripaduField;
    row.IdPodania = subor.identifikatorPodania;
    row.Datum = subor.datumACasVytvoreniaField;
    row.KodTypuPisomnosti = subor.kodTypuSuboruPisomnostiField;
    row.KodTypuSluzby = subor.kodTypuSluzbyField;
    return row;
}
