#include "UXadesSignature.h"

#include "UOrvError.h"
#include "UXadesNames.h"
#include "UXmlSafe.h"
#include "UXmlSecLibrary.h"

#include <QCoreApplication>

#include <libxml/valid.h>
#include <libxml/xmlsave.h>
#include <openssl/x509.h>
#include <xmlsec/app.h>
#include <xmlsec/crypto.h>
#include <xmlsec/openssl/evp.h>
#include <xmlsec/templates.h>
#include <xmlsec/xmltree.h>

#include <climits>
#include <set>

namespace {

QByteArray DerLength(qsizetype length) {
    QByteArray out;
    if (length < 0x80) {
        out.append(static_cast<char>(length));
        return out;
    }
    QByteArray bytes;
    for (qsizetype rest = length; rest > 0; rest >>= 8)
        bytes.prepend(static_cast<char>(rest & 0xFF));
    out.append(static_cast<char>(0x80 | bytes.size()));
    out.append(bytes);
    return out;
}

QByteArray Tlv(unsigned char tag, const QByteArray& content) {
    QByteArray out(1, static_cast<char>(tag));
    out.append(DerLength(content.size()));
    out.append(content);
    return out;
}

int AppendBytes(void* target, const char* bytes, int size) {
    static_cast<QByteArray*>(target)->append(bytes, size);
    return size;
}

// Written straight into the result: the document's text is held once, not
// in libxml2's buffer and in a copy of it beside the tree.
QByteArray WriteDocument(xmlDoc* doc) {
    QByteArray out;
    xmlSaveCtxt* save = xmlSaveToIO(AppendBytes, nullptr, &out, "UTF-8", 0);
    const bool written = save && xmlSaveDoc(save, doc) >= 0;
    if (!save || xmlSaveClose(save) < 0 || !written)
        throw TOrvError(
            QCoreApplication::translate("UXadesSignature", "Podpísaný dokument sa nedá zapísať"));
    return out;
}

template <class T, class F> QByteArray ToDer(T* object, F encode) {
    const int length = encode(object, nullptr);
    if (length <= 0)
        return {};
    QByteArray der(length, Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(der.data());
    encode(object, &out);
    return der;
}

xmlNode* Child(xmlNode* parent, const char* name, const char* ns, const QString& text = QString()) {
    xmlNode* node = xmlSecAddChild(parent, Xc(name), Xc(ns));
    if (!node)
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
    if (!text.isNull())
        xmlNodeAddContent(node, Xc(ToUtf8(text)));
    return node;
}

void SetAttribute(xmlNode* node, const char* name, const QString& value) {
    if (!xmlSetProp(node, Xc(name), Xc(ToUtf8(value))))
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
}

// Only the Ids of the signature's own parts are made known to xmlsec, never
// Ids found in the documents themselves.
void RegisterId(xmlDoc* doc, xmlNode* node) {
    xmlAttr* attribute = xmlHasProp(node, Xc("Id"));
    TXmlCharPtr value(xmlGetProp(node, Xc("Id")));
    if (!attribute || !value || !xmlAddID(nullptr, doc, value.get(), attribute))
        throw TOrvError(QCoreApplication::translate(
                            "UXadesSignature", "Identifikátor \"%1\" nie je v dokumente jedinečný")
                            .arg(FromXmlChar(value.get())));
}

bool IsNcName(const QString& name) {
    return !name.isEmpty() && xmlValidateNCName(Xc(ToUtf8(name)), 0) == 0;
}

xmlSecTransformId SignatureTransform(EVP_PKEY* key, const TDigestAlgorithm& digest) {
    const bool sha1 = digest.Name == u"sha1";
    switch (EVP_PKEY_get_base_id(key)) {
    case EVP_PKEY_RSA:
        return sha1 ? xmlSecTransformRsaSha1Id : xmlSecTransformRsaSha256Id;
    case EVP_PKEY_EC:
        return sha1 ? xmlSecTransformEcdsaSha1Id : xmlSecTransformEcdsaSha256Id;
    default:
        throw TOrvError(QCoreApplication::translate("UXadesSignature",
                                                    "Kľúčom tohto typu sa XML nedá podpísať"));
    }
}

xmlSecTransformId DigestTransform(const TDigestAlgorithm& digest) {
    return digest.Name == u"sha1" ? xmlSecTransformSha1Id : xmlSecTransformSha256Id;
}

TXmlSecKeyPtr XmlSecKey(EVP_PKEY* key) {
    EVP_PKEY_up_ref(key);
    xmlSecKeyDataPtr data = xmlSecOpenSSLEvpKeyAdopt(key);
    if (!data) {
        EVP_PKEY_free(key);
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Kľúč sa nedá použiť"));
    }
    TXmlSecKeyPtr result(xmlSecKeyCreate());
    if (!result || xmlSecKeySetValue(result.get(), data) < 0) {
        xmlSecKeyDataDestroy(data);
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Kľúč sa nedá použiť"));
    }
    return result;
}

void AddReference(xmlNode* signature, const TDigestAlgorithm& digest, const QString& id,
                  const QString& uri, const char* type) {
    xmlNode* reference = xmlSecTmplSignatureAddReference(
        signature, DigestTransform(digest), id.isEmpty() ? nullptr : Xc(ToUtf8(id)),
        Xc(ToUtf8(uri)), type ? Xc(type) : nullptr);
    if (!reference || !xmlSecTmplReferenceAddTransform(reference, xmlSecTransformExclC14NId))
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
}

void AddDigest(xmlNode* parent, const char* uri, const QByteArray& base64) {
    xmlNode* method = Child(parent, "DigestMethod", DsigNs);
    SetAttribute(method, "Algorithm", QString::fromLatin1(uri));
    Child(parent, "DigestValue", DsigNs, QString::fromLatin1(base64));
}

void AddQualifyingProperties(xmlNode* object, const std::vector<TComPtr<TXmlDataObject>>& objects,
                             const TXadesRequest& request, const TDigestAlgorithm& digest,
                             X509* certificate) {
    xmlNode* qualifying = xmlNewChild(object, nullptr, Xc("QualifyingProperties"), nullptr);
    xmlNs* xades = qualifying ? xmlNewNs(qualifying, Xc(XadesNs), Xc("xades")) : nullptr;
    if (!xades)
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
    xmlSetNs(qualifying, xades);
    SetAttribute(qualifying, "Target", u'#' + request.SignatureId);

    xmlNode* signedProperties = Child(qualifying, "SignedProperties", XadesNs);
    SetAttribute(signedProperties, "Id", request.SignatureId + QStringLiteral("_signedprops"));
    xmlNode* signatureProperties = Child(signedProperties, "SignedSignatureProperties", XadesNs);
    Child(signatureProperties, "SigningTime", XadesNs,
          request.SigningTime.toUTC().toString(Qt::ISODate));

    xmlNode* cert =
        Child(Child(signatureProperties, "SigningCertificateV2", XadesNs), "Cert", XadesNs);
    AddDigest(Child(cert, "CertDigest", XadesNs), digest.Uri,
              CertificateDigest(certificate, digest.Md()).toBase64());
    Child(cert, "IssuerSerialV2", XadesNs,
          QString::fromLatin1(IssuerSerialDer(certificate).toBase64()));

    const TSignaturePolicy& policy = request.Policy;
    xmlNode* policyId = Child(Child(signatureProperties, "SignaturePolicyIdentifier", XadesNs),
                              "SignaturePolicyId", XadesNs);
    xmlNode* identifier =
        Child(Child(policyId, "SigPolicyId", XadesNs), "Identifier", XadesNs, policy.Identifier);
    if (policy.Identifier.startsWith(QLatin1String("urn:oid:")))
        SetAttribute(identifier, "Qualifier", QStringLiteral("OIDAsURN"));
    AddDigest(Child(policyId, "SigPolicyHash", XadesNs), DigestByUri(policy.DigestAlgUri).Uri,
              policy.PolicyDigest.toLatin1());
    if (!policy.PolicyUri.isEmpty()) {
        xmlNode* qualifier =
            Child(Child(policyId, "SigPolicyQualifiers", XadesNs), "SigPolicyQualifier", XadesNs);
        Child(qualifier, "SPURI", XadesNs, policy.PolicyUri);
    }

    xmlNode* dataProperties = Child(signedProperties, "SignedDataObjectProperties", XadesNs);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const TXmlDataObject& data = *objects[i].Get();
        xmlNode* format = Child(dataProperties, "DataObjectFormat", XadesNs);
        SetAttribute(format, "ObjectReference",
                     QStringLiteral("#%1_ref%2").arg(request.SignatureId).arg(i));
        Child(format, "Description", XadesNs, data.Description);
        xmlNode* objectIdentifier = Child(format, "ObjectIdentifier", XadesNs);
        Child(objectIdentifier, "Identifier", XadesNs, data.NamespaceUri);
        xmlNode* references = Child(objectIdentifier, "DocumentationReferences", XadesNs);
        for (const QString& reference : {data.XsdReference, data.XslReference}) {
            if (!reference.isEmpty())
                Child(references, "DocumentationReference", XadesNs, reference);
        }
        Child(format, "MimeType", XadesNs, QStringLiteral("application/xml"));
    }
}

// The document's root element, taken out of its document.
TXmlNodePtr TakeRoot(xmlDoc* doc) {
    xmlNode* root = xmlDocGetRootElement(doc);
    if (!root)
        throw TOrvError(
            QCoreApplication::translate("UXadesSignature", "Dátový objekt nemá dokument"));
    xmlUnlinkNode(root);
    return TXmlNodePtr(root);
}

} // namespace

QByteArray CertificateDer(X509* certificate) {
    return ToDer(certificate, [](X509* c, unsigned char** out) { return i2d_X509(c, out); });
}

QByteArray CertificateDigest(X509* certificate, const EVP_MD* md) {
    unsigned char buffer[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!X509_digest(certificate, md, buffer, &length))
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Certifikát sa nedá čítať"));
    return QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(length));
}

QByteArray IssuerSerialDer(X509* certificate) {
    const QByteArray issuer =
        ToDer(X509_get_issuer_name(certificate),
              [](const X509_NAME* n, unsigned char** out) { return i2d_X509_NAME(n, out); });
    const QByteArray serial =
        ToDer(X509_get0_serialNumber(certificate),
              [](const ASN1_INTEGER* s, unsigned char** out) { return i2d_ASN1_INTEGER(s, out); });
    if (issuer.isEmpty() || serial.isEmpty())
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Certifikát sa nedá čítať"));
    // IssuerSerial ::= SEQUENCE { issuer GeneralNames, serialNumber INTEGER },
    // the issuer as the one directoryName [4] of the GeneralNames.
    return Tlv(0x30, Tlv(0x30, Tlv(0xA4, issuer)) + serial);
}

QByteArray SignXades(const std::vector<TComPtr<TXmlDataObject>>& objects,
                     const TXadesRequest& request, const TSigningKey& key) {
    EnsureXmlSec();
    if (objects.empty())
        throw TOrvError(QCoreApplication::translate("UXadesSignature",
                                                    "Nie je žiadny dátový objekt na podpísanie"));
    if (!IsNcName(request.SignatureId))
        throw TOrvError(QCoreApplication::translate("UXadesSignature",
                                                    "Identifikátor podpisu \"%1\" nie je platný")
                            .arg(request.SignatureId));
    std::set<QString> ids{request.SignatureId};
    for (const auto& object : objects) {
        if (!IsNcName(object->ObjectId) || !ids.insert(object->ObjectId).second)
            throw TOrvError(
                QCoreApplication::translate("UXadesSignature",
                                            "Identifikátor dátového objektu \"%1\" nie je platný")
                    .arg(object->ObjectId));
        if (!object->Document)
            throw TOrvError(QCoreApplication::translate("UXadesSignature",
                                                        "Dátový objekt \"%1\" už bol podpísaný")
                                .arg(object->ObjectId));
    }
    const TDigestAlgorithm digest = DigestByName(request.DigestAlgorithm);
    DigestByUri(request.Policy.DigestAlgUri);

    // The first document's own tree becomes the signed document, so the
    // largest thing in memory is not copied.
    TXmlDocPtr doc = std::move(objects.front()->Document);
    std::vector<TXmlNodePtr> roots;
    roots.push_back(TakeRoot(doc.get()));
    while (doc->children) {
        TXmlNodePtr outside(doc->children);
        xmlUnlinkNode(outside.get());
    }
    for (std::size_t i = 1; i < objects.size(); ++i) {
        TXmlDocPtr other = std::move(objects[i]->Document);
        roots.push_back(TakeRoot(other.get()));
        if (xmlDOMWrapAdoptNode(nullptr, other.get(), roots.back().get(), doc.get(), nullptr, 0) !=
            0)
            throw TOrvError(QCoreApplication::translate("UXadesSignature",
                                                        "Dátový objekt \"%1\" sa nedá podpísať")
                                .arg(objects[i]->ObjectId));
    }

    xmlNode* signature = xmlSecTmplSignatureCreateNsPref(doc.get(), xmlSecTransformExclC14NId,
                                                         SignatureTransform(key.Key.get(), digest),
                                                         Xc(ToUtf8(request.SignatureId)), Xc("ds"));
    if (!signature)
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
    xmlDocSetRootElement(doc.get(), signature);
    xmlSetProp(xmlSecFindChild(signature, xmlSecNodeSignatureValue, xmlSecDSigNs), Xc("Id"),
               Xc(ToUtf8(request.SignatureId + QStringLiteral("_sigvalue"))));

    for (std::size_t i = 0; i < objects.size(); ++i) {
        AddReference(signature, digest, QStringLiteral("%1_ref%2").arg(request.SignatureId).arg(i),
                     u'#' + objects[i]->ObjectId, nullptr);
    }
    AddReference(signature, digest, QString(),
                 QStringLiteral("#%1_signedprops").arg(request.SignatureId), SignedPropertiesType);

    for (std::size_t i = 0; i < objects.size(); ++i) {
        xmlNode* object = xmlSecTmplSignatureAddObject(signature, Xc(ToUtf8(objects[i]->ObjectId)),
                                                       nullptr, nullptr);
        if (!object)
            throw TOrvError(
                QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
        xmlAddChild(object, roots[i].release());
        RegisterId(doc.get(), object);
    }
    xmlNode* propertiesObject = xmlSecTmplSignatureAddObject(signature, nullptr, nullptr, nullptr);
    if (!propertiesObject)
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
    AddQualifyingProperties(propertiesObject, objects, request, digest, key.Certificate.get());
    RegisterId(doc.get(), xmlSecFindNode(propertiesObject, Xc("SignedProperties"), Xc(XadesNs)));

    TXmlSecDSigCtxPtr context(xmlSecDSigCtxCreate(nullptr));
    if (!context)
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
    context->enabledReferenceUris = xmlSecTransformUriTypeSameDocument;
    context->signKey = XmlSecKey(key.Key.get()).release();
    TakeXmlSecError();
    if (xmlSecDSigCtxSign(context.get(), signature) < 0)
        throw TOrvError(
            QCoreApplication::translate("UXadesSignature", "Dokument sa nedá podpísať: %1")
                .arg(TakeXmlSecError()));

    xmlNode* keyInfo = xmlSecTmplSignatureEnsureKeyInfo(signature, nullptr);
    if (!keyInfo)
        throw TOrvError(QCoreApplication::translate("UXadesSignature", "Podpis sa nedá zostaviť"));
    Child(Child(keyInfo, "X509Data", DsigNs), "X509Certificate", DsigNs,
          QString::fromLatin1(CertificateDer(key.Certificate.get()).toBase64()));

    return WriteDocument(doc.get());
}
