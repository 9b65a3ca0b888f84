#include "USimRequest.h"

#include "USimContract.h"
#include "USimFault.h"
#include "USimXml.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace Sim {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string_view Unquote(std::string_view text) {
    text = Trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

bool IsNil(const xmlNode* node) {
    xmlChar* nil = xmlGetNsProp(node, X("nil"), X(XsiNs));
    const bool result = nil && (std::strcmp(C(nil), "true") == 0 || std::strcmp(C(nil), "1") == 0);
    xmlFree(nil);
    return result;
}

bool MustBeUnderstood(const xmlNode* node) {
    xmlChar* mu = xmlGetNsProp(node, X("mustUnderstand"), X(SoapEnvNs));
    const bool result = mu && (std::strcmp(C(mu), "true") == 0 || std::strcmp(C(mu), "1") == 0);
    xmlFree(mu);
    return result;
}

[[noreturn]] void BadValue(std::string_view name, const std::string& what) {
    throw TSimFault("Hodnotu prvku " + std::string(name) + " nie je možné prečítať: " + what,
                    "DeserializationFailed");
}

} // namespace

std::optional<std::string> TSimRequest::Text(std::string_view name) const {
    const auto it = Fields.find(name);
    if (it == Fields.end())
        return std::nullopt;
    return it->second;
}

std::optional<int> TSimRequest::Int(std::string_view name) const {
    const auto text = Text(name);
    if (!text)
        return std::nullopt;
    const std::string_view t = Trim(*text);
    int value = 0;
    const char* first = t.data();
    if (!t.empty() && t.front() == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        BadValue(name, "očakáva sa celé číslo, prišlo „" + *text + "“.");
    return value;
}

std::optional<bool> TSimRequest::Bool(std::string_view name) const {
    const auto text = Text(name);
    if (!text)
        return std::nullopt;
    const std::string_view t = Trim(*text);
    if (t == "true" || t == "1")
        return true;
    if (t == "false" || t == "0")
        return false;
    BadValue(name, "očakáva sa true alebo false, prišlo „" + *text + "“.");
}

std::optional<TUtcMs> TSimRequest::DateTime(std::string_view name) const {
    const auto text = Text(name);
    if (!text)
        return std::nullopt;
    const auto value = ParseXsDateTime(*text);
    if (!value)
        BadValue(name, "očakáva sa dátum a čas (xs:dateTime), prišlo „" + *text + "“.");
    return value;
}

std::optional<int> TSimRequest::Enum(std::string_view name,
                                     std::initializer_list<std::string_view> literals) const {
    const auto text = Text(name);
    if (!text)
        return std::nullopt;
    const std::string_view t = Trim(*text);
    int index = 0;
    for (const auto literal : literals) {
        if (literal == t)
            return index;
        ++index;
    }
    BadValue(name, "neznáma hodnota „" + *text + "“.");
}

bool IsSoap11ContentType(std::string_view contentType) {
    const std::string ct = Lower(contentType);
    const auto semicolon = ct.find(';');
    if (Trim(std::string_view(ct).substr(0, semicolon)) != "text/xml")
        return false;
    if (semicolon == std::string::npos)
        return true;
    // Parameters: only a charset, and only UTF-8, is understood.
    std::string_view rest = std::string_view(ct).substr(semicolon + 1);
    while (!rest.empty()) {
        const auto next = rest.find(';');
        const std::string_view param = Trim(rest.substr(0, next));
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
        const auto eq = param.find('=');
        if (eq == std::string_view::npos)
            continue;
        if (Trim(param.substr(0, eq)) == "charset" && Unquote(param.substr(eq + 1)) != "utf-8")
            return false;
    }
    return true;
}

std::string OperationOfAction(std::string_view soapAction) {
    const std::string_view action = Unquote(soapAction);
    const std::string prefix = std::string(ContractNs) + "/IPortal/";
    if (action.size() <= prefix.size() || action.substr(0, prefix.size()) != prefix)
        return {};
    const std::string_view op = action.substr(prefix.size());
    return IsOperation(op) ? std::string(op) : std::string();
}

TSimRequest DecodeRequest(std::string_view body, std::string_view soapAction) {
    const TXmlParsed parsed = ParseUntrusted(body);
    if (parsed.HasDtd)
        throw TSimFault("Požiadavka nesmie obsahovať definíciu typu dokumentu (DOCTYPE).", "Client",
                        true);
    if (!parsed.Doc)
        throw TSimFault("Požiadavka nie je správne vytvorený dokument XML: " + parsed.Error + ".",
                        "Client", true);

    xmlNode* envelope = xmlDocGetRootElement(parsed.Doc.get());
    if (!IsElement(envelope, SoapEnvNs, "Envelope"))
        throw TSimFault("Požiadavka nie je obálka SOAP 1.1: koreňový prvok je {" +
                            NamespaceOf(envelope) + "}" + C(envelope->name) + ".",
                        "VersionMismatch", true);

    xmlNode* header = nullptr;
    xmlNode* soapBody = nullptr;
    for (xmlNode* child = FirstElementChild(envelope); child; child = NextElementSibling(child)) {
        if (IsElement(child, SoapEnvNs, "Header") && !header && !soapBody) {
            header = child;
        } else if (IsElement(child, SoapEnvNs, "Body") && !soapBody) {
            soapBody = child;
        } else {
            throw TSimFault("Obálka požiadavky obsahuje neočakávaný prvok " +
                                std::string(C(child->name)) + ".",
                            "Client", true);
        }
    }
    for (xmlNode* entry = FirstElementChild(header); entry; entry = NextElementSibling(entry))
        if (MustBeUnderstood(entry))
            throw TSimFault("Hlavička " + std::string(C(entry->name)) +
                                " označená mustUnderstand nie je portálu známa.",
                            "MustUnderstand", true);
    if (!soapBody)
        throw TSimFault("Obálka požiadavky nemá telo (Body).", "Client", true);

    xmlNode* message = FirstElementChild(soapBody);
    if (!message)
        throw TSimFault("Telo požiadavky neobsahuje žiadnu operáciu.", "Client", true);
    if (NextElementSibling(message))
        throw TSimFault("Telo požiadavky smie obsahovať iba jednu operáciu.", "Client", true);

    const std::string action(Unquote(soapAction));
    const std::string operation = OperationOfAction(soapAction);
    if (operation.empty())
        throw TSimFault("Správu s akciou „" + action +
                            "“ nie je možné spracovať: portál takú operáciu nepozná.",
                        "ActionNotSupported");
    if (!IsElement(message, ContractNs, operation.c_str()))
        throw TSimFault("Akcia „" + action + "“ nezodpovedá prvku tela {" + NamespaceOf(message) +
                            "}" + C(message->name) + ".",
                        "DeserializationFailed");

    TSimRequest request;
    request.Operation = operation;
    for (xmlNode* field = FirstElementChild(message); field; field = NextElementSibling(field)) {
        // Fields are read in the contract namespace only; the first one wins.
        if (NamespaceOf(field) != ContractNs || IsNil(field))
            continue;
        request.Fields.emplace(C(field->name), TextOf(field));
    }
    return request;
}

} // namespace Sim
