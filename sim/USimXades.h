#pragma once

// The portal's own reading of an enveloping XAdES-EPES signature. Written
// for the simulator alone, with xmlsec, OpenSSL and libxml2 directly, so a
// fault in the signer is not mirrored by the check that should catch it.

#include <libxml/tree.h>
#include <openssl/x509.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace Sim {

// What a valid signature states about itself.
struct TSimXades {
    std::string PolicyIdentifier;
    std::string PolicyDigest; // Base64, as written in the signature
    // The root elements of the signed documents, in reference order; they
    // live as long as the document.
    std::vector<xmlNode*> Documents;
};

// Why a signature is not valid, in words that end the portal's sentence.
class TSimXadesRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starts xmlsec with OpenSSL once per process, unless another part of the
// process already has; throws std::runtime_error when it cannot start.
void StartXmlSec();

// The first ds:Signature element in document order, or null.
xmlNode* FindSignature(xmlDoc* doc);

// Checks `signature`, a ds:Signature of `doc` (parsed without DTDs), made
// with the key of `signer`, whose trust the caller has established: every
// reference points into the signature's own objects and is canonicalised
// exclusively, the signature value and digests match, and the signed
// properties name that certificate, a policy and every signed document.
// Registers the Ids of the signature's objects in `doc`. Throws
// TSimXadesRefused.
TSimXades VerifyXades(xmlDoc* doc, xmlNode* signature, X509* signer);

} // namespace Sim
