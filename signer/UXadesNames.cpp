#include "UXadesNames.h"

#include "UOrvError.h"

#include <QCoreApplication>

#include <openssl/evp.h>

namespace {

TDigestAlgorithm Sha1() {
    return {QStringLiteral("sha1"), "http://www.w3.org/2000/09/xmldsig#sha1", &EVP_sha1};
}

TDigestAlgorithm Sha256() {
    return {QStringLiteral("sha256"), "http://www.w3.org/2001/04/xmlenc#sha256", &EVP_sha256};
}

} // namespace

TDigestAlgorithm DigestByName(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == u"sha1")
        return Sha1();
    if (key == u"sha256")
        return Sha256();
    throw TOrvError(
        QCoreApplication::translate("UXadesNames", "Algoritmus odtlačku \"%1\" nie je podporovaný")
            .arg(name));
}

TDigestAlgorithm DigestByUri(const QString& uri) {
    for (const TDigestAlgorithm& digest : {Sha1(), Sha256()}) {
        if (uri == QLatin1String(digest.Uri))
            return digest;
    }
    throw TOrvError(
        QCoreApplication::translate("UXadesNames", "Metóda odtlačku \"%1\" nie je podporovaná")
            .arg(uri));
}
