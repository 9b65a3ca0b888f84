#pragma once

// Ownership of libxslt, xmlsec and OpenSSL objects by unique_ptr, beside
// the libxml2 owners.

#include "UXmlOwners.h"

#include <libxml/xmlschemas.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <openssl/evp.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <xmlsec/keys.h>
#include <xmlsec/xmldsig.h>

#include <memory>

using TSchemaParserCtxtPtr =
    std::unique_ptr<xmlSchemaParserCtxt, TFreeWith<xmlSchemaFreeParserCtxt>>;
using TSchemaPtr = std::unique_ptr<xmlSchema, TFreeWith<xmlSchemaFree>>;
using TSchemaValidCtxtPtr = std::unique_ptr<xmlSchemaValidCtxt, TFreeWith<xmlSchemaFreeValidCtxt>>;
using TXsltStylesheetPtr = std::unique_ptr<xsltStylesheet, TFreeWith<xsltFreeStylesheet>>;
using TXsltTransformCtxtPtr =
    std::unique_ptr<xsltTransformContext, TFreeWith<xsltFreeTransformContext>>;
using TXsltSecurityPrefsPtr = std::unique_ptr<xsltSecurityPrefs, TFreeWith<xsltFreeSecurityPrefs>>;
using TXmlSecKeyPtr = std::unique_ptr<xmlSecKey, TFreeWith<xmlSecKeyDestroy>>;
using TXmlSecKeysMngrPtr = std::unique_ptr<xmlSecKeysMngr, TFreeWith<xmlSecKeysMngrDestroy>>;
using TXmlSecDSigCtxPtr = std::unique_ptr<xmlSecDSigCtx, TFreeWith<xmlSecDSigCtxDestroy>>;

using TEvpPkeyPtr = std::unique_ptr<EVP_PKEY, TFreeWith<EVP_PKEY_free>>;
using TX509Ptr = std::unique_ptr<X509, TFreeWith<X509_free>>;
using TPkcs12Ptr = std::unique_ptr<PKCS12, TFreeWith<PKCS12_free>>;
using TBioPtr = std::unique_ptr<BIO, TFreeWith<BIO_free>>;
