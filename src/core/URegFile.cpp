#include "URegFile.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::u16string_view Header5 = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view Header4 = u"REGEDIT4";
constexpr std::size_t HexBytesPerLine = 25;

char16_t FoldAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool SamePath(const TRegistryPath& a, const TRegistryPath& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameName);
}

// True when path lies at or below ancestor.
bool Within(const TRegistryPath& path, const TRegistryPath& ancestor) {
    return path.size() >= ancestor.size() &&
           std::equal(ancestor.begin(), ancestor.end(), path.begin(), SameName);
}

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

[[noreturn]] void Fail(const std::string& filePath, int line, TRegistryFault fault) {
    throw TRegistryError(TRegistryError::TKind::Malformed, filePath, line, fault, {});
}

// ---- UTF-8 / UTF-16 ----

// Strict UTF-8; on failure returns false and the byte offset at fault.
bool DecodeUtf8(std::string_view bytes, std::u16string& text, std::size_t& badOffset) {
    text.clear();
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        char32_t cp = 0;
        std::size_t length = 0;
        if (b0 < 0x80) {
            cp = b0;
            length = 1;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            cp = b0 & 0x1Fu;
            length = 2;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            cp = b0 & 0x0Fu;
            length = 3;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            cp = b0 & 0x07u;
            length = 4;
        } else {
            badOffset = i;
            return false;
        }
        if (i + length > bytes.size()) {
            badOffset = i;
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            if ((b & 0xC0) != 0x80) {
                badOffset = i;
                return false;
            }
            cp = (cp << 6) | (b & 0x3Fu);
        }
        const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            badOffset = i;
            return false;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return true;
}

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

std::u16string DecodeFile(std::string_view bytes, const std::string& filePath) {
    std::u16string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0)
            Fail(filePath, 0, TRegistryFault::BadEncoding);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return text;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    std::size_t badOffset = 0;
    if (!DecodeUtf8(bytes, text, badOffset)) {
        const auto line =
            1 + std::count(bytes.begin(), bytes.begin() + std::ptrdiff_t(badOffset), '\n');
        Fail(filePath, int(line), TRegistryFault::BadEncoding);
    }
    return text;
}

// ---- Lines ----

std::u16string_view Trim(std::u16string_view text) {
    const auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(u'\n', start);
        if (end == std::u16string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Reads a quoted text with \\ and \" escapes from the start of text; returns
// the position after the closing quote, or npos.
std::size_t ReadQuoted(std::u16string_view text, std::u16string& out) {
    out.clear();
    if (text.empty() || text.front() != u'"')
        return std::u16string_view::npos;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'"')
            return i + 1;
        if (c == u'\\') {
            if (i + 1 >= text.size() || (text[i + 1] != u'\\' && text[i + 1] != u'"'))
                return std::u16string_view::npos;
            out.push_back(text[++i]);
        } else {
            out.push_back(c);
        }
    }
    return std::u16string_view::npos;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool ParseHexNumber(std::u16string_view text, std::uint32_t& value) {
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (const char16_t c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        value = (value << 4) | std::uint32_t(digit);
    }
    return true;
}

bool ParseHexBytes(std::u16string_view text, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    text = Trim(text);
    if (text.empty())
        return true;
    while (true) {
        const std::size_t comma = text.find(u',');
        const std::u16string_view item = Trim(text.substr(0, comma));
        if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(HexDigit(item[0]) * 16 + HexDigit(item[1])));
        if (comma == std::u16string_view::npos)
            return true;
        text = text.substr(comma + 1);
    }
}

// ---- Writing ----

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
    static constexpr char Digits[] = "0123456789abcdef";
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
        static constexpr char Digits[] = "0123456789abcdef";
        out += "dword:";
        for (int i = 3; i >= 0; --i) {
            out.push_back(Digits[value.Data[std::size_t(i)] >> 4]);
            out.push_back(Digits[value.Data[std::size_t(i)] & 0xF]);
        }
    } else {
        if (value.Type == RegBinary) {
            out += "hex:";
        } else {
            static constexpr char Digits[] = "0123456789abcdef";
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

TRegFile::TRegFile(std::u16string hive)
    : Hive(std::move(hive)) {}

TRegFile TRegFile::Parse(std::u16string hive, std::string_view bytes, const std::string& filePath) {
    TRegFile file(std::move(hive));
    const std::u16string text = DecodeFile(bytes, filePath);
    const std::vector<std::u16string_view> lines = SplitLines(text);

    bool headerSeen = false;
    TRegistryPath current;
    bool inKey = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int lineNumber = int(index) + 1;
        const std::u16string_view line = Trim(lines[index]);
        if (line.empty() || line.front() == u';')
            continue;
        if (!headerSeen) {
            if (line != Header5 && line != Header4)
                Fail(filePath, lineNumber, TRegistryFault::MissingHeader);
            headerSeen = true;
            continue;
        }

        if (line.front() == u'[') {
            if (line.back() != u']')
                Fail(filePath, lineNumber, TRegistryFault::BadKeyLine);
            const std::u16string_view inner = line.substr(1, line.size() - 2);
            if (!inner.empty() && inner.front() == u'-')
                Fail(filePath, lineNumber, TRegistryFault::Deletion);
            TRegistryPath path;
            std::size_t start = 0;
            while (true) {
                const std::size_t slash = inner.find(u'\\', start);
                const std::u16string_view level = inner.substr(start, slash - start);
                if (level.empty())
                    Fail(filePath, lineNumber, TRegistryFault::BadKeyLine);
                path.emplace_back(level);
                if (slash == std::u16string_view::npos)
                    break;
                start = slash + 1;
            }
            if (!SameName(path.front(), file.Hive))
                Fail(filePath, lineNumber, TRegistryFault::ForeignHive);
            path.erase(path.begin());
            file.EnsureKey(path);
            current = std::move(path);
            inKey = true;
            continue;
        }

        // A value line: "name"=data or @=data.
        std::u16string name;
        std::size_t pos = 0;
        if (line.front() == u'@') {
            pos = 1;
        } else {
            pos = ReadQuoted(line, name);
            if (pos == std::u16string_view::npos)
                Fail(filePath, lineNumber, TRegistryFault::BadValueLine);
        }
        std::u16string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != u'=')
            Fail(filePath, lineNumber, TRegistryFault::BadValueLine);
        if (!inKey)
            Fail(filePath, lineNumber, TRegistryFault::ValueOutsideKey);
        rest = Trim(rest.substr(1));

        TRegistryValue value;
        if (rest == u"-") {
            Fail(filePath, lineNumber, TRegistryFault::Deletion);
        } else if (!rest.empty() && rest.front() == u'"') {
            std::u16string data;
            const std::size_t end = ReadQuoted(rest, data);
            if (end == std::u16string_view::npos || !Trim(rest.substr(end)).empty())
                Fail(filePath, lineNumber, TRegistryFault::BadValueData);
            value.Type = RegSz;
            value.Data = RegistryStringData(data);
        } else if (StartsWithFolded(rest, u"dword:")) {
            std::uint32_t number = 0;
            if (!ParseHexNumber(Trim(rest.substr(6)), number))
                Fail(filePath, lineNumber, TRegistryFault::BadValueData);
            value.Type = RegDword;
            for (int shift = 0; shift < 32; shift += 8)
                value.Data.push_back(static_cast<std::uint8_t>(number >> shift));
        } else if (StartsWithFolded(rest, u"hex")) {
            std::u16string_view spec = rest.substr(3);
            value.Type = RegBinary;
            if (!spec.empty() && spec.front() == u'(') {
                const std::size_t close = spec.find(u')');
                if (close == std::u16string_view::npos ||
                    !ParseHexNumber(spec.substr(1, close - 1), value.Type))
                    Fail(filePath, lineNumber, TRegistryFault::BadValueData);
                spec = spec.substr(close + 1);
            }
            if (spec.empty() || spec.front() != u':')
                Fail(filePath, lineNumber, TRegistryFault::BadValueData);
            // A trailing backslash continues the byte list on the next line.
            std::u16string list(Trim(spec.substr(1)));
            while (!list.empty() && list.back() == u'\\') {
                list.pop_back();
                if (++index >= lines.size())
                    Fail(filePath, lineNumber, TRegistryFault::BadValueData);
                list += Trim(lines[index]);
            }
            if (!ParseHexBytes(list, value.Data))
                Fail(filePath, lineNumber, TRegistryFault::BadValueData);
        } else {
            Fail(filePath, lineNumber, TRegistryFault::BadValueData);
        }
        file.SetValue(current, name, value);
    }
    if (!headerSeen && !Trim(text).empty())
        Fail(filePath, 1, TRegistryFault::MissingHeader);
    return file;
}

std::string TRegFile::Format() const {
    std::string out;
    AppendUtf8(out, Header5);
    out += "\r\n\r\n";
    for (const TKey& key : Keys) {
        AppendKeyLine(out, Hive, key.Path);
        for (const TValue& value : key.Values)
            AppendValue(out, value.Name, value.Value);
        out += "\r\n";
    }
    return out;
}

TRegFile::TKey* TRegFile::FindKey(const TRegistryPath& path) {
    const auto it = std::find_if(Keys.begin(), Keys.end(),
                                 [&](const TKey& key) { return SamePath(key.Path, path); });
    return it == Keys.end() ? nullptr : &*it;
}

const TRegFile::TKey* TRegFile::FindKey(const TRegistryPath& path) const {
    return const_cast<TRegFile*>(this)->FindKey(path);
}

TRegFile::TKey& TRegFile::AddKey(const TRegistryPath& path) {
    Keys.push_back(TKey{path, {}});
    return Keys.back();
}

bool TRegFile::KeyExists(const TRegistryPath& path) const {
    if (path.empty())
        return true;
    return std::any_of(Keys.begin(), Keys.end(),
                       [&](const TKey& key) { return Within(key.Path, path); });
}

std::vector<std::u16string> TRegFile::SubKeys(const TRegistryPath& path) const {
    std::vector<std::u16string> names;
    for (const TKey& key : Keys) {
        if (key.Path.size() <= path.size() || !Within(key.Path, path))
            continue;
        const std::u16string& name = key.Path[path.size()];
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::u16string& known) { return SameName(known, name); }))
            names.push_back(name);
    }
    return names;
}

const TRegistryValue* TRegFile::FindValue(const TRegistryPath& path,
                                          const std::u16string& name) const {
    const TKey* key = FindKey(path);
    if (!key)
        return nullptr;
    const auto it = std::find_if(key->Values.begin(), key->Values.end(),
                                 [&](const TValue& value) { return SameName(value.Name, name); });
    return it == key->Values.end() ? nullptr : &it->Value;
}

bool TRegFile::EnsureKey(const TRegistryPath& path) {
    bool added = false;
    for (std::size_t depth = 1; depth <= path.size(); ++depth) {
        const TRegistryPath level(path.begin(), path.begin() + std::ptrdiff_t(depth));
        if (!FindKey(level)) {
            AddKey(level);
            added = true;
        }
    }
    return added;
}

void TRegFile::SetValue(const TRegistryPath& path, const std::u16string& name,
                        const TRegistryValue& value) {
    EnsureKey(path);
    TKey* key = FindKey(path);
    if (!key)
        key = &AddKey(path); // values of the hive's root key
    for (TValue& existing : key->Values) {
        if (SameName(existing.Name, name)) {
            existing.Value = value;
            return;
        }
    }
    key->Values.push_back(TValue{name, value});
}
