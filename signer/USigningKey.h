#pragma once

// The signing key and certificate, from a PKCS#12 file.

#include "UXmlPtr.h"

#include <QByteArray>
#include <QString>

struct TSigningKey {
    TEvpPkeyPtr Key;
    TX509Ptr Certificate;
};

// Makes OpenSSL's legacy algorithms available, so PKCS#12 files protected
// the old way (RC2, 3DES) open as well. Once per process.
void EnsureLegacyAlgorithms();

// The certificate of a PKCS#12 file that can be read without its password,
// or null.
TX509Ptr PublicCertificate(const QByteArray& pkcs12);

// Raises TOrvError when the file cannot be unlocked or holds no key.
TSigningKey UnlockPkcs12(const QByteArray& pkcs12, const QString& password);

// "CN=..., O=..., C=SK"
QString SubjectText(X509* certificate);
