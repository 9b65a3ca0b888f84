// Decoding a ListPodanieResponse of 1000 items (about 1 MB, as the portal's
// framework writes it) against a bare libxml2 parse and walk of the same bytes.

#include "USoapReader.h"

#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

QByteArray Item(int i) {
    const QByteArray n = QByteArray::number(i);
    return "<a:Podanie><a:dataField i:nil=\"true\"/>"
           "<a:datumACasPrijatiaField>2024-03-01T10:15:30.1234567+01:00</a:datumACasPrijatiaField>"
           "<a:descriptionField i:nil=\"true\"/>"
           "<a:identifikatorBiznisPripaduField>BP-2024-" +
           n +
           "</a:identifikatorBiznisPripaduField><a:identifikatorPodaniaField>"
           "7f3c2a10-9b1e-4c55-8d2f-" +
           n.rightJustified(12, '0') +
           "</a:identifikatorPodaniaField><a:identifikatorSubjektuField>SUBJ-000123"
           "</a:identifikatorSubjektuField><a:kodSluzbyField>EPH</a:kodSluzbyField>"
           "<a:kodTypuPodaniaField>EPHv03</a:kodTypuPodaniaField><a:obalkaField><a:dokumentField>"
           "<a:PodanieObalkaDokument><a:descriptionField>Elektronick\xC3\xBD podac\xC3\xAD "
           "h\xC3\xA1rok</a:descriptionField><a:hlavnyDokumentField>true</a:hlavnyDokumentField>"
           "<a:identifikatorDokumentuField>DOC-" +
           n +
           "</a:identifikatorDokumentuField><a:kodTypuDokumentuField>EPH"
           "</a:kodTypuDokumentuField><a:objektField><a:PodanieObalkaDokumentObjekt>"
           "<a:dataField i:nil=\"true\"/><a:hlavnyObjektField>true</a:hlavnyObjektField>"
           "<a:identifikatorObjektuField>OBJ-" +
           n +
           "</a:identifikatorObjektuField><a:kodTypuObjektuField>XML</a:kodTypuObjektuField>"
           "</a:PodanieObalkaDokumentObjekt></a:objektField></a:PodanieObalkaDokument>"
           "</a:dokumentField><a:pocetAutorizaciiField>1</a:pocetAutorizaciiField>"
           "<a:pocetDokumentovField>1</a:pocetDokumentovField><a:pocetObjektovField>1"
           "</a:pocetObjektovField></a:obalkaField><a:podavajucaOsobaField>"
           "<a:identifikatorOsobyField>OS-77</a:identifikatorOsobyField><a:menoField>J\xC3\xA1n"
           "</a:menoField><a:priezviskoField>Nov\xC3\xA1k</a:priezviskoField>"
           "</a:podavajucaOsobaField><a:stavOvereniaField>OK</a:stavOvereniaField>"
           "<a:stavPodaniaField>Prijat\xC3\xA9</a:stavPodaniaField></a:Podanie>";
}

QByteArray Response(int items) {
    QByteArray body = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
                      "<ListPodanieResponse xmlns=\"http://portal.example/TirsaOrv/IPortal\">"
                      "<ListPodanieResult xmlns:a=\"http://schemas.datacontract.org/2004/07/\" "
                      "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\">";
    for (int i = 0; i < items; ++i) {
        body += Item(i);
    }
    body += "</ListPodanieResult><popisChyby i:nil=\"true\" "
            "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\"/></ListPodanieResponse>"
            "</s:Body></s:Envelope>";
    return body;
}

size_t Walk(const xmlNode* node) {
    size_t sum = 0;
    for (; node; node = node->next) {
        if (node->type == XML_TEXT_NODE && node->content) {
            sum += size_t(xmlStrlen(node->content));
        }
        sum += 1 + Walk(node->children);
    }
    return sum;
}

template <class F> double TimeMs(F&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main() {
    const QByteArray body = Response(1000);
    size_t sink = 0;

    const auto bareRun = [&] {
        xmlParserCtxt* ctxt = xmlNewParserCtxt();
        xmlDoc* doc = xmlCtxtReadMemory(ctxt, body.constData(), int(body.size()), nullptr, nullptr,
                                        XML_PARSE_NONET);
        sink += Walk(xmlDocGetRootElement(doc));
        xmlFreeDoc(doc);
        xmlFreeParserCtxt(ctxt);
    };
    const auto decodeRun = [&] {
        const auto response = ReadSoapResponse<PortalService::ListPodanieResponse>(body);
        sink += response->ListPodanieResult.size();
    };
    // Interleaved, best of many: the machine's other load hits both alike.
    double bare = 1e9;
    double decode = 1e9;
    for (int round = 0; round < 60; ++round) {
        bare = std::min(bare, TimeMs(bareRun));
        decode = std::min(decode, TimeMs(decodeRun));
    }

    std::printf("ListPodanieResponse, 1000 items, %.2f MB\n", double(body.size()) / 1e6);
    std::printf("  bare libxml2 parse + walk: %7.2f ms (%.0f MB/s)\n", bare,
                double(body.size()) / 1e3 / bare);
    std::printf("  typed decode:              %7.2f ms (%.0f MB/s)\n", decode,
                double(body.size()) / 1e3 / decode);
    std::printf("  ratio decode / bare:       %7.2f (aim: at most 1.5)\n", decode / bare);
    return sink == 0 ? 1 : 0;
}
