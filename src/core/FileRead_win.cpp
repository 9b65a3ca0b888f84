#include "UFileRead.h"

#include "UOrvError.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace {

struct THandleClose {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using THandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, THandleClose>;

QString SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = length ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    ::LocalFree(text);
    return reason;
}

[[noreturn]] void Fail(const QString& path, DWORD error) {
    throw TOrvError(CannotOpenFileMessage(path, SystemReason(error)));
}

} // namespace

QByteArray ReadFileDenyingWriters(const QString& path) {
    // Other readers may share the file; writers are refused while it is read.
    const HANDLE opened =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, FILE_SHARE_READ,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        Fail(path, ::GetLastError());
    const THandle file(opened);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        Fail(path, ::GetLastError());
    QByteArray bytes;
    bytes.reserve(qsizetype(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            Fail(path, ::GetLastError());
        if (got == 0)
            break;
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}
