#include "USigningKey.h"

#include "UOrvError.h"

#include <QCoreApplication>

#include <openssl/err.h>
#include <openssl/provider.h>

#include <climits>

namespace {

using TPkcs7StackPtr = std::unique_ptr<STACK_OF(PKCS7), decltype([](STACK_OF(PKCS7) * stack) {
                                           sk_PKCS7_pop_free(stack, PKCS7_free);
                                       })>;
using TSafeBagStackPtr =
    std::unique_ptr<STACK_OF(PKCS12_SAFEBAG), decltype([](STACK_OF(PKCS12_SAFEBAG) * stack) {
                        sk_PKCS12_SAFEBAG_pop_free(stack, PKCS12_SAFEBAG_free);
                    })>;
using TX509StackPtr =
    std::unique_ptr<STACK_OF(X509),
                    decltype([](STACK_OF(X509) * stack) { sk_X509_pop_free(stack, X509_free); })>;

TPkcs12Ptr ReadPkcs12(const QByteArray& bytes) {
    if (bytes.size() > INT_MAX)
        return {};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    return TPkcs12Ptr(d2i_PKCS12(nullptr, &data, static_cast<long>(bytes.size())));
}

} // namespace

void EnsureLegacyAlgorithms() {
    // Loading one provider by hand stops the default one from loading by
    // itself, so both are loaded. They are unloaded at exit, before OpenSSL's
    // own clean-up, which would leave the legacy provider's context behind.
    struct TProviders {
        TProviders()
            : Default(OSSL_PROVIDER_load(nullptr, "default"))
            , Legacy(OSSL_PROVIDER_load(nullptr, "legacy")) {
            ERR_clear_error();
        }
        ~TProviders() {
            if (Legacy)
                OSSL_PROVIDER_unload(Legacy);
            if (Default)
                OSSL_PROVIDER_unload(Default);
        }
        OSSL_PROVIDER* Default;
        OSSL_PROVIDER* Legacy;
    };
    static TProviders providers;
}

TX509Ptr PublicCertificate(const QByteArray& pkcs12) {
    TPkcs12Ptr p12 = ReadPkcs12(pkcs12);
    if (!p12)
        return {};
    TPkcs7StackPtr safes(PKCS12_unpack_authsafes(p12.get()));
    if (!safes)
        return {};
    TX509Ptr any;
    for (int i = 0; i < sk_PKCS7_num(safes.get()); ++i) {
        PKCS7* safe = sk_PKCS7_value(safes.get(), i);
        if (OBJ_obj2nid(safe->type) != NID_pkcs7_data)
            continue; // encrypted: needs the password
        TSafeBagStackPtr bags(PKCS12_unpack_p7data(safe));
        if (!bags)
            continue;
        for (int j = 0; j < sk_PKCS12_SAFEBAG_num(bags.get()); ++j) {
            const PKCS12_SAFEBAG* bag = sk_PKCS12_SAFEBAG_value(bags.get(), j);
            if (PKCS12_SAFEBAG_get_nid(bag) != NID_certBag)
                continue;
            TX509Ptr certificate(PKCS12_SAFEBAG_get1_cert(bag));
            if (!certificate)
                continue;
            // The key's own certificate carries the key's local identifier.
            if (PKCS12_SAFEBAG_get0_attr(bag, NID_localKeyID)) {
                ERR_clear_error();
                return certificate;
            }
            if (!any)
                any = std::move(certificate);
        }
    }
    ERR_clear_error();
    return any;
}

TSigningKey UnlockPkcs12(const QByteArray& pkcs12, const QString& password) {
    EnsureLegacyAlgorithms();
    TPkcs12Ptr p12 = ReadPkcs12(pkcs12);
    if (!p12) {
        ERR_clear_error();
        throw TOrvError(
            QCoreApplication::translate("USigningKey", "Súbor kľúča nie je súbor PKCS#12"));
    }
    const QByteArray pass = password.toUtf8();
    if (!PKCS12_verify_mac(p12.get(), pass.constData(), static_cast<int>(pass.size()))) {
        ERR_clear_error();
        throw TOrvError(
            QCoreApplication::translate("USigningKey", "Heslo k súboru kľúča nie je správne"));
    }
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
    STACK_OF(X509)* chain = nullptr;
    const int parsed = PKCS12_parse(p12.get(), pass.constData(), &key, &certificate, &chain);
    TSigningKey result{TEvpPkeyPtr(key), TX509Ptr(certificate)};
    TX509StackPtr chainOwner(chain);
    ERR_clear_error();
    if (!parsed)
        throw TOrvError(QCoreApplication::translate("USigningKey", "Súbor kľúča sa nedá otvoriť"));
    if (!result.Key || !result.Certificate)
        throw TOrvError(QCoreApplication::translate(
            "USigningKey", "Súbor kľúča neobsahuje kľúč s jeho certifikátom"));
    return result;
}

QString SubjectText(X509* certificate) {
    if (!certificate)
        return {};
    TBioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio)
        return {};
    X509_NAME_print_ex(bio.get(), X509_get_subject_name(certificate), 0,
                       XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return QString::fromUtf8(data, static_cast<qsizetype>(length));
}
