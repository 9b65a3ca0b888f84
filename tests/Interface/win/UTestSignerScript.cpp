#include "UTestSignerScript.h"

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

std::wstring Environment(const wchar_t* name) {
    std::vector<wchar_t> buffer(1024);
    DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    return length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

std::wstring ReadUtf8File(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    if (bytes.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        size);
    return text;
}

std::wstring Unescape(const std::wstring& text) {
    std::wstring result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        switch (text[++i]) {
        case L't':
            result += L'\t';
            break;
        case L'r':
            result += L'\r';
            break;
        case L'n':
            result += L'\n';
            break;
        case L'0':
            result += L'\0';
            break;
        default:
            result += text[i];
            break;
        }
    }
    return result;
}

// UTF-8 that keeps a lone surrogate visible instead of replacing it.
std::string ToUtf8(const std::wstring& text) {
    std::string out;
    auto put = [&out](unsigned value) { out += static_cast<char>(value); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned>(text[++i]) - 0xDC00);
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            out += escaped;
        } else if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

std::optional<std::wstring> TScriptEntry::Value(const std::wstring& key) const {
    const auto it = Values.find(key);
    if (it == Values.end())
        return std::nullopt;
    return it->second;
}

HRESULT TScriptEntry::Hr(const std::wstring& key, HRESULT fallback) const {
    const auto value = Value(key);
    return value ? static_cast<HRESULT>(std::wcstoul(value->c_str(), nullptr, 16)) : fallback;
}

long TScriptEntry::Number(const std::wstring& key, long fallback) const {
    const auto value = Value(key);
    return value ? std::wcstol(value->c_str(), nullptr, 10) : fallback;
}

TScriptEntry ScriptEntry(const std::wstring& name) {
    TScriptEntry entry;
    const std::wstring script = ReadUtf8File(Environment(TestSignerScriptVariable));
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find(L'\n', start);
        if (end == std::wstring::npos)
            end = script.size();
        std::wstring line = script.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        std::size_t field = line.find(L'\t');
        if (line.substr(0, field) != name)
            continue;
        while (field != std::wstring::npos) {
            const std::size_t next = line.find(L'\t', field + 1);
            const std::wstring pair = line.substr(field + 1, next - field - 1);
            const std::size_t equals = pair.find(L'=');
            if (equals != std::wstring::npos)
                entry.Values[pair.substr(0, equals)] = Unescape(pair.substr(equals + 1));
            field = next;
        }
    }
    return entry;
}

void LogLine(const std::wstring& line) {
    const std::wstring path = Environment(TestSignerLogVariable);
    if (path.empty())
        return;
    const HANDLE file =
        CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string bytes = ToUtf8(line) + '\n';
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring EscapeArgument(const wchar_t* text, std::size_t length) {
    std::wstring result;
    for (std::size_t i = 0; i < length; ++i) {
        switch (text[i]) {
        case L'\\':
            result += L"\\\\";
            break;
        case L'\t':
            result += L"\\t";
            break;
        case L'\r':
            result += L"\\r";
            break;
        case L'\n':
            result += L"\\n";
            break;
        case L'\0':
            result += L"\\0";
            break;
        case L'|':
            result += L"\\|";
            break;
        default:
            result += text[i];
            break;
        }
    }
    return result;
}
