#pragma once

// An enveloping XAdES-EPES signature: the documents in ds:Object elements of
// the signature itself, exclusive canonicalisation throughout, the signing
// time, the signing certificate, the signature policy and each document's
// format as signed properties, the certificate in KeyInfo.

#include "UComPtr.h"
#include "USignerEnvironment.h"
#include "USigningKey.h"
#include "UXmlDataObject.h"

#include <QByteArray>
#include <QDateTime>

#include <vector>

struct TXadesRequest {
    QString SignatureId;
    QString DigestAlgorithm; // "sha1" or "sha256"
    TSignaturePolicy Policy;
    QDateTime SigningTime;
};

// The signed document, UTF-8. The documents are taken from the data objects
// and become part of it. Raises TOrvError with the reason.
QByteArray SignXades(const std::vector<TComPtr<TXmlDataObject>>& objects,
                     const TXadesRequest& request, const TSigningKey& key);

// DER of the certificate's issuer and serial number (RFC 5035 IssuerSerial),
// as IssuerSerialV2 carries it.
QByteArray IssuerSerialDer(X509* certificate);
QByteArray CertificateDer(X509* certificate);
QByteArray CertificateDigest(X509* certificate, const EVP_MD* md);
