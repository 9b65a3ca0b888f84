#include "USignedContent.h"

#include "UXadesVerifier.h"
#include "UXmlSafe.h"

TSignedContent VerifySignedContent(const QString& content, const QByteArray& trustedPem) {
    const TXmlDocPtr doc = ParseXmlSafely(content, QStringLiteral("podanie"));
    const TXadesVerified verified = VerifyXades(doc.get(), FindSignature(doc.get()), trustedPem);
    return {verified.SignatureId, verified.DigestAlgorithm, verified.PolicyIdentifier};
}
