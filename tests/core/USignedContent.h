#pragma once

// Checks the signature inside a fetched submission. Apart from the test
// itself, because the portal's and the signer's XML helpers share names.

#include <QByteArray>
#include <QString>

struct TSignedContent {
    QString SignatureId;
    QString DigestAlgorithm;
    QString PolicyIdentifier;
};

// Raises TOrvError when the content holds no signature that verifies with
// a certificate issued by trustedPem.
TSignedContent VerifySignedContent(const QString& content, const QByteArray& trustedPem);
