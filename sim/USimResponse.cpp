#include "USimResponse.h"

#include "USimContract.h"

namespace Sim {

TSimEnvelope::TSimEnvelope(const std::string& operation)
    : Doc(xmlNewDoc(X("1.0")))
    , Operation(operation) {
    Envelope = xmlNewDocNode(Doc.get(), nullptr, X("Envelope"), nullptr);
    xmlDocSetRootElement(Doc.get(), Envelope);
    Env = xmlNewNs(Envelope, X(SoapEnvNs), X("s"));
    xmlSetNs(Envelope, Env);
    Body = xmlNewChild(Envelope, Env, X("Body"), nullptr);
    Response = xmlNewChild(Body, nullptr, X((operation + "Response").c_str()), nullptr);
    xmlSetNs(Response, xmlNewNs(Response, X(ContractNs), nullptr));
}

xmlNode* TSimEnvelope::Result(const char* ns) {
    xmlNode* result =
        xmlNewChild(Response, Response->ns, X((Operation + "Result").c_str()), nullptr);
    A = xmlNewNs(result, X(ns), X("a"));
    I = xmlNewNs(result, X(XsiNs), X("i"));
    return result;
}

void TSimEnvelope::NilResult() {
    xmlNode* result =
        xmlNewChild(Response, Response->ns, X((Operation + "Result").c_str()), nullptr);
    xmlNs* i = xmlNewNs(result, X(XsiNs), X("i"));
    xmlNewNsProp(result, i, X("nil"), X("true"));
}

void TSimEnvelope::IntResult(int value) {
    xmlNewTextChild(Response, Response->ns, X((Operation + "Result").c_str()),
                    X(std::to_string(value).c_str()));
}

void TSimEnvelope::PopisChyby(const std::optional<std::string>& text) {
    if (text) {
        xmlNewTextChild(Response, Response->ns, X("popisChyby"), X(text->c_str()));
        return;
    }
    xmlNode* node = xmlNewChild(Response, Response->ns, X("popisChyby"), nullptr);
    xmlNewNsProp(node, xmlNewNs(node, X(XsiNs), X("i")), X("nil"), X("true"));
}

xmlNode* TSimEnvelope::Element(xmlNode* parent, const char* name) {
    return xmlNewChild(parent, A, X(name), nullptr);
}

void TSimEnvelope::Text(xmlNode* parent, const char* name,
                        const std::optional<std::string>& value) {
    if (value)
        xmlNewTextChild(parent, A, X(name), X(value->c_str()));
    else
        Nil(parent, name);
}

void TSimEnvelope::Nil(xmlNode* parent, const char* name) {
    xmlNewNsProp(Element(parent, name), I, X("nil"), X("true"));
}

void TSimEnvelope::DataField(xmlNode* parent, const std::string& document) {
    const TXmlParsed parsed = ParseUntrusted(document);
    if (!parsed.Doc) {
        // Stored content is checked on the way in; this only guards a hand-edited file.
        throw TSimFault("Obsah uloženého dokumentu je poškodený.");
    }
    AppendForeignElement(Element(parent, "dataField"), xmlDocGetRootElement(parsed.Doc.get()));
}

void TSimEnvelope::PodanieFields(xmlNode* node, const TSimPodanie& p, bool withContent) {
    if (withContent)
        DataField(node, p.Document);
    else
        Nil(node, "dataField");
    Text(node, "datumACasPrijatiaField", FormatLocalXsDateTime(p.ReceivedUtc));
    Nil(node, "descriptionField");
    Text(node, "identifikatorBiznisPripaduField", p.Biznis);
    Text(node, "identifikatorPodaniaField", p.Id);
    Text(node, "identifikatorSubjektuField", p.Subjekt);
    Text(node, "kodSluzbyField", p.Sluzba);
    Text(node, "kodTypuPodaniaField", p.Typ);
    if (withContent) {
        xmlNode* obalka = Element(node, "obalkaField");
        xmlNode* dokument = Element(Element(obalka, "dokumentField"), "PodanieObalkaDokument");
        Nil(dokument, "descriptionField");
        Text(dokument, "hlavnyDokumentField", "true");
        Text(dokument, "identifikatorDokumentuField", p.Id + "-1");
        Text(dokument, "kodTypuDokumentuField", p.Typ);
        xmlNode* objekt = Element(Element(dokument, "objektField"), "PodanieObalkaDokumentObjekt");
        Nil(objekt, "dataField");
        Text(objekt, "hlavnyObjektField", "true");
        Text(objekt, "identifikatorObjektuField", p.Id + "-1-1");
        Text(objekt, "kodTypuObjektuField", p.Typ);
        Text(obalka, "pocetAutorizaciiField", "1");
        Text(obalka, "pocetDokumentovField", "1");
        Text(obalka, "pocetObjektovField", "1");
    } else {
        Nil(node, "obalkaField");
    }
    if (p.Osoba.empty()) {
        Nil(node, "podavajucaOsobaField");
    } else {
        xmlNode* osoba = Element(node, "podavajucaOsobaField");
        Text(osoba, "identifikatorOsobyField", p.Osoba);
        Nil(osoba, "menoField");
        Nil(osoba, "priezviskoField");
    }
    Text(node, "stavOvereniaField", p.StavOverenia);
    Text(node, "stavPodaniaField", p.StavPodania);
}

void TSimEnvelope::PisomnostFields(xmlNode* node, const TSimPisomnost& d, bool withContent) {
    if (withContent)
        DataField(node, d.Content);
    else
        Nil(node, "dataField");
    Text(node, "datumACasVytvoreniaField", FormatLocalXsDateTime(d.CreatedUtc));
    Nil(node, "descriptionField");
    Text(node, "identifikatorBiznisPripaduField", d.Biznis);
    Text(node, "identifikatorPodania", d.PodanieId);
    Text(node, "identifikatorSubjektuField", d.Subjekt);
    Text(node, "identifikatorSuborPisomnostiField", d.Id);
    Text(node, "kodTypuSluzbyField", d.Sluzba);
    Text(node, "kodTypuSuboruPisomnostiField", d.Typ);
    if (withContent) {
        xmlNode* obalka = Element(node, "obalkaField");
        xmlNode* dokument =
            Element(Element(obalka, "dokumentField"), "SuborPisomnostiObalkaDokument");
        Nil(dokument, "descriptionField");
        Text(dokument, "hlavnyDokumentField", "true");
        Text(dokument, "kodTypuDokumentuField", d.Typ);
        xmlNode* objekt =
            Element(Element(dokument, "objektField"), "SuborPisomnostiObalkaDokumentObjekt");
        Nil(objekt, "dataField");
        Text(objekt, "hlavnyObjektField", "true");
        Text(objekt, "kodTypuObjektuField", d.Typ);
        Text(obalka, "pocetDokumentovField", "1");
        Text(obalka, "pocetObjektovField", "1");
    } else {
        Nil(node, "obalkaField");
    }
    Text(node, "precitanyField", d.Precitany ? "true" : "false");
}

void TSimEnvelope::MustUnderstandHeader(const std::string& name, const std::string& ns) {
    xmlNode* header = xmlNewDocNode(Doc.get(), Env, X("Header"), nullptr);
    xmlAddPrevSibling(Body, header);
    xmlNode* entry = xmlNewChild(header, nullptr, X(name.c_str()), X(Operation.c_str()));
    xmlSetNs(entry, xmlNewNs(entry, X(ns.c_str()), X("h")));
    xmlNewNsProp(entry, Env, X("mustUnderstand"), X("1"));
}

std::string TSimEnvelope::Serialize() const {
    return SerializeDoc(Doc.get());
}

std::string FaultEnvelope(const TSimFault& fault) {
    TXmlDocPtr doc(xmlNewDoc(X("1.0")));
    xmlNode* envelope = xmlNewDocNode(doc.get(), nullptr, X("Envelope"), nullptr);
    xmlDocSetRootElement(doc.get(), envelope);
    xmlNs* s = xmlNewNs(envelope, X(SoapEnvNs), X("s"));
    xmlSetNs(envelope, s);
    xmlNode* body = xmlNewChild(envelope, s, X("Body"), nullptr);
    xmlNode* f = xmlNewChild(body, s, X("Fault"), nullptr);
    // The fault's children are unqualified; xmlNewChild would put them in s:.
    const auto child = [&](const char* name, const std::string& text) {
        xmlNode* node = xmlNewDocNode(doc.get(), nullptr, X(name), nullptr);
        xmlNodeAddContent(node, X(text.c_str()));
        xmlAddChild(f, node);
        return node;
    };
    if (fault.EnvelopeCode) {
        child("faultcode", "s:" + fault.Code);
    } else {
        xmlNode* code = child("faultcode", "a:" + fault.Code);
        const char* ns = fault.Code == "ActionNotSupported" ? AddressingNoneNs : DispatcherNs;
        xmlNewNs(code, X(ns), X("a"));
    }
    xmlNodeSetLang(child("faultstring", fault.FaultString), X("sk-SK"));
    return SerializeDoc(doc.get());
}

} // namespace Sim
