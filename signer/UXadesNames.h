#pragma once

// Namespaces and algorithm identifiers of the XAdES signatures we make and
// check.

#include <QString>

#include <openssl/evp.h>

inline constexpr char DsigNs[] = "http://www.w3.org/2000/09/xmldsig#";
inline constexpr char XadesNs[] = "http://uri.etsi.org/01903/v1.3.2#";
inline constexpr char SignedPropertiesType[] = "http://uri.etsi.org/01903#SignedProperties";
inline constexpr char ExcC14nUri[] = "http://www.w3.org/2001/10/xml-exc-c14n#";

// One digest algorithm, by the short name the client passes ("sha1",
// "sha256") and by its URI.
struct TDigestAlgorithm {
    QString Name;
    const char* Uri = nullptr;
    const EVP_MD* (*Md)() = nullptr;
};

// Raises TOrvError for a name or URI we do not sign with.
TDigestAlgorithm DigestByName(const QString& name);
TDigestAlgorithm DigestByUri(const QString& uri);
