#include "USimDocuments.h"

#include "OrvConfig.h"
#include "USimXml.h"

#include <utility>

namespace Sim {

namespace {

xmlNode* NewRoot(xmlDoc* doc, const char* name, const char* ns) {
    xmlNode* root = xmlNewDocNode(doc, nullptr, X(name), nullptr);
    xmlDocSetRootElement(doc, root);
    xmlSetNs(root, xmlNewNs(root, X(ns), nullptr));
    return root;
}

void Child(xmlNode* parent, const char* name, const std::string& text) {
    xmlNewTextChild(parent, parent->ns, X(name), X(text.c_str()));
}

std::string WithDeclaration(xmlDoc* doc) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + SerializeDoc(doc);
}

} // namespace

std::string PisomnostNamespace() {
    return std::string("http://") + OrvConfig::FormsHost + "/DUNOR/Formulare/Pisomnost_v01";
}

TSimPisomnost Potvrdenie(const TSimPodanie& podanie, std::string id, TUtcMs created) {
    TSimPisomnost d;
    d.Id = std::move(id);
    d.Subjekt = podanie.Subjekt;
    d.PodanieId = podanie.Id;
    d.Biznis = podanie.Biznis;
    d.CreatedUtc = created;
    d.Typ = TypPotvrdenie;
    d.Sluzba = podanie.Sluzba;
    d.Content = PotvrdenieXml(podanie);
    return d;
}

std::string PotvrdenieXml(const TSimPodanie& p) {
    const std::string ns = PisomnostNamespace();
    TXmlDocPtr doc(xmlNewDoc(X("1.0")));
    xmlNode* root = NewRoot(doc.get(), "Potvrdenie", ns.c_str());
    Child(root, "IdentifikatorPodania", p.Id);
    Child(root, "IdentifikatorBiznisPripadu", p.Biznis);
    Child(root, "IdentifikatorSubjektu", p.Subjekt);
    Child(root, "KodTypuPodania", p.Typ);
    Child(root, "KodSluzby", p.Sluzba);
    Child(root, "DatumACasPrijatia", FormatLocalXsDateTime(p.ReceivedUtc));
    Child(root, "Text",
          "Potvrdzujeme prijatie Vášho podania. Podanie bolo zaevidované a postúpené "
          "na ďalšie spracovanie.");
    return WithDeclaration(doc.get());
}

std::string OznamenieXml(const TSimPodanie& p, const char* typ, const std::string& text,
                         TUtcMs created) {
    const std::string ns = PisomnostNamespace();
    TXmlDocPtr doc(xmlNewDoc(X("1.0")));
    xmlNode* root = NewRoot(doc.get(), "Oznamenie", ns.c_str());
    Child(root, "KodTypuPisomnosti", typ);
    Child(root, "IdentifikatorPodania", p.Id);
    Child(root, "IdentifikatorBiznisPripadu", p.Biznis);
    Child(root, "IdentifikatorSubjektu", p.Subjekt);
    Child(root, "DatumACasVytvorenia", FormatLocalXsDateTime(created));
    Child(root, "Text", text);
    return WithDeclaration(doc.get());
}

} // namespace Sim
