// Our encoders against OpenSSL's, on inputs far larger than the client sees.
// Prints the best of several runs of each and the ratio ours / OpenSSL.

#include "UBase64.h"
#include "USha256.h"

#include <QByteArray>
#include <QString>

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int Runs = 7;

// Best wall time of `Runs` calls, in milliseconds.
double BestMs(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < Runs; ++i) {
        const auto start = TClock::now();
        run();
        const std::chrono::duration<double, std::milli> elapsed = TClock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

QByteArray Pattern(qsizetype length) {
    QByteArray bytes(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i * 131 + (i >> 9));
    return bytes;
}

void Report(const char* what, double ours, double openSsl) {
    std::printf("%-28s ours %8.3f ms   OpenSSL %8.3f ms   ratio %5.2f\n", what, ours, openSsl,
                ours / openSsl);
}

} // namespace

int main() {
    volatile unsigned sink = 0;

    const QByteArray tenMb = Pattern(10 * 1000 * 1000);
    const double base64Ours = BestMs([&] {
        const QString text = Base64Encode(tenMb);
        sink = sink + text.at(text.size() / 2).unicode();
    });
    const double base64OpenSsl = BestMs([&] {
        QByteArray text(4 * ((tenMb.size() + 2) / 3) + 1, Qt::Uninitialized);
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                        reinterpret_cast<const unsigned char*>(tenMb.constData()),
                        static_cast<int>(tenMb.size()));
        sink = sink + static_cast<unsigned char>(text.at(text.size() / 2));
    });
    Report("Base64Encode 10 MB", base64Ours, base64OpenSsl);

    const QByteArray oneMb = Pattern(1000 * 1000);
    const double shaOurs = BestMs([&] {
        QByteArray digest;
        Sha256Digest(oneMb, digest);
        sink = sink + static_cast<unsigned char>(digest.at(0));
    });
    const double shaOpenSsl = BestMs([&] {
        unsigned char digest[SHA256_DIGEST_LENGTH];
        SHA256(reinterpret_cast<const unsigned char*>(oneMb.constData()),
               static_cast<size_t>(oneMb.size()), digest);
        sink = sink + digest[0];
    });
    Report("Sha256Digest 1 MB", shaOurs, shaOpenSsl);

    return sink == 0xFFFFFFFFu ? 1 : 0;
}
