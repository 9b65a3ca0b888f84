#include "USimCrypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <array>
#include <stdexcept>

namespace Sim {

namespace {

std::string EncodeBase64(const unsigned char* data, std::size_t size) {
    std::string out(4 * ((size + 2) / 3), '\0');
    const int n =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data, static_cast<int>(size));
    out.resize(static_cast<std::size_t>(n));
    return out;
}

bool IsBase64Char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/';
}

std::string GuidText(const std::array<unsigned char, 16>& b) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(36);
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out += '-';
        out += hex[b[i] >> 4];
        out += hex[b[i] & 0x0f];
    }
    return out;
}

std::array<unsigned char, 16> AsVersion4(std::array<unsigned char, 16> b) {
    b[6] = static_cast<unsigned char>((b[6] & 0x0f) | 0x40);
    b[8] = static_cast<unsigned char>((b[8] & 0x3f) | 0x80);
    return b;
}

} // namespace

std::string HesloDigest(std::string_view password) {
    std::array<unsigned char, SHA256_DIGEST_LENGTH> digest{};
    SHA256(reinterpret_cast<const unsigned char*>(password.data()), password.size(), digest.data());
    return EncodeBase64(digest.data(), digest.size());
}

std::string LenientBase64(std::string_view text) {
    static constexpr std::string_view Alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        if (c == '=')
            break;
        const auto value = Alphabet.find(c);
        if (value == std::string_view::npos)
            continue;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    for (const char c : text) {
        if (c == '\r' || c == '\n')
            continue;
        clean += c;
    }
    if (clean.size() % 4 != 0)
        return std::nullopt;
    std::size_t padding = 0;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const char c = clean[i];
        if (c == '=') {
            // Padding only in the last two places of the last group.
            if (i + 2 < clean.size())
                return std::nullopt;
            ++padding;
        } else if (!IsBase64Char(c) || padding > 0) {
            return std::nullopt;
        }
    }
    if (clean.empty())
        return std::string();
    std::string out(clean.size() / 4 * 3, '\0');
    const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(clean.data()),
                                  static_cast<int>(clean.size()));
    if (n < 0)
        return std::nullopt;
    out.resize(static_cast<std::size_t>(n) - padding);
    return out;
}

bool EqualDigests(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

std::string RandomGuid() {
    std::array<unsigned char, 16> b{};
    if (RAND_bytes(b.data(), static_cast<int>(b.size())) != 1)
        throw std::runtime_error("The system's random source failed.");
    return GuidText(AsVersion4(b));
}

std::string GuidFrom(std::mt19937_64& engine) {
    std::array<unsigned char, 16> b{};
    for (std::size_t i = 0; i < b.size(); i += 8) {
        const std::uint64_t v = engine();
        for (std::size_t k = 0; k < 8; ++k)
            b[i + k] = static_cast<unsigned char>(v >> (8 * k));
    }
    return GuidText(AsVersion4(b));
}

} // namespace Sim
