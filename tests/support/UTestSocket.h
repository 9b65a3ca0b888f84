#pragma once

// The few socket calls the test servers make, on POSIX sockets or on
// Winsock; everything else is the same Berkeley interface on both.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, which must come before windows.h.
#include <windows.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <cstdlib>
#include <mutex>

namespace TestSocket {

#ifdef _WIN32
using THandle = SOCKET;
using TLength = int;
inline constexpr THandle Invalid = INVALID_SOCKET;
inline constexpr int ShutBoth = SD_BOTH;
inline constexpr int NoSignal = 0; // Winsock raises no signal on a closed peer
#else
using THandle = int;
using TLength = socklen_t;
inline constexpr THandle Invalid = -1;
inline constexpr int ShutBoth = SHUT_RDWR;
inline constexpr int NoSignal = MSG_NOSIGNAL;
#endif

// Winsock wants starting once per process before the first call.
inline void Startup() {
#ifdef _WIN32
    static std::once_flag once;
    std::call_once(once, [] {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            std::abort();
    });
#endif
}

// A TCP socket that programs started by the test do not inherit.
inline THandle OpenTcp() {
    Startup();
#ifdef _WIN32
    const THandle handle = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (handle != Invalid)
        SetHandleInformation(reinterpret_cast<HANDLE>(handle), HANDLE_FLAG_INHERIT, 0);
    return handle;
#else
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#endif
}

inline THandle Accept(THandle listener, sockaddr_in& peer) {
    TLength length = sizeof(peer);
#ifdef _WIN32
    const THandle handle = ::accept(listener, reinterpret_cast<sockaddr*>(&peer), &length);
    if (handle != Invalid)
        SetHandleInformation(reinterpret_cast<HANDLE>(handle), HANDLE_FLAG_INHERIT, 0);
    return handle;
#else
    return ::accept4(listener, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
#endif
}

inline void Close(THandle handle) {
#ifdef _WIN32
    ::closesocket(handle);
#else
    ::close(handle);
#endif
}

// Waits up to timeoutMs for the socket to become readable: 1 when it is, 0 on
// timeout or interruption, -1 on error.
inline int WaitReadable(THandle handle, int timeoutMs) {
#ifdef _WIN32
    WSAPOLLFD entry{handle, POLLIN, 0};
    return ::WSAPoll(&entry, 1, timeoutMs);
#else
    pollfd entry{handle, POLLIN, 0};
    const int ready = ::poll(&entry, 1, timeoutMs);
    return ready < 0 && errno == EINTR ? 0 : ready;
#endif
}

inline long Receive(THandle handle, char* into, int size) {
    return long(::recv(handle, into, size, 0));
}

inline long Send(THandle handle, const char* bytes, int size) {
    return long(::send(handle, bytes, size, NoSignal));
}

} // namespace TestSocket
