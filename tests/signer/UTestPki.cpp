#include "UTestPki.h"

#include "USigningKey.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace {

template <auto Free> struct TFree {
    template <class T> void operator()(T* p) const { Free(p); }
};
using TKey = std::unique_ptr<EVP_PKEY, TFree<EVP_PKEY_free>>;
using TCert = std::unique_ptr<X509, TFree<X509_free>>;

void Require(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(what);
}

TKey NewKey() {
    TKey key(EVP_RSA_gen(2048));
    Require(key != nullptr, "key");
    return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    Require(extension != nullptr, "extension");
    X509_add_ext(cert, extension, -1);
    X509_EXTENSION_free(extension);
}

TCert NewCertificate(const char* commonName, long serial, EVP_PKEY* key, X509* issuer,
                     EVP_PKEY* issuerKey, bool ca) {
    TCert cert(X509_new());
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 7L * 24 * 3600);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "C", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("SK"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>("ORV Test"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    AddExtension(cert.get(), signer, NID_basic_constraints, ca ? "critical,CA:TRUE" : "CA:FALSE");
    AddExtension(cert.get(), signer, NID_key_usage,
                 ca ? "critical,keyCertSign,cRLSign" : "critical,digitalSignature,nonRepudiation");
    AddExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    Require(X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()) > 0, "sign");
    return cert;
}

QByteArray Pem(X509* cert) {
    std::unique_ptr<BIO, TFree<BIO_free>> bio(BIO_new(BIO_s_mem()));
    PEM_write_bio_X509(bio.get(), cert);
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, static_cast<qsizetype>(length));
}

} // namespace

struct TTestPki::TData {
    TKey CaKey, SignerKey, OtherKey;
    TCert Ca, Signer, Other;
};

TTestPki::TTestPki()
    : Data(std::make_unique<TData>()) {
    EnsureLegacyAlgorithms();
    Data->CaKey = NewKey();
    Data->Ca = NewCertificate("ORV Test CA", 1, Data->CaKey.get(), nullptr, nullptr, true);
    Data->SignerKey = NewKey();
    Data->Signer = NewCertificate(SignerName, 4660, Data->SignerKey.get(), Data->Ca.get(),
                                  Data->CaKey.get(), false);
    Data->OtherKey = NewKey();
    Data->Other = NewCertificate("Other CA", 2, Data->OtherKey.get(), nullptr, nullptr, true);
}

TTestPki::~TTestPki() = default;

QByteArray TTestPki::CaPem() const {
    return Pem(Data->Ca.get());
}

QByteArray TTestPki::OtherCaPem() const {
    return Pem(Data->Other.get());
}

QByteArray TTestPki::Pkcs12(const QString& password, bool legacy) const {
    STACK_OF(X509)* chain = sk_X509_new_null();
    sk_X509_push(chain, Data->Ca.get());
    const QByteArray pass = password.toUtf8();
    PKCS12* p12 =
        legacy ? PKCS12_create(pass.constData(), "signer", Data->SignerKey.get(),
                               Data->Signer.get(), chain, NID_pbe_WithSHA1And3_Key_TripleDES_CBC,
                               NID_pbe_WithSHA1And40BitRC2_CBC, 2048, 1, 0)
               : PKCS12_create(pass.constData(), "signer", Data->SignerKey.get(),
                               Data->Signer.get(), chain, NID_aes_256_cbc, -1, 2048, 2048, 0);
    sk_X509_free(chain);
    Require(p12 != nullptr, "pkcs12");
    const int length = i2d_PKCS12(p12, nullptr);
    QByteArray der(length, Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(der.data());
    i2d_PKCS12(p12, &out);
    PKCS12_free(p12);
    return der;
}
