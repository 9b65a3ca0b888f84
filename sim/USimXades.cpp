#include "USimXades.h"

#include "USimCrypto.h"
#include "USimXml.h"

// xmlsec.h first: the other xmlsec headers use its types.
#include <xmlsec/xmlsec.h>

#include <libxml/valid.h>
#include <openssl/asn1.h>
#include <openssl/evp.h>
#include <openssl/x509v3.h>
#include <xmlsec/errors.h>
#include <xmlsec/keys.h>
#include <xmlsec/openssl/app.h>
#include <xmlsec/openssl/crypto.h>
#include <xmlsec/openssl/evp.h>
#include <xmlsec/transforms.h>
#include <xmlsec/xmldsig.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace Sim {

namespace {

constexpr char Dsig[] = "http://www.w3.org/2000/09/xmldsig#";
constexpr char Xades[] = "http://uri.etsi.org/01903/v1.3.2#";
constexpr char SignedPropertiesType[] = "http://uri.etsi.org/01903#SignedProperties";
constexpr char ExclusiveC14n[] = "http://www.w3.org/2001/10/xml-exc-c14n#";

template <auto Free> struct TFree {
    template <typename T> void operator()(T* p) const noexcept { Free(p); }
};
using TDSigCtx = std::unique_ptr<xmlSecDSigCtx, TFree<xmlSecDSigCtxDestroy>>;
using TGeneralNames = std::unique_ptr<GENERAL_NAMES, TFree<GENERAL_NAMES_free>>;
using TAsn1Integer = std::unique_ptr<ASN1_INTEGER, TFree<ASN1_INTEGER_free>>;

[[noreturn]] void Refuse(const std::string& why) {
    throw TSimXadesRefused(why);
}

// The digest algorithms a reference or a certificate digest may name.
const EVP_MD* DigestOf(const std::string& uri) {
    if (uri == "http://www.w3.org/2000/09/xmldsig#sha1")
        return EVP_sha1();
    if (uri == "http://www.w3.org/2001/04/xmlenc#sha256")
        return EVP_sha256();
    Refuse("algoritmus odtlačku „" + uri + "“ portál nepozná");
}

std::string AttributeOf(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetNoNsProp(node, X(name));
    std::string text = value ? C(value) : "";
    xmlFree(value);
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    return first == std::string::npos
               ? std::string()
               : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<xmlNode*> ElementsNamed(xmlNode* parent, const char* ns, const char* name) {
    std::vector<xmlNode*> found;
    for (xmlNode* child = FirstElementChild(parent); child; child = NextElementSibling(child))
        if (IsElement(child, ns, name))
            found.push_back(child);
    return found;
}

// The one child of that name; a missing or repeated one refuses the signature.
xmlNode* Only(xmlNode* parent, const char* ns, const char* name) {
    const std::vector<xmlNode*> found = ElementsNamed(parent, ns, name);
    if (found.empty())
        Refuse(std::string("chýba v ňom prvok ") + name);
    if (found.size() > 1)
        Refuse(std::string("prvok ") + name + " je v ňom viackrát");
    return found.front();
}

bool IsExclusive(const xmlNode* method) {
    return AttributeOf(method, "Algorithm") == ExclusiveC14n;
}

// Makes "#id" resolve to the node, for xmlsec; an Id used twice is refused,
// since a reference to it could mean either.
void RegisterId(xmlDoc* doc, xmlNode* node, std::set<std::string>& seen) {
    xmlAttr* attribute = xmlHasNsProp(node, X("Id"), nullptr);
    const std::string id = AttributeOf(node, "Id");
    if (!attribute || id.empty())
        return;
    if (!seen.insert(id).second || !xmlAddID(nullptr, doc, X(id.c_str()), attribute))
        Refuse("identifikátor „" + id + "“ nie je jedinečný");
}

std::string Der(X509* certificate) {
    unsigned char* bytes = nullptr;
    const int length = i2d_X509(certificate, &bytes);
    if (length <= 0)
        Refuse("certifikát podpisovateľa nemožno prečítať");
    std::string der(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    OPENSSL_free(bytes);
    return der;
}

std::string Digest(const std::string& bytes, const EVP_MD* md) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), out, &length, md, nullptr) != 1)
        Refuse("odtlačok certifikátu nemožno vypočítať");
    return {reinterpret_cast<const char*>(out), length};
}

// IssuerSerialV2 is the DER of SEQUENCE { GeneralNames, INTEGER }: read it
// and compare its parts with the certificate's issuer and serial number.
bool NamesCertificate(const std::string& der, X509* certificate) {
    const auto* at = reinterpret_cast<const unsigned char*>(der.data());
    long length = 0;
    int tag = 0;
    int tagClass = 0;
    if (ASN1_get_object(&at, &length, &tag, &tagClass, static_cast<long>(der.size())) & 0x80 ||
        tag != V_ASN1_SEQUENCE || tagClass != V_ASN1_UNIVERSAL)
        return false;
    const unsigned char* end = at + length;
    if (end != reinterpret_cast<const unsigned char*>(der.data()) + der.size())
        return false;
    TGeneralNames names(d2i_GENERAL_NAMES(nullptr, &at, end - at));
    TAsn1Integer serial(names ? d2i_ASN1_INTEGER(nullptr, &at, end - at) : nullptr);
    if (!names || !serial || at != end)
        return false;
    if (ASN1_INTEGER_cmp(serial.get(), X509_get0_serialNumber(certificate)) != 0)
        return false;
    for (int i = 0; i < sk_GENERAL_NAME_num(names.get()); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(names.get(), i);
        if (name->type == GEN_DIRNAME &&
            X509_NAME_cmp(name->d.directoryName, X509_get_issuer_name(certificate)) == 0)
            return true;
    }
    return false;
}

thread_local std::string XmlSecMessage;

void KeepXmlSecMessage(const char*, int, const char*, const char*, const char*, int,
                       const char* message) {
    XmlSecMessage = message ? message : "";
}

// Which part of the signature xmlsec found not to match.
std::string Mismatch(xmlSecDSigCtx* context) {
    for (xmlSecSize i = 0; i < xmlSecPtrListGetSize(&context->signedInfoReferences); ++i) {
        const auto* reference = static_cast<xmlSecDSigReferenceCtx*>(
            xmlSecPtrListGetItem(&context->signedInfoReferences, i));
        if (reference && reference->status != xmlSecDSigStatusSucceeded)
            return "nesedí odtlačok odkazu „" +
                   std::string(reference->uri ? C(reference->uri) : "") + "“";
    }
    return "nesedí podpisová hodnota";
}

} // namespace

void StartXmlSec() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        xmlInitParser();
        // xmlsec keeps one registry of algorithms per process: when the signer
        // in this process has started it, it is used as it is.
        xmlSecPtrListPtr algorithms = xmlSecTransformIdsGet();
        if (xmlSecPtrListIsValid(algorithms) && xmlSecPtrListGetSize(algorithms) > 0) {
            started = true;
            return;
        }
        started = xmlSecInit() >= 0 && xmlSecCheckVersion() == 1 &&
                  xmlSecOpenSSLAppInit(nullptr) >= 0 && xmlSecOpenSSLInit() >= 0;
        if (started)
            xmlSecErrorsSetCallback(&KeepXmlSecMessage); // not onto the console
    });
    if (!started)
        throw std::runtime_error("xmlsec cannot be started");
}

xmlNode* FindSignature(xmlDoc* doc) {
    std::vector<xmlNode*> pending{xmlDocGetRootElement(doc)};
    while (!pending.empty()) {
        xmlNode* node = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        if (IsElement(node, Dsig, "Signature"))
            return node;
        // Children in reverse, so the first child is looked at first.
        std::vector<xmlNode*> children;
        for (xmlNode* child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

TSimXades VerifyXades(xmlDoc* doc, xmlNode* signature, X509* signer) {
    StartXmlSec();
    const std::string signatureId = AttributeOf(signature, "Id");
    if (signatureId.empty())
        Refuse("podpis nemá identifikátor");
    xmlNode* signedInfo = Only(signature, Dsig, "SignedInfo");
    if (!IsExclusive(Only(signedInfo, Dsig, "CanonicalizationMethod")))
        Refuse("podpísané údaje nie sú kanonizované výlučnou kanonizáciou");

    // Only the signature's own objects and its signed properties can be
    // pointed at, so nothing outside the signature counts as signed.
    std::set<std::string> ids;
    xmlNode* qualifying = nullptr;
    for (xmlNode* object : ElementsNamed(signature, Dsig, "Object")) {
        RegisterId(doc, object, ids);
        for (xmlNode* properties : ElementsNamed(object, Xades, "QualifyingProperties")) {
            if (qualifying)
                Refuse("prvok QualifyingProperties je v ňom viackrát");
            qualifying = properties;
        }
    }
    if (!qualifying)
        Refuse("chýba v ňom prvok QualifyingProperties");
    if (AttributeOf(qualifying, "Target") != "#" + signatureId)
        Refuse("vlastnosti podpisu patria inému podpisu");
    xmlNode* signedProperties = Only(qualifying, Xades, "SignedProperties");
    RegisterId(doc, signedProperties, ids);

    TSimXades result;
    std::map<std::string, xmlNode*> documentReferences; // reference Id -> its ds:Object
    bool propertiesReferenced = false;
    for (xmlNode* reference : ElementsNamed(signedInfo, Dsig, "Reference")) {
        const std::string uri = AttributeOf(reference, "URI");
        const std::string id = uri.size() > 1 && uri.front() == '#' ? uri.substr(1) : "";
        xmlAttr* target = id.empty() ? nullptr : xmlGetID(doc, X(id.c_str()));
        if (!target || !ids.count(id))
            Refuse("odkaz „" + uri + "“ ukazuje mimo podpisu");
        xmlNode* targetNode = target->parent;
        const std::vector<xmlNode*> transforms =
            ElementsNamed(Only(reference, Dsig, "Transforms"), Dsig, "Transform");
        if (transforms.size() != 1 || !IsExclusive(transforms.front()))
            Refuse("odkaz „" + uri + "“ má iné transformácie než výlučnú kanonizáciu");
        DigestOf(AttributeOf(Only(reference, Dsig, "DigestMethod"), "Algorithm"));
        if (AttributeOf(reference, "Type") == SignedPropertiesType) {
            if (targetNode != signedProperties || propertiesReferenced)
                Refuse("podpísané vlastnosti sú odkázané nesprávne");
            propertiesReferenced = true;
            continue;
        }
        if (!IsElement(targetNode, Dsig, "Object") || targetNode == qualifying->parent)
            Refuse("odkaz „" + uri + "“ neukazuje na podpísaný dokument");
        xmlNode* document = FirstElementChild(targetNode);
        if (!document)
            Refuse("objekt „" + uri + "“ je prázdny");
        result.Documents.push_back(document);
        documentReferences[AttributeOf(reference, "Id")] = targetNode;
    }
    if (!propertiesReferenced || result.Documents.empty())
        Refuse("nepodpisuje dokument aj svoje vlastnosti");

    // The caller has found the certificate trustworthy; xmlsec checks the
    // value and the digests with its key alone, not with what KeyInfo says.
    EVP_PKEY* publicKey = X509_get_pubkey(signer);
    xmlSecKeyDataPtr keyData = publicKey ? xmlSecOpenSSLEvpKeyAdopt(publicKey) : nullptr;
    if (!keyData) {
        EVP_PKEY_free(publicKey);
        Refuse("kľúč certifikátu podpisovateľa nemožno použiť");
    }
    xmlSecKeyPtr key = xmlSecKeyCreate();
    if (!key || xmlSecKeySetValue(key, keyData) < 0) {
        xmlSecKeyDataDestroy(keyData);
        if (key)
            xmlSecKeyDestroy(key);
        Refuse("kľúč certifikátu podpisovateľa nemožno použiť");
    }
    TDSigCtx context(xmlSecDSigCtxCreate(nullptr));
    if (!context) {
        xmlSecKeyDestroy(key);
        throw std::runtime_error("not enough memory for xmlsec");
    }
    context->signKey = key; // the context frees it
    context->enabledReferenceUris = xmlSecTransformUriTypeSameDocument;
    XmlSecMessage.clear();
    if (xmlSecDSigCtxVerify(context.get(), signature) < 0)
        Refuse("podpis nemožno overiť" +
               (XmlSecMessage.empty() ? std::string() : " (" + XmlSecMessage + ")"));
    if (context->status != xmlSecDSigStatusSucceeded)
        Refuse("odtlačok podpísaných údajov alebo podpisová hodnota nesedí, dokument bol po "
               "podpísaní zmenený (" +
               Mismatch(context.get()) + ")");

    xmlNode* signatureProperties = Only(signedProperties, Xades, "SignedSignatureProperties");
    if (Trim(TextOf(Only(signatureProperties, Xades, "SigningTime"))).empty())
        Refuse("chýba v ňom čas podpisu");
    xmlNode* cert = Only(Only(signatureProperties, Xades, "SigningCertificateV2"), Xades, "Cert");
    xmlNode* certDigest = Only(cert, Xades, "CertDigest");
    const EVP_MD* certMd =
        DigestOf(AttributeOf(Only(certDigest, Dsig, "DigestMethod"), "Algorithm"));
    if (LenientBase64(TextOf(Only(certDigest, Dsig, "DigestValue"))) != Digest(Der(signer), certMd))
        Refuse("odtlačok certifikátu podpisovateľa v podpísaných vlastnostiach nesedí");
    if (!NamesCertificate(LenientBase64(TextOf(Only(cert, Xades, "IssuerSerialV2"))), signer))
        Refuse("vydavateľ a sériové číslo certifikátu v podpísaných vlastnostiach nesedia");

    xmlNode* policyId = Only(Only(signatureProperties, Xades, "SignaturePolicyIdentifier"), Xades,
                             "SignaturePolicyId");
    result.PolicyIdentifier =
        Trim(TextOf(Only(Only(policyId, Xades, "SigPolicyId"), Xades, "Identifier")));
    result.PolicyDigest =
        Trim(TextOf(Only(Only(policyId, Xades, "SigPolicyHash"), Dsig, "DigestValue")));

    // Every signed document is described, and every description names one.
    std::set<std::string> described;
    xmlNode* dataProperties = Only(signedProperties, Xades, "SignedDataObjectProperties");
    for (xmlNode* format : ElementsNamed(dataProperties, Xades, "DataObjectFormat")) {
        const std::string reference = AttributeOf(format, "ObjectReference");
        if (reference.size() < 2 || reference.front() != '#' ||
            !documentReferences.count(reference.substr(1)))
            Refuse("popis formátu údajov nepatrí žiadnemu podpísanému dokumentu");
        Only(format, Xades, "Description");
        described.insert(reference.substr(1));
    }
    if (described.size() != documentReferences.size())
        Refuse("podpísaný dokument nemá popis formátu údajov");
    return result;
}

} // namespace Sim
