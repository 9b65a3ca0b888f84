#include "USimSocket.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace Sim {

namespace {

struct TDirCloser {
    void operator()(DIR* dir) const noexcept { closedir(dir); }
};

int PortOf(const sockaddr_storage& addr) {
    if (addr.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(addr).sin_port);
    if (addr.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(addr).sin6_port);
    return -1;
}

// The accepted socket whose own port is localPort and whose peer's is remotePort.
int FindSocket(int localPort, int remotePort) {
    std::unique_ptr<DIR, TDirCloser> dir(opendir("/proc/self/fd"));
    if (!dir)
        return -1;
    while (const dirent* entry = readdir(dir.get())) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == dirfd(dir.get()))
            continue;
        sockaddr_storage local{}, peer{};
        socklen_t localLen = sizeof local, peerLen = sizeof peer;
        const int s = static_cast<int>(fd);
        if (getsockname(s, reinterpret_cast<sockaddr*>(&local), &localLen) != 0 ||
            getpeername(s, reinterpret_cast<sockaddr*>(&peer), &peerLen) != 0)
            continue;
        if (PortOf(local) == localPort && PortOf(peer) == remotePort)
            return s;
    }
    return -1;
}

} // namespace

bool DropConnection(int localPort, int remotePort) {
    const int s = FindSocket(localPort, remotePort);
    return s >= 0 && shutdown(s, SHUT_RDWR) == 0;
}

bool WriteRawAndClose(int localPort, int remotePort, const std::string& bytes) {
    const int s = FindSocket(localPort, remotePort);
    if (s < 0)
        return false;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(s, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    // Half-close: the client reads everything, the server's own answer fails.
    shutdown(s, SHUT_WR);
    return sent == bytes.size();
}

} // namespace Sim
