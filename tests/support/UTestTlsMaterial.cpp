#include "UTestTlsMaterial.h"

#include <QFile>
#include <QTemporaryDir>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>
#include <mutex>
#include <stdexcept>

namespace TestTls {
namespace {

struct TKeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct TCertFree {
    void operator()(X509* cert) const { X509_free(cert); }
};
struct TBioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using TKey = std::unique_ptr<EVP_PKEY, TKeyFree>;
using TCert = std::unique_ptr<X509, TCertFree>;

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("test TLS material: ") + what);
}

TKey NewKey() {
    TKey key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key generation");
    return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    Check(ext != nullptr, "certificate extension");
    const int added = X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
    Check(added == 1, "adding certificate extension");
}

// Issues a certificate for key; a null issuer makes it self-signed.
TCert Issue(EVP_PKEY* key, const char* commonName, long serial, X509* issuer, EVP_PKEY* issuerKey,
            bool ca, const char* altNames) {
    TCert cert(X509_new());
    Check(cert != nullptr, "certificate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -24 * 3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 7 * 24 * 3600);
    X509_set_pubkey(cert.get(), key);

    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("ORV Duriza tests"), -1, -1,
                               0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));

    if (ca) {
        AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(cert.get(), signer, NID_key_usage, "critical,digitalSignature");
        AddExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
        AddExtension(cert.get(), signer, NID_subject_alt_name, altNames);
    }
    AddExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    AddExtension(cert.get(), signer, NID_authority_key_identifier, "keyid:always");

    Check(X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()) > 0, "signing");
    return cert;
}

struct TMaterial {
    TKey CaKey;
    TCert Ca;
    TKey ServerKey;
    TCert Server;
    TCert WrongName;
    std::unique_ptr<QTemporaryDir> Dir;
    QString CaPath;
};

const TMaterial& Material() {
    static TMaterial material;
    static std::once_flag once;
    std::call_once(once, [] {
        material.CaKey = NewKey();
        material.Ca =
            Issue(material.CaKey.get(), "ORV Duriza test CA", 1, nullptr, nullptr, true, nullptr);
        material.ServerKey = NewKey();
        material.Server = Issue(material.ServerKey.get(), "127.0.0.1", 2, material.Ca.get(),
                                material.CaKey.get(), false, "IP:127.0.0.1,DNS:localhost");
        material.WrongName =
            Issue(material.ServerKey.get(), "elsewhere.example", 3, material.Ca.get(),
                  material.CaKey.get(), false, "DNS:elsewhere.example");

        std::unique_ptr<BIO, TBioFree> bio(BIO_new(BIO_s_mem()));
        Check(bio && PEM_write_bio_X509(bio.get(), material.Ca.get()) == 1, "CA PEM");
        QByteArray pem(qsizetype(BIO_ctrl_pending(bio.get())), '\0');
        Check(BIO_read(bio.get(), pem.data(), int(pem.size())) == int(pem.size()), "CA PEM");

        material.Dir = std::make_unique<QTemporaryDir>();
        Check(material.Dir->isValid(), "temporary folder");
        material.CaPath = material.Dir->filePath(QStringLiteral("test-ca.pem"));
        QFile file(material.CaPath);
        Check(file.open(QIODevice::WriteOnly) && file.write(pem) == pem.size(), "CA file");
    });
    return material;
}

} // namespace

QString CaFile() {
    return Material().CaPath;
}

TSslCtx NewServerContext(bool wrongName) {
    const TMaterial& material = Material();
    TSslCtx ctx(SSL_CTX_new(TLS_server_method()));
    Check(ctx != nullptr, "server context");
    X509* cert = wrongName ? material.WrongName.get() : material.Server.get();
    Check(SSL_CTX_use_certificate(ctx.get(), cert) == 1 &&
              SSL_CTX_use_PrivateKey(ctx.get(), material.ServerKey.get()) == 1,
          "server certificate");
    return ctx;
}

} // namespace TestTls
