#include "USimSignatureCheck.h"

#include "USimCrypto.h"
#include "USimXades.h"
#include "USimXml.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace Sim {

namespace {

constexpr char DsigNs[] = "http://www.w3.org/2000/09/xmldsig#";
constexpr char XadesNs[] = "http://uri.etsi.org/01903/v1.3.2#";
constexpr char SubmissionNs[] = "urn:nomir:zep:podanie:1";

template <auto Free> struct TFreeWith {
    template <typename T> void operator()(T* p) const noexcept { Free(p); }
};
using TX509Ptr = std::unique_ptr<X509, TFreeWith<X509_free>>;
using TBioPtr = std::unique_ptr<BIO, TFreeWith<BIO_free>>;
struct TXmlCharFree {
    void operator()(xmlChar* text) const noexcept { xmlFree(text); }
};
using TXmlCharPtr = std::unique_ptr<xmlChar, TXmlCharFree>;
using TSchemaParserCtxtPtr =
    std::unique_ptr<xmlSchemaParserCtxt, TFreeWith<xmlSchemaFreeParserCtxt>>;
using TSchemaPtr = std::unique_ptr<xmlSchema, TFreeWith<xmlSchemaFree>>;
using TSchemaValidCtxtPtr = std::unique_ptr<xmlSchemaValidCtxt, TFreeWith<xmlSchemaFreeValidCtxt>>;
using TX509StorePtr = std::unique_ptr<X509_STORE, TFreeWith<X509_STORE_free>>;
using TX509StoreCtxPtr = std::unique_ptr<X509_STORE_CTX, TFreeWith<X509_STORE_CTX_free>>;
// sk_X509_free is a macro; the stack only borrows its certificates.
struct TX509StackFree {
    void operator()(STACK_OF(X509) * stack) const { sk_X509_free(stack); }
};
using TX509StackPtr = std::unique_ptr<STACK_OF(X509), TX509StackFree>;

// The order the packaging writes them; each at most once, Podpis required.
constexpr const char* PodanieFields[] = {"TypPodania", "Popis",    "Subjekt", "EPHId",
                                         "Namespace",  "Formular", "Podpis"};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string ElementName(const xmlNode* node) {
    const std::string ns = NamespaceOf(node);
    return (ns.empty() ? std::string() : "{" + ns + "}") + C(node->name);
}

// Schema compilation must not fetch anything: no imports or includes.
class TNoExternalLoads {
public:
    TNoExternalLoads()
        : Previous(xmlGetExternalEntityLoader()) {
        xmlSetExternalEntityLoader(
            [](const char*, const char*, xmlParserCtxtPtr) { return xmlParserInputPtr{}; });
    }
    ~TNoExternalLoads() { xmlSetExternalEntityLoader(Previous); }
    TNoExternalLoads(const TNoExternalLoads&) = delete;
    TNoExternalLoads& operator=(const TNoExternalLoads&) = delete;

private:
    xmlExternalEntityLoader Previous;
};

// The first error libxml2 reports through a context's handler.
struct TFirstError {
    std::string Message;
    int Line = 0;
    static void Collect(void* self, xmlErrorPtr error) {
        auto* first = static_cast<TFirstError*>(self);
        if (!error || error->level == XML_ERR_WARNING || !first->Message.empty())
            return;
        first->Message = Trimmed(error->message ? error->message : "");
        if (first->Message.empty())
            first->Message = "neznáma chyba";
        first->Line = error->line;
    }
};

TX509StorePtr TrustStore(const std::string& pem) {
    if (pem.size() > INT_MAX)
        throw std::runtime_error("the trusted certificates are too large");
    TX509StorePtr store(X509_STORE_new());
    TBioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!store || !bio)
        throw std::runtime_error("not enough memory for the trust store");
    int count = 0;
    while (TX509Ptr certificate{PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)}) {
        if (X509_STORE_add_cert(store.get(), certificate.get()) != 1)
            throw std::runtime_error("a trusted certificate cannot be added");
        ++count;
    }
    ERR_clear_error(); // the end of the PEM text reads as an error
    if (count == 0)
        throw std::runtime_error("no certificate in the trusted certificates");
    return store;
}

std::vector<TX509Ptr> KeyInfoCertificates(xmlNode* signature) {
    std::vector<TX509Ptr> certificates;
    for (xmlNode* keyInfo = FirstElementChild(signature); keyInfo;
         keyInfo = NextElementSibling(keyInfo)) {
        if (!IsElement(keyInfo, DsigNs, "KeyInfo"))
            continue;
        for (xmlNode* data = FirstElementChild(keyInfo); data; data = NextElementSibling(data)) {
            if (!IsElement(data, DsigNs, "X509Data"))
                continue;
            for (xmlNode* cert = FirstElementChild(data); cert; cert = NextElementSibling(cert)) {
                if (!IsElement(cert, DsigNs, "X509Certificate"))
                    continue;
                const std::string der = LenientBase64(TextOf(cert));
                const auto* bytes = reinterpret_cast<const unsigned char*>(der.data());
                if (TX509Ptr parsed{d2i_X509(nullptr, &bytes, static_cast<long>(der.size()))})
                    certificates.push_back(std::move(parsed));
            }
        }
    }
    return certificates;
}

// X509_V_OK when the certificate chains to a trusted one, else OpenSSL's reason.
int ChainError(X509_STORE* store, X509* leaf, const std::vector<TX509Ptr>& all) {
    TX509StackPtr untrusted(sk_X509_new_null());
    TX509StoreCtxPtr context(X509_STORE_CTX_new());
    if (!untrusted || !context)
        return X509_V_ERR_OUT_OF_MEM;
    for (const TX509Ptr& other : all) {
        if (other.get() != leaf && !sk_X509_push(untrusted.get(), other.get()))
            return X509_V_ERR_OUT_OF_MEM;
    }
    if (X509_STORE_CTX_init(context.get(), store, leaf, untrusted.get()) != 1)
        return X509_V_ERR_OUT_OF_MEM;
    const int verified = X509_verify_cert(context.get());
    const int error = X509_STORE_CTX_get_error(context.get());
    ERR_clear_error();
    return verified == 1 ? X509_V_OK : (error == X509_V_OK ? X509_V_ERR_UNSPECIFIED : error);
}

std::string Untrusted(int error) {
    switch (error) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return "jeho platnosť skončila";
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return "ešte nie je platný";
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_SIGNATURE_FAILURE:
        return "nevydala ho certifikačná autorita, ktorej portál dôveruje";
    default:
        return std::string("nie je dôveryhodný (") + X509_verify_cert_error_string(error) + ")";
    }
}

// The signer's certificate: the first one that is not an authority's.
X509* SignerCertificate(const std::vector<TX509Ptr>& certificates) {
    for (const TX509Ptr& certificate : certificates) {
        if (X509_check_ca(certificate.get()) == 0)
            return certificate.get();
    }
    return certificates.empty() ? nullptr : certificates.front().get();
}

// The certificate's subject as RFC 2253 text, UTF-8 kept as it is.
std::string SubjectText(X509* certificate) {
    TBioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio)
        return {};
    X509_NAME_print_ex(bio.get(), X509_get_subject_name(certificate), 0,
                       XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

// A message of its own as the end of the portal's sentence.
std::string Sentence(std::string text) {
    while (!text.empty() && text.back() == '.')
        text.pop_back();
    return text + ".";
}

std::string Decoded(const std::string& base64) {
    return LenientBase64(base64);
}

} // namespace

struct TSimSignatureCheck::TSchema {
    TXmlDocPtr Source; // the compiled schema refers into it
    TSchemaPtr Compiled;
    std::string TargetNamespace;
};

TSimPolicy ParsePolicy(const std::string& text) {
    const auto equals = text.rfind('=', text.find_last_not_of('=')); // Base64 may end in '='
    if (equals == std::string::npos || equals == 0)
        throw std::invalid_argument("a policy is IDENTIFIER=BASE64-DIGEST: " + text);
    TSimPolicy policy{Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1))};
    if (policy.Identifier.empty() || Decoded(policy.Digest).empty())
        throw std::invalid_argument("a policy is IDENTIFIER=BASE64-DIGEST: " + text);
    return policy;
}

std::vector<TSimPolicy> ReadPolicies(const std::string& path) {
    std::istringstream lines(ReadFile(path));
    std::vector<TSimPolicy> policies;
    for (std::string line; std::getline(lines, line);) {
        line = Trimmed(line);
        if (!line.empty() && line.front() != '#')
            policies.push_back(ParsePolicy(line));
    }
    if (policies.empty())
        throw std::invalid_argument("no policy in " + path);
    return policies;
}

TSimSignatureCheck::TSimSignatureCheck(TSimSignatureCheckOptions options)
    : Options(std::move(options)) {
    InitXml();
    StartXmlSec();
    TrustStore(Options.TrustedPem); // refuses an unusable trust file now, not per request
    const TNoExternalLoads noLoads;
    for (const char* version : {"01", "02", "03"}) {
        const std::string typ = std::string("KT_PODAJ_v") + version;
        const std::string path = Options.SchemaDir + "/Podaj_v" + version + ".xsd";
        auto schema = std::make_unique<TSchema>();
        TXmlParsed parsed = ParseUntrusted(ReadFile(path));
        if (!parsed.Doc)
            throw std::runtime_error(path + ": " + parsed.Error);
        schema->Source = std::move(parsed.Doc);
        xmlNode* root = xmlDocGetRootElement(schema->Source.get());
        TXmlCharPtr target(xmlGetNoNsProp(root, X("targetNamespace")));
        schema->TargetNamespace = target ? C(target.get()) : "";
        TFirstError error;
        TSchemaParserCtxtPtr context(xmlSchemaNewDocParserCtxt(schema->Source.get()));
        if (!context)
            throw std::runtime_error(path + ": not enough memory");
        xmlSchemaSetParserStructuredErrors(context.get(), &TFirstError::Collect, &error);
        schema->Compiled.reset(xmlSchemaParse(context.get()));
        if (!schema->Compiled)
            throw std::runtime_error(path + ": not a usable schema: " + error.Message);
        Schemas[typ] = std::move(schema);
    }
}

TSimSignatureCheck::~TSimSignatureCheck() = default;

std::optional<std::string> TSimSignatureCheck::Check(const std::string& typPodania,
                                                     const std::string& document) {
    const std::lock_guard lock(Mutex);
    try {
        return CheckLocked(typPodania, document);
    } catch (const std::runtime_error& error) {
        return "Podanie nemožno overiť: " + Sentence(error.what());
    }
}

std::optional<std::string> TSimSignatureCheck::CheckLocked(const std::string& typPodania,
                                                           const std::string& document) {
    const auto schema = Schemas.find(typPodania);
    if (schema == Schemas.end())
        return "Pre typ podania „" + typPodania + "“ portál nemá schému.";
    const TXmlParsed parsed = ParseUntrusted(document);
    if (!parsed.Doc)
        return "Podanie nie je správne vytvorený dokument XML: " + Sentence(parsed.Error);
    xmlDoc* doc = parsed.Doc.get();
    xmlNode* signature = FindSignature(doc);
    if (!signature)
        return "Podanie nie je podpísané: chýba v ňom elektronický podpis (ds:Signature).";

    // Only the packaging's own fields may stand beside the signature: a
    // second EPH there would be read by someone as the submission although
    // nobody signed it.
    xmlNode* root = xmlDocGetRootElement(doc);
    if (!IsElement(root, SubmissionNs, "Podanie"))
        return "Podanie nie je dokument podania: koreňový prvok je „" + ElementName(root) +
               "“, očakáva sa „{" + SubmissionNs + "}Podanie“.";
    std::map<std::string, xmlNode*> fields;
    for (xmlNode* child = FirstElementChild(root); child; child = NextElementSibling(child)) {
        const bool known =
            NamespaceOf(child) == SubmissionNs &&
            std::any_of(std::begin(PodanieFields), std::end(PodanieFields),
                        [&](const char* name) { return std::strcmp(C(child->name), name) == 0; });
        if (!known || fields.count(C(child->name)))
            return "Podanie obsahuje mimo podpisu prvok „" + ElementName(child) +
                   "“, ktorý do podania nepatrí; portál prijíma len EPH podpísaný v prvku "
                   "orv:Podpis.";
        fields[C(child->name)] = child;
    }
    const auto podpis = fields.find("Podpis");
    if (podpis == fields.end() || signature->parent != podpis->second ||
        FirstElementChild(podpis->second) != signature || NextElementSibling(signature))
        return "Podpis podania nie je jediným prvkom orv:Podpis.";
    if (const auto typ = fields.find("TypPodania");
        typ != fields.end() && Trimmed(TextOf(typ->second)) != typPodania)
        return "Typ podania v dokumente („" + Trimmed(TextOf(typ->second)) +
               "“) sa nezhoduje s typom podania „" + typPodania + "“.";

    const std::vector<TX509Ptr> certificates = KeyInfoCertificates(signature);
    X509* signer = SignerCertificate(certificates);
    if (!signer)
        return "Podpis podania neobsahuje certifikát podpisovateľa.";
    const TX509StorePtr store = TrustStore(Options.TrustedPem);
    if (const int error = ChainError(store.get(), signer, certificates); error != X509_V_OK)
        return "Portál neprijíma certifikát podpisovateľa „" + SubjectText(signer) +
               "“: " + Untrusted(error) + ".";

    TSimXades verified;
    try {
        verified = VerifyXades(doc, signature, signer);
    } catch (const TSimXadesRefused& refused) {
        return "Podpis podania nie je platný: " + Sentence(refused.what());
    }

    if (!Options.Policies.empty()) {
        const std::string& id = verified.PolicyIdentifier;
        const auto policy = std::find_if(Options.Policies.begin(), Options.Policies.end(),
                                         [&](const TSimPolicy& p) { return p.Identifier == id; });
        if (policy == Options.Policies.end())
            return "Podpis je vytvorený podľa podpisovej politiky „" + id +
                   "“, ktorú portál neprijíma.";
        if (Decoded(verified.PolicyDigest) != Decoded(policy->Digest))
            return "Odtlačok podpisovej politiky „" + id +
                   "“ v podpise sa nezhoduje s politikou, ktorú portál prijíma.";
    }

    // The EPH is the one document the signature signs, in its own ds:Object;
    // any other object in the signature would be unsigned content.
    if (verified.Documents.size() != 1)
        return "Podpis podania musí podpisovať práve jeden dokument EPH.";
    xmlNode* eph = verified.Documents.front();
    for (xmlNode* object = FirstElementChild(signature); object;
         object = NextElementSibling(object)) {
        if (!IsElement(object, DsigNs, "Object") || object == eph->parent)
            continue;
        xmlNode* inner = FirstElementChild(object);
        if (!IsElement(inner, XadesNs, "QualifyingProperties") || NextElementSibling(inner))
            return "Podpis podania obsahuje objekt, ktorý nie je podpísaný.";
    }
    if (NextElementSibling(eph))
        return "Podpísaný objekt podania obsahuje viac ako jeden dokument.";

    const std::string ns = NamespaceOf(eph);
    if (ns != schema->second->TargetNamespace)
        return "EPH nie je vo verzii podania " + typPodania + ": jeho menný priestor je „" + ns +
               "“, verzia má „" + schema->second->TargetNamespace + "“.";

    TFirstError error;
    TSchemaValidCtxtPtr validation(xmlSchemaNewValidCtxt(schema->second->Compiled.get()));
    if (!validation)
        throw std::runtime_error("nedostatok pamäte");
    xmlSchemaSetValidStructuredErrors(validation.get(), &TFirstError::Collect, &error);
    const int result = xmlSchemaValidateOneElement(validation.get(), eph);
    if (result != 0) {
        const std::string where =
            error.Line > 0 ? " (riadok " + std::to_string(error.Line) + " podania)" : "";
        return "EPH nevyhovuje schéme verzie " + typPodania + where + ": " +
               Sentence(error.Message.empty() ? "dokument je neplatný" : error.Message);
    }
    return std::nullopt;
}

} // namespace Sim
