#pragma once

// A certificate authority and a signing certificate made at test time, and
// the PKCS#12 files the signer reads.

#include <QByteArray>
#include <QString>

#include <memory>

struct TTestPki {
    TTestPki();
    ~TTestPki();
    TTestPki(const TTestPki&) = delete;
    TTestPki& operator=(const TTestPki&) = delete;

    QByteArray CaPem() const;
    QByteArray OtherCaPem() const; // a CA that signed nothing of ours
    // The signing key with its certificate and the CA's; `legacy` protects
    // it the old way (3DES key, RC2 certificates), otherwise AES with the
    // certificates readable without the password.
    QByteArray Pkcs12(const QString& password, bool legacy) const;

    static constexpr char SignerName[] = "Jana Testovacia";

private:
    struct TData;
    std::unique_ptr<TData> Data;
};
