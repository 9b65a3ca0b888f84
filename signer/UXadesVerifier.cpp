#include "UXadesVerifier.h"

#include "UOrvError.h"
#include "UXadesNames.h"
#include "UXadesSignature.h"
#include "UXmlSafe.h"
#include "UXmlSecLibrary.h"

#include <libxml/valid.h>
#include <xmlsec/app.h>
#include <xmlsec/crypto.h>
#include <xmlsec/openssl/x509.h>

#include <algorithm>
#include <climits>
#include <map>

namespace {

[[noreturn]] void Refuse(const QString& reason) {
    throw TOrvError(QStringLiteral("The signature is not valid: %1").arg(reason));
}

bool Is(const xmlNode* node, const char* name, const char* ns) {
    return node && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, Xc(name)) &&
           node->ns && xmlStrEqual(node->ns->href, Xc(ns));
}

std::vector<xmlNode*> Children(xmlNode* parent, const char* name, const char* ns) {
    std::vector<xmlNode*> result;
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (Is(child, name, ns))
            result.push_back(child);
    }
    return result;
}

xmlNode* Child(xmlNode* parent, const char* name, const char* ns) {
    const std::vector<xmlNode*> found = Children(parent, name, ns);
    if (found.size() != 1)
        Refuse(QStringLiteral("%1 %2").arg(found.empty() ? QStringLiteral("no")
                                                         : QStringLiteral("more than one"),
                                           QString::fromLatin1(name)));
    return found.front();
}

xmlNode* FirstElement(xmlNode* parent) {
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            return child;
    }
    return nullptr;
}

QString Attribute(xmlNode* node, const char* name) {
    TXmlCharPtr value(xmlGetNoNsProp(node, Xc(name)));
    return FromXmlChar(value.get());
}

QString Text(xmlNode* node) {
    TXmlCharPtr value(xmlNodeGetContent(node));
    return FromXmlChar(value.get());
}

QByteArray Base64(const QString& text) {
    return QByteArray::fromBase64(text.simplified().remove(u' ').toLatin1());
}

void RegisterId(xmlDoc* doc, xmlNode* node, std::map<QString, xmlNode*>& ids) {
    xmlAttr* attribute = xmlHasNsProp(node, Xc("Id"), nullptr);
    const QString id = Attribute(node, "Id");
    if (!attribute || id.isEmpty())
        return;
    if (ids.count(id) || !xmlAddID(nullptr, doc, Xc(ToUtf8(id)), attribute))
        Refuse(QStringLiteral("the identifier \"%1\" is not unique").arg(id));
    ids[id] = node;
}

void CheckExclusive(xmlNode* method, const QString& what) {
    if (Attribute(method, "Algorithm") != QLatin1String(ExcC14nUri))
        Refuse(QStringLiteral("%1 is not canonicalised exclusively").arg(what));
}

void CheckDigest(xmlNode* holder, const QByteArray& expected, const QString& what) {
    if (Base64(Text(Child(holder, "DigestValue", DsigNs))) != expected)
        Refuse(QStringLiteral("%1 does not match").arg(what));
}

} // namespace

xmlNode* FindSignature(xmlDoc* doc) {
    xmlNode* node = xmlDocGetRootElement(doc);
    while (node) {
        if (Is(node, "Signature", DsigNs))
            return node;
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node && !node->next)
            node = node->parent && node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr;
        if (node)
            node = node->next;
    }
    return nullptr;
}

TXadesVerified VerifyXades(xmlDoc* doc, xmlNode* signature, const QByteArray& trustedPem,
                           const std::vector<TSignaturePolicy>& acceptedPolicies) {
    EnsureXmlSec();
    if (!Is(signature, "Signature", DsigNs))
        Refuse(QStringLiteral("no signature"));
    TXadesVerified result;
    result.SignatureId = Attribute(signature, "Id");
    if (result.SignatureId.isEmpty())
        Refuse(QStringLiteral("the signature has no identifier"));

    xmlNode* signedInfo = Child(signature, "SignedInfo", DsigNs);
    CheckExclusive(Child(signedInfo, "CanonicalizationMethod", DsigNs),
                   QStringLiteral("SignedInfo"));

    // The Ids of the signature's objects and of its signed properties, and
    // no others: a reference can only point into the signature itself.
    std::map<QString, xmlNode*> ids;
    xmlNode* signedProperties = nullptr;
    xmlNode* qualifying = nullptr;
    for (xmlNode* object : Children(signature, "Object", DsigNs)) {
        RegisterId(doc, object, ids);
        for (xmlNode* properties : Children(object, "QualifyingProperties", XadesNs)) {
            if (qualifying)
                Refuse(QStringLiteral("more than one QualifyingProperties"));
            qualifying = properties;
            signedProperties = Child(properties, "SignedProperties", XadesNs);
            RegisterId(doc, signedProperties, ids);
        }
    }
    if (!qualifying)
        Refuse(QStringLiteral("no QualifyingProperties"));
    if (Attribute(qualifying, "Target") != u'#' + result.SignatureId)
        Refuse(QStringLiteral("the properties are not this signature's"));

    std::map<QString, xmlNode*> dataReferences; // by reference Id
    bool propertiesSigned = false;
    for (xmlNode* reference : Children(signedInfo, "Reference", DsigNs)) {
        const QString uri = Attribute(reference, "URI");
        const auto target = uri.startsWith(u'#') ? ids.find(uri.mid(1)) : ids.end();
        if (target == ids.end())
            Refuse(QStringLiteral("the reference \"%1\" points outside the signature").arg(uri));
        const std::vector<xmlNode*> transforms =
            Children(Child(reference, "Transforms", DsigNs), "Transform", DsigNs);
        if (transforms.size() != 1)
            Refuse(QStringLiteral("the reference \"%1\" has other transforms").arg(uri));
        CheckExclusive(transforms.front(), QStringLiteral("The reference \"%1\"").arg(uri));
        const TDigestAlgorithm digest =
            DigestByUri(Attribute(Child(reference, "DigestMethod", DsigNs), "Algorithm"));
        result.DigestAlgorithm = digest.Name;
        if (Attribute(reference, "Type") == QLatin1String(SignedPropertiesType)) {
            if (target->second != signedProperties || propertiesSigned)
                Refuse(QStringLiteral("the signed properties are referenced wrongly"));
            propertiesSigned = true;
            continue;
        }
        if (!Is(target->second, "Object", DsigNs) || target->second == qualifying->parent)
            Refuse(QStringLiteral("the reference \"%1\" is not a signed document").arg(uri));
        xmlNode* document = FirstElement(target->second);
        if (!document)
            Refuse(QStringLiteral("the object \"%1\" is empty").arg(uri));
        result.Documents.push_back(document);
        dataReferences[Attribute(reference, "Id")] = target->second;
    }
    if (!propertiesSigned || result.Documents.empty())
        Refuse(QStringLiteral("the documents or the signed properties are not signed"));

    if (trustedPem.size() > INT_MAX)
        Refuse(QStringLiteral("the trusted certificates are too large"));
    TXmlSecKeysMngrPtr keys(xmlSecKeysMngrCreate());
    if (!keys || xmlSecCryptoAppDefaultKeysMngrInit(keys.get()) < 0 ||
        xmlSecCryptoAppKeysMngrCertLoadMemory(
            keys.get(), reinterpret_cast<const xmlSecByte*>(trustedPem.constData()),
            static_cast<xmlSecSize>(trustedPem.size()), xmlSecKeyDataFormatPem,
            xmlSecKeyDataTypeTrusted) < 0)
        throw TOrvError(QStringLiteral("The trusted certificates cannot be loaded"));
    TXmlSecDSigCtxPtr context(xmlSecDSigCtxCreate(keys.get()));
    if (!context)
        throw TOrvError(QStringLiteral("The signature cannot be checked"));
    context->enabledReferenceUris = xmlSecTransformUriTypeSameDocument;
    TakeXmlSecError();
    if (xmlSecDSigCtxVerify(context.get(), signature) < 0 ||
        context->status != xmlSecDSigStatusSucceeded) {
        const QString why = TakeXmlSecError();
        Refuse(why.isEmpty() ? QStringLiteral("the signature value or a digest does not match")
                             : why);
    }
    X509* certificate = context->signKey ? xmlSecOpenSSLKeyDataX509GetKeyCert(xmlSecKeyGetData(
                                               context->signKey, xmlSecOpenSSLKeyDataX509Id))
                                         : nullptr;
    if (!certificate)
        Refuse(QStringLiteral("no trusted signing certificate"));
    result.SignerSubject = SubjectText(certificate);

    xmlNode* signatureProperties = Child(signedProperties, "SignedSignatureProperties", XadesNs);
    result.SigningTime = Text(Child(signatureProperties, "SigningTime", XadesNs)).trimmed();
    if (result.SigningTime.isEmpty())
        Refuse(QStringLiteral("no signing time"));

    xmlNode* cert =
        Child(Child(signatureProperties, "SigningCertificateV2", XadesNs), "Cert", XadesNs);
    xmlNode* certDigest = Child(cert, "CertDigest", XadesNs);
    const TDigestAlgorithm certAlgorithm =
        DigestByUri(Attribute(Child(certDigest, "DigestMethod", DsigNs), "Algorithm"));
    CheckDigest(certDigest, CertificateDigest(certificate, certAlgorithm.Md()),
                QStringLiteral("the signing certificate's digest"));
    if (Base64(Text(Child(cert, "IssuerSerialV2", XadesNs))) != IssuerSerialDer(certificate))
        Refuse(QStringLiteral("the signing certificate's issuer and serial number do not match"));

    xmlNode* policyId = Child(Child(signatureProperties, "SignaturePolicyIdentifier", XadesNs),
                              "SignaturePolicyId", XadesNs);
    result.PolicyIdentifier =
        Text(Child(Child(policyId, "SigPolicyId", XadesNs), "Identifier", XadesNs)).trimmed();
    xmlNode* policyHash = Child(policyId, "SigPolicyHash", XadesNs);
    result.PolicyDigestAlgUri = Attribute(Child(policyHash, "DigestMethod", DsigNs), "Algorithm");
    result.PolicyDigest = Text(Child(policyHash, "DigestValue", DsigNs)).trimmed();
    if (!acceptedPolicies.empty()) {
        const auto policy = std::find_if(
            acceptedPolicies.begin(), acceptedPolicies.end(),
            [&](const TSignaturePolicy& p) { return p.Identifier == result.PolicyIdentifier; });
        if (policy == acceptedPolicies.end())
            Refuse(
                QStringLiteral("the policy \"%1\" is not accepted").arg(result.PolicyIdentifier));
        if (result.PolicyDigestAlgUri != policy->DigestAlgUri ||
            Base64(result.PolicyDigest) != Base64(policy->PolicyDigest))
            Refuse(QStringLiteral("the policy's hash does not match"));
    }

    xmlNode* dataProperties = Child(signedProperties, "SignedDataObjectProperties", XadesNs);
    std::map<QString, bool> described;
    for (xmlNode* format : Children(dataProperties, "DataObjectFormat", XadesNs)) {
        const QString reference = Attribute(format, "ObjectReference");
        if (!reference.startsWith(u'#') || !dataReferences.count(reference.mid(1)))
            Refuse(QStringLiteral("a data object format names no signed document"));
        described[reference.mid(1)] = true;
        result.Descriptions.push_back(Text(Child(format, "Description", XadesNs)));
    }
    if (described.size() != dataReferences.size())
        Refuse(QStringLiteral("a signed document has no data object format"));
    return result;
}
