#pragma once

// SHA-256 and Base64 by the platform's own cryptography (OpenSSL on Linux,
// CNG and CryptoAPI on Windows): an implementation independent of ours, for
// tests to compare against. Link orv_referencedigest.

#include <QByteArray>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first: the CNG and CryptoAPI headers need its types.
#include <bcrypt.h>
#include <wincrypt.h>
#else
#include <openssl/evp.h>
#endif

#include <cstdlib>

namespace ReferenceDigest {

// The 32 bytes of the SHA-256 digest of bytes.
inline QByteArray Sha256(const QByteArray& bytes) {
    QByteArray digest(32, '\0');
#ifdef Q_OS_WIN
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    const bool ok =
        BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) >= 0 &&
        BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) >= 0 &&
        BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.constData())),
                       ULONG(bytes.size()), 0) >= 0 &&
        BCryptFinishHash(hash, reinterpret_cast<PUCHAR>(digest.data()), ULONG(digest.size()), 0) >=
            0;
    if (hash)
        BCryptDestroyHash(hash);
    if (algorithm)
        BCryptCloseAlgorithmProvider(algorithm, 0);
#else
    unsigned int length = 0;
    const bool ok = EVP_Digest(bytes.constData(), std::size_t(bytes.size()),
                               reinterpret_cast<unsigned char*>(digest.data()), &length,
                               EVP_sha256(), nullptr) == 1 &&
                    length == 32;
#endif
    // A reference that does not work makes every comparison meaningless.
    if (!ok)
        std::abort();
    return digest;
}

// The Base64 text of bytes in one block: no line breaks, "=" padding.
inline QByteArray Base64(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
#ifdef Q_OS_WIN
    const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    const auto* data = reinterpret_cast<const BYTE*>(bytes.constData());
    DWORD size = 0;
    if (!CryptBinaryToStringA(data, DWORD(bytes.size()), flags, nullptr, &size))
        std::abort();
    QByteArray text(qsizetype(size), '\0');
    if (!CryptBinaryToStringA(data, DWORD(bytes.size()), flags, text.data(), &size))
        std::abort();
    text.truncate(qsizetype(size)); // without the terminating NUL
#else
    QByteArray text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.constData()),
                                        int(bytes.size()));
    text.truncate(written);
#endif
    return text;
}

} // namespace ReferenceDigest
