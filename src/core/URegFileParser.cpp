#include "URegFileParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::u16string_view Header4 = u"REGEDIT4";

[[noreturn]] void FailAt(const std::string& filePath, int line, TRegistryFault fault) {
    throw TRegistryError(TRegistryError::TKind::Malformed, filePath, line, fault, {});
}

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && SameRegName(text.substr(0, prefix.size()), prefix);
}

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

std::u16string DecodeFile(std::string_view bytes, const std::string& filePath) {
    std::u16string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0)
            FailAt(filePath, 0, TRegistryFault::BadEncoding);
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
        FailAt(filePath, int(line), TRegistryFault::BadEncoding);
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

// Reads the lines into one hive, key after key; each fault is reported with
// the number of the line it is found on (a continued value: its first line).
class TParser {
public:
    TParser(std::u16string hive, std::u16string_view text, const std::string& filePath)
        : File(std::move(hive))
        , FilePath(filePath)
        , Text(text)
        , Lines(SplitLines(text)) {}

    TRegFile Run() && {
        bool headerSeen = false;
        for (Index = 0; Index < Lines.size(); ++Index) {
            LineNumber = int(Index) + 1;
            const std::u16string_view line = Trim(Lines[Index]);
            if (line.empty() || line.front() == u';')
                continue;
            if (!headerSeen) {
                if (line != RegFileHeader && line != Header4)
                    Fail(TRegistryFault::MissingHeader);
                headerSeen = true;
            } else if (line.front() == u'[') {
                KeyLine(line);
            } else {
                ValueLine(line);
            }
        }
        if (!headerSeen && !Trim(Text).empty())
            FailAt(FilePath, 1, TRegistryFault::MissingHeader);
        return std::move(File);
    }

private:
    [[noreturn]] void Fail(TRegistryFault fault) const { FailAt(FilePath, LineNumber, fault); }

    // "[HIVE\level\...]": the key that the following values belong to.
    void KeyLine(std::u16string_view line) {
        if (line.back() != u']')
            Fail(TRegistryFault::BadKeyLine);
        const std::u16string_view inner = line.substr(1, line.size() - 2);
        if (!inner.empty() && inner.front() == u'-')
            Fail(TRegistryFault::Deletion);
        TRegistryPath path;
        std::size_t start = 0;
        while (true) {
            const std::size_t slash = inner.find(u'\\', start);
            const std::u16string_view level = inner.substr(start, slash - start);
            if (level.empty())
                Fail(TRegistryFault::BadKeyLine);
            path.emplace_back(level);
            if (slash == std::u16string_view::npos)
                break;
            start = slash + 1;
        }
        if (!SameRegName(path.front(), File.Hive()))
            Fail(TRegistryFault::ForeignHive);
        path.erase(path.begin());
        File.EnsureKey(path);
        Current = std::move(path);
        InKey = true;
    }

    // "name"=data or @=data.
    void ValueLine(std::u16string_view line) {
        std::u16string name;
        std::size_t pos = 0;
        if (line.front() == u'@') {
            pos = 1;
        } else {
            pos = ReadQuoted(line, name);
            if (pos == std::u16string_view::npos)
                Fail(TRegistryFault::BadValueLine);
        }
        const std::u16string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != u'=')
            Fail(TRegistryFault::BadValueLine);
        if (!InKey)
            Fail(TRegistryFault::ValueOutsideKey);
        File.SetValue(Current, name, ValueData(Trim(rest.substr(1))));
    }

    TRegistryValue ValueData(std::u16string_view data) {
        TRegistryValue value;
        if (data == u"-") {
            Fail(TRegistryFault::Deletion);
        } else if (!data.empty() && data.front() == u'"') {
            std::u16string text;
            const std::size_t end = ReadQuoted(data, text);
            if (end == std::u16string_view::npos || !Trim(data.substr(end)).empty())
                Fail(TRegistryFault::BadValueData);
            value.Type = RegSz;
            value.Data = RegistryStringData(text);
        } else if (StartsWithFolded(data, u"dword:")) {
            std::uint32_t number = 0;
            if (!ParseHexNumber(Trim(data.substr(6)), number))
                Fail(TRegistryFault::BadValueData);
            value.Type = RegDword;
            for (int shift = 0; shift < 32; shift += 8)
                value.Data.push_back(static_cast<std::uint8_t>(number >> shift));
        } else if (StartsWithFolded(data, u"hex")) {
            HexData(data.substr(3), value);
        } else {
            Fail(TRegistryFault::BadValueData);
        }
        return value;
    }

    // After "hex": an optional "(type)", then ":" and the byte list.
    void HexData(std::u16string_view spec, TRegistryValue& value) {
        value.Type = RegBinary;
        if (!spec.empty() && spec.front() == u'(') {
            const std::size_t close = spec.find(u')');
            if (close == std::u16string_view::npos ||
                !ParseHexNumber(spec.substr(1, close - 1), value.Type))
                Fail(TRegistryFault::BadValueData);
            spec = spec.substr(close + 1);
        }
        if (spec.empty() || spec.front() != u':')
            Fail(TRegistryFault::BadValueData);
        // A trailing backslash continues the byte list on the next line.
        std::u16string list(Trim(spec.substr(1)));
        while (!list.empty() && list.back() == u'\\') {
            list.pop_back();
            if (++Index >= Lines.size())
                Fail(TRegistryFault::BadValueData);
            list += Trim(Lines[Index]);
        }
        if (!ParseHexBytes(list, value.Data))
            Fail(TRegistryFault::BadValueData);
    }

    TRegFile File;
    const std::string& FilePath;
    std::u16string_view Text;
    std::vector<std::u16string_view> Lines;
    std::size_t Index = 0;
    int LineNumber = 0;
    TRegistryPath Current;
    bool InKey = false;
};

} // namespace

TRegFile ParseRegFile(std::u16string hive, std::string_view bytes, const std::string& filePath) {
    const std::u16string text = DecodeFile(bytes, filePath);
    return TParser(std::move(hive), text, filePath).Run();
}
