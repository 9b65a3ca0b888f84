#include "UDMORV.h"

#include "UBusyCursor.h"
#include "UOrvError.h"
#include "UPortalMessages.h"
#include "URows.h"
#include "UXmlText.h"

#include <libxml/tree.h>

namespace {

// The one element the item's dataField holds; nullptr when it holds none
// (nothing, several nodes, only text).
const xmlNode* ContentElement(const TRawXml& data) {
    const xmlNode* node = data.Node();
    return node && node->type == XML_ELEMENT_NODE ? node : nullptr;
}

} // namespace

void TDMORV::GetPodanie(const QString& id, TPodanie& podanie) {
    const TBusyCursor busy;
    PortalService::GetPodanie request;
    request.IdentifikatorPodania = id;
    request.osoba = Osoba;
    request.heslo = Heslo;
    // nastavPrecitany exists only for documents; a submission has no read mark.

    const auto response = Portal->GetPodanie(request);
    if (!response)
        throw TOrvError(PortalError(QStringLiteral("GetPodanie()")));
    if (!response->popisChyby.isEmpty())
        throw TOrvError(PortalError(response->popisChyby));
    // An answer without the item or without its document is no success.
    const PortalService::Podanie* result = response->GetPodanieResult.get();
    if (!result)
        throw TOrvError(PortalError(tr("GetPodanie(): odpoveď neobsahuje podanie")));
    const xmlNode* content = ContentElement(result->dataField);
    if (!content)
        throw TOrvError(PortalError(tr("GetPodanie(): podanie neobsahuje XML dokument")));

    TPodanie row = PodanieFromPortal(*result);
    row.Obsah = XmlTextOfNode(*content);
    podanie = std::move(row);
}

void TDMORV::GetSuborPisomnosti(const QString& id, TPisomnost& pisomnost) {
    const TBusyCursor busy;
    PortalService::GetSuborPisomnosti request;
    request.IdentifikatorSuborPisomnosti = id;
    request.osoba = Osoba;
    request.heslo = Heslo;
    request.nastavPrecitany = true;

    const auto response = Portal->GetSuborPisomnosti(request);
    if (!response)
        throw TOrvError(PortalError(QStringLiteral("GetSuborPisomnosti()")));
    if (!response->popisChyby.isEmpty())
        throw TOrvError(PortalError(response->popisChyby));
    const PortalService::SuborPisomnosti* result = response->GetSuborPisomnostiResult.get();
    if (!result)
        throw TOrvError(PortalError(tr("GetSuborPisomnosti(): odpoveď neobsahuje písomnosť")));
    const xmlNode* content = ContentElement(result->dataField);
    if (!content)
        throw TOrvError(PortalError(tr("GetSuborPisomnosti(): písomnosť neobsahuje XML dokument")));

    TPisomnost row = PisomnostFromPortal(*result);
    row.Obsah = XmlTextOfNode(*content);
    pisomnost = std::move(row);
}
