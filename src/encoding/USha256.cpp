#include "USha256.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

using TWord = std::uint32_t;

constexpr std::array<TWord, 8> InitialHash = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::array<TWord, 64> K = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::size_t BlockSize = 64;
constexpr std::size_t LengthFieldOffset = BlockSize - 8;

constexpr TWord RotR(TWord x, unsigned n) {
    return (x >> n) | (x << (32 - n));
}
constexpr TWord Ch(TWord x, TWord y, TWord z) {
    return (x & y) | (z & ~x);
}
constexpr TWord Maj(TWord x, TWord y, TWord z) {
    return (x & y) ^ (x & z) ^ (y & z);
}
constexpr TWord BigSigma0(TWord x) {
    return RotR(x, 2) ^ RotR(x, 13) ^ RotR(x, 22);
}
constexpr TWord BigSigma1(TWord x) {
    return RotR(x, 6) ^ RotR(x, 11) ^ RotR(x, 25);
}
constexpr TWord SmallSigma0(TWord x) {
    return RotR(x, 7) ^ RotR(x, 18) ^ (x >> 3);
}
constexpr TWord SmallSigma1(TWord x) {
    return RotR(x, 17) ^ RotR(x, 19) ^ (x >> 10);
}

TWord ReadBigEndian(const unsigned char* p) {
    return (TWord{p[0]} << 24) | (TWord{p[1]} << 16) | (TWord{p[2]} << 8) | TWord{p[3]};
}

void WriteBigEndian(TWord value, unsigned char* p) {
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

void CompressBlock(std::array<TWord, 8>& h, const std::array<unsigned char, BlockSize>& block) {
    std::array<TWord, 64> w;
    for (std::size_t t = 0; t < 16; ++t)
        w[t] = ReadBigEndian(block.data() + 4 * t);
    for (std::size_t t = 16; t < 64; ++t)
        w[t] = SmallSigma1(w[t - 2]) + w[t - 7] + SmallSigma0(w[t - 15]) + w[t - 16];

    TWord a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
    for (std::size_t t = 0; t < 64; ++t) {
        const TWord t1 = hh + BigSigma1(e) + Ch(e, f, g) + K[t] + w[t];
        const TWord t2 = BigSigma0(a) + Maj(a, b, c);
        hh = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
    h[5] += f;
    h[6] += g;
    h[7] += hh;
}

} // namespace

void Sha256Digest(const QByteArray& input, QByteArray& output) {
    const auto* data = reinterpret_cast<const unsigned char*>(input.constData());
    const auto n = static_cast<std::uint64_t>(input.size());
    // Fewest blocks holding the message, the 0x80 byte and the 8-byte length.
    const std::uint64_t blockCount = (n + 72) / BlockSize;

    std::array<TWord, 8> h = InitialHash;
    std::array<unsigned char, BlockSize> block;
    for (std::uint64_t j = 0; j < blockCount; ++j) {
        const std::uint64_t start = j * BlockSize;
        const std::uint64_t available = start < n ? n - start : 0;
        const std::size_t taken =
            available < BlockSize ? static_cast<std::size_t>(available) : BlockSize;
        if (taken > 0)
            std::memcpy(block.data(), data + start, taken);
        if (taken < BlockSize) {
            std::memset(block.data() + taken, 0, BlockSize - taken);
            if (start + taken == n)
                block[taken] = 0x80;
        }
        if (j == blockCount - 1) {
            // The full 64-bit bit count, so messages of 512 MiB and more hash correctly too.
            const std::uint64_t bitCount = n * 8;
            WriteBigEndian(static_cast<TWord>(bitCount >> 32), block.data() + LengthFieldOffset);
            WriteBigEndian(static_cast<TWord>(bitCount), block.data() + LengthFieldOffset + 4);
        }
        CompressBlock(h, block);
    }

    output.resize(32);
    auto* out = reinterpret_cast<unsigned char*>(output.data());
    for (std::size_t i = 0; i < h.size(); ++i)
        WriteBigEndian(h[i], out + 4 * i);
}
