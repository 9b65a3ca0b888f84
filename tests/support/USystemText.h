#pragma once

// The system's own texts in expected messages. Windows and Wine word them
// differently, so on Windows a test asks the system; elsewhere the texts are
// the fixed ones the stand-ins play.

#include <QString>

#ifdef _WIN32
#include <windows.h>

#include <iterator>
#endif

// The text for an HRESULT as the client shows it: trailing blanks, control
// characters and full stops removed, "OLE error %.8x" when there is none.
inline QString ComTextOr([[maybe_unused]] long hr, [[maybe_unused]] const char* elsewhere) {
#ifdef _WIN32
    wchar_t buffer[1024];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(hr), 0, buffer,
                                        static_cast<DWORD>(std::size(buffer)), nullptr);
    QString text = QString::fromWCharArray(buffer, static_cast<qsizetype>(length));
    while (!text.isEmpty() && (text.back().unicode() <= u' ' || text.back() == u'.'))
        text.chop(1);
    return text.isEmpty() ? QString::asprintf("OLE error %.8x", static_cast<unsigned>(hr)) : text;
#else
    return QString::fromUtf8(elsewhere);
#endif
}

// The system's reason why `path` cannot be opened for reading, as the
// client's file reader words it.
inline QString OpenReasonOr([[maybe_unused]] const QString& path,
                            [[maybe_unused]] const char* elsewhere) {
#ifdef _WIN32
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    wchar_t buffer[1024];
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    return QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed();
#else
    return QString::fromUtf8(elsewhere);
#endif
}

// Whether the program runs under Wine, whose system libraries differ from
// Windows' in places a test can meet.
inline bool UnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}
