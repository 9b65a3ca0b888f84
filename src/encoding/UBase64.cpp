#include "UBase64.h"

#include "UOrvError.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

constexpr char16_t Alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr qsizetype GroupsPerLine = 19; // 76 characters
constexpr char16_t Pad = u'=';

// Two output characters per table entry: one lookup per 12 bits of input.
struct TPairTable {
    std::array<char16_t, 2 * 4096> Pairs{};
    constexpr TPairTable() {
        for (std::size_t i = 0; i < 4096; ++i) {
            Pairs[2 * i] = Alphabet[i >> 6];
            Pairs[2 * i + 1] = Alphabet[i & 0x3F];
        }
    }
};
constexpr TPairTable PairTable;

inline char16_t* PutGroup(char16_t* out, const unsigned char* in) {
    const std::uint32_t bits =
        (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | std::uint32_t{in[2]};
    const char16_t* hi = &PairTable.Pairs[2 * (bits >> 12)];
    const char16_t* lo = &PairTable.Pairs[2 * (bits & 0xFFF)];
    out[0] = hi[0];
    out[1] = hi[1];
    out[2] = lo[0];
    out[3] = lo[1];
    return out + 4;
}

} // namespace

QChar GetBase64Character(int value) {
    if (value < 0 || value > 63)
        throw TOrvError(QStringLiteral("GetBase64Character: Invalid input."));
    return QChar(Alphabet[value]);
}

QString Base64Encode(const QByteArray& bytes) {
    const qsizetype n = bytes.size();
    const qsizetype groups = n / 3;
    const qsizetype tail = n % 3;
    // A break follows every 19th complete group, never the padded tail.
    const qsizetype length = 4 * groups + (tail != 0 ? 4 : 0) + 2 * (groups / GroupsPerLine);

    QString result(length, Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(result.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());

    qsizetype groupsLeft = groups;
    while (groupsLeft >= GroupsPerLine) {
        for (qsizetype g = 0; g < GroupsPerLine; ++g, in += 3)
            out = PutGroup(out, in);
        *out++ = u'\r';
        *out++ = u'\n';
        groupsLeft -= GroupsPerLine;
    }
    for (; groupsLeft > 0; --groupsLeft, in += 3)
        out = PutGroup(out, in);

    if (tail == 1) {
        *out++ = Alphabet[in[0] >> 2];
        *out++ = Alphabet[(in[0] & 0x03) << 4];
        *out++ = Pad;
        *out++ = Pad;
    } else if (tail == 2) {
        *out++ = Alphabet[in[0] >> 2];
        *out++ = Alphabet[((in[0] & 0x03) << 4) | (in[1] >> 4)];
        *out++ = Alphabet[(in[1] & 0x0F) << 2];
        *out++ = Pad;
    }
    return result;
}

QString Base64EncodeUtf8(const QString& text) {
    return Base64Encode(text.toUtf8());
}
