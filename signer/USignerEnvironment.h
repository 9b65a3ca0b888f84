#pragma once

// What the stand-in signer needs from the machine it runs on: its settings,
// a way to ask the person signing, and the time.
//
// The signer installation keeps its policies under the machine hive, one
// subkey per policy, named by the policy identifier:
//   HKEY_LOCAL_MACHINE\SOFTWARE\Nomir\DSigXades\SignaturePolicies\<identifier>
//     DigestAlgUri   the policy's digest method URI, e.g.
//                    "http://www.w3.org/2001/04/xmlenc#sha256"
//     PolicyDigest   Base64 of the policy document's digest made with it
//     PolicyUri      where the policy document is published (optional)
// and the key file per user:
//   HKEY_CURRENT_USER\SOFTWARE\Nomir\DSigXades
//     Pkcs12File     path of the PKCS#12 file holding the key and certificate

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

struct TSignaturePolicy {
    QString Identifier;
    QString DigestAlgUri;
    QString PolicyDigest;
    QString PolicyUri;
};

struct TSignerSettings {
    QString Pkcs12File;
    std::vector<TSignaturePolicy> Policies;
};

// What the person is shown before the key is unlocked.
struct TSigningConsent {
    QString Description;        // of the data object
    QString Rendering;          // the document's text rendering
    QString CertificateSubject; // empty when the key file does not show it unlocked
    QString KeyFile;
};

class ISignerEnvironment {
public:
    virtual ~ISignerEnvironment() = default;

    virtual TSignerSettings Settings() = 0;
    // The key's password, or nothing when the person declines to sign.
    virtual std::optional<QString> AskPassword(const TSigningConsent& consent) = 0;
    virtual QDateTime Now() { return QDateTime::currentDateTimeUtc(); }
};
