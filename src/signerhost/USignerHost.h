#pragma once

#include "USignaturePolicy.h"

#include <QString>

#include <memory>
#include <optional>

// What the person signing is shown before the key is unlocked.
struct TSignerPrompt {
    QString Description;        // of the document being signed
    QString Rendering;          // the document's text rendering
    QString CertificateSubject; // empty when the key file does not show it
    QString KeyFile;
};

// Asks for the signing key's password: a dialog in the desktop application,
// a terminal prompt in the command line, a scripted answer in tests.
class ISignerPasswordPrompt {
public:
    virtual ~ISignerPasswordPrompt() = default;
    // The password, or nothing when the person declines to sign.
    virtual std::optional<QString> AskPassword(const TSignerPrompt& prompt) = 0;
};

// Makes the signer components available for its own lifetime. Where the
// vendor's components are installed (Windows) it does nothing; elsewhere it
// registers the stand-in components, which read their settings from the
// registry when they sign:
//   HKEY_LOCAL_MACHINE\SOFTWARE\Nomir\DSigXades\SignaturePolicies\<policy>
//     DigestAlgUri, PolicyDigest, PolicyUri
//   HKEY_CURRENT_USER\SOFTWARE\Nomir\DSigXades
//     Pkcs12File   the PKCS#12 file with the signing key and certificate
// One host at a time; the program makes it at start-up.
class TSignerHost {
public:
    explicit TSignerHost(std::shared_ptr<ISignerPasswordPrompt> prompt);
    ~TSignerHost();
    TSignerHost(const TSignerHost&) = delete;
    TSignerHost& operator=(const TSignerHost&) = delete;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};
