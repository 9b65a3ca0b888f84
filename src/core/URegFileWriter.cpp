#include "URegFileWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t HexBytesPerLine = 25;
constexpr char Digits[] = "0123456789abcdef";

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// False when text holds a lone surrogate, which UTF-8 cannot carry.
bool IsWellFormed(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i])) {
            if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1]))
                return false;
            ++i;
        } else if (IsLowSurrogate(text[i])) {
            return false;
        }
    }
    return true;
}

// A lone surrogate becomes U+FFFD; callers keep such text out where it matters.
void AppendUtf8(std::string& out, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out,
                       0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, char32_t{0xFFFD});
        } else {
            AppendUtf8(out, char32_t{c});
        }
    }
}

void AppendQuoted(std::string& out, std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size() + 2);
    escaped.push_back(u'"');
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'"')
            escaped.push_back(u'\\');
        escaped.push_back(c);
    }
    escaped.push_back(u'"');
    AppendUtf8(out, escaped);
}

void AppendKeyLine(std::string& out, std::u16string_view hive, const TRegistryPath& path) {
    out.push_back('[');
    AppendUtf8(out, hive);
    for (const auto& level : path) {
        out.push_back('\\');
        AppendUtf8(out, level);
    }
    out += "]\r\n";
}

// String data that a quoted text carries unchanged: one final NUL, no other,
// nothing that would break the line.
bool FitsQuoted(const TRegistryValue& value) {
    const auto& data = value.Data;
    if (value.Type != RegSz || data.size() < 2 || data.size() % 2 != 0 ||
        data[data.size() - 1] != 0 || data[data.size() - 2] != 0)
        return false;
    const std::u16string text = RegistryDataString(data);
    if (2 * (text.size() + 1) != data.size() || !IsWellFormed(text))
        return false;
    return std::none_of(text.begin(), text.end(), [](char16_t c) { return c < 0x20; });
}

void AppendHex(std::string& out, const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
            if (i % HexBytesPerLine == 0)
                out += "\\\r\n  ";
        }
        out.push_back(Digits[data[i] >> 4]);
        out.push_back(Digits[data[i] & 0xF]);
    }
}

void AppendValue(std::string& out, std::u16string_view name, const TRegistryValue& value) {
    if (name.empty())
        out.push_back('@');
    else
        AppendQuoted(out, name);
    out.push_back('=');
    if (FitsQuoted(value)) {
        AppendQuoted(out, RegistryDataString(value.Data));
    } else if (value.Type == RegDword && value.Data.size() == 4) {
        out += "dword:";
        for (int i = 3; i >= 0; --i) {
            out.push_back(Digits[value.Data[std::size_t(i)] >> 4]);
            out.push_back(Digits[value.Data[std::size_t(i)] & 0xF]);
        }
    } else {
        if (value.Type == RegBinary) {
            out += "hex:";
        } else {
            std::string number;
            for (std::uint32_t type = value.Type; type != 0 || number.empty(); type >>= 4)
                number.insert(number.begin(), Digits[type & 0xF]);
            out += "hex(" + number + "):";
        }
        AppendHex(out, value.Data);
    }
    out += "\r\n";
}

} // namespace

std::string FormatRegFile(const TRegFile& file) {
    std::string out;
    AppendUtf8(out, RegFileHeader);
    out += "\r\n\r\n";
    for (const TRegFile::TKey& key : file.Keys()) {
        AppendKeyLine(out, file.Hive(), key.Path);
        for (const TRegFile::TValue& value : key.Values)
            AppendValue(out, value.Name, value.Value);
        out += "\r\n";
    }
    return out;
}
