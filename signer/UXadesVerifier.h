#pragma once

// Checks an enveloping XAdES-EPES signature as the stand-in signer makes
// them: every reference points into the signature's own objects and is
// canonicalised exclusively, the signature verifies with a certificate that
// chains to a trusted one, and the signed properties match that certificate
// and an accepted policy.

#include "USignerEnvironment.h"
#include "UXmlPtr.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct TXadesVerified {
    QString SignatureId;
    QString SigningTime;
    QString SignerSubject;
    QString DigestAlgorithm; // of the references: "sha1" or "sha256"
    QString PolicyIdentifier;
    QString PolicyDigestAlgUri;
    QString PolicyDigest;
    std::vector<QString> Descriptions;
    // The root elements of the signed documents, in reference order; they
    // live as long as the document.
    std::vector<xmlNode*> Documents;
};

// `signature` is a ds:Signature element of `doc`, which was parsed without
// DTDs. Only the Ids of the signature's own parts are registered. With
// `acceptedPolicies` empty any policy is taken; otherwise the identifier
// must be one of them and its hash must match. Raises TOrvError with the
// reason for refusal.
TXadesVerified VerifyXades(xmlDoc* doc, xmlNode* signature, const QByteArray& trustedPem,
                           const std::vector<TSignaturePolicy>& acceptedPolicies = {});

// The first ds:Signature element in the document, or null.
xmlNode* FindSignature(xmlDoc* doc);
