#include "net/native_socket.h"

#include <chrono>
#include <cstdint>
#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
constexpr int kWaitSliceMs = 20;

#ifdef _WIN32
constexpr sf::SocketHandle kNoSocket = INVALID_SOCKET;
void closeHandle(sf::SocketHandle handle) { closesocket(handle); }
bool makeNonBlocking(sf::SocketHandle handle) {
    u_long yes = 1;
    return ioctlsocket(handle, FIONBIO, &yes) == 0;
}
int lastError() { return WSAGetLastError(); }
bool isInProgress(int error) { return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS; }
bool isRefused(int error) { return error == WSAECONNREFUSED; }
// Windows reports a failed connect through the exception set, a finished one as writable.
bool waitWritable(sf::SocketHandle handle, int milliseconds) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(handle, &writable);
    FD_SET(handle, &failed);
    timeval wait{0, milliseconds * 1000};
    return select(0, nullptr, &writable, &failed, &wait) > 0;
}
#else
constexpr sf::SocketHandle kNoSocket = -1;
void closeHandle(sf::SocketHandle handle) { ::close(handle); }
bool makeNonBlocking(sf::SocketHandle handle) {
    int flags = fcntl(handle, F_GETFL, 0);
    return flags != -1 && fcntl(handle, F_SETFL, flags | O_NONBLOCK) == 0;
}
int lastError() { return errno; }
bool isInProgress(int error) { return error == EINPROGRESS || error == EINTR; }
bool isRefused(int error) { return error == ECONNREFUSED; }
bool waitWritable(sf::SocketHandle handle, int milliseconds) {
    pollfd entry{handle, POLLOUT, 0};
    return poll(&entry, 1, milliseconds) > 0;
}
#endif

// What the finished connect left in the socket: 0 when it is connected.
int pendingError(sf::SocketHandle handle) {
    int error = 0;
#ifdef _WIN32
    int size = sizeof(error);
    if (getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0) return lastError();
#else
    socklen_t size = sizeof(error);
    if (getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return lastError();
#endif
    return error;
}

DialResult failure(sf::SocketHandle handle, int error) {
    closeHandle(handle);
    return isRefused(error) ? DialResult::Refused : DialResult::NoAnswer;
}
}  // namespace

DialResult dial(const sf::IpAddress& address, unsigned short port, int timeout_ms,
                const std::function<bool()>& keep_going, sf::SocketHandle& handle) {
    using Clock = std::chrono::steady_clock;
    handle = kNoSocket;
    sf::SocketHandle socket_handle = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket_handle == kNoSocket) return DialResult::NoAnswer;
    if (!makeNonBlocking(socket_handle)) return failure(socket_handle, lastError());
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(address.toInteger());
    target.sin_port = htons(port);
    if (::connect(socket_handle, reinterpret_cast<const sockaddr*>(&target), sizeof(target)) != 0) {
        int error = lastError();
        if (!isInProgress(error)) return failure(socket_handle, error);
        Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!waitWritable(socket_handle, kWaitSliceMs)) {
            if (!keep_going()) {
                closeHandle(socket_handle);
                return DialResult::Cancelled;
            }
            if (Clock::now() >= deadline) return failure(socket_handle, 0);
        }
        if (int pending = pendingError(socket_handle); pending != 0) return failure(socket_handle, pending);
    }
    handle = socket_handle;
    return DialResult::Connected;
}

bool listenOn(unsigned short port, sf::SocketHandle& handle) {
    handle = kNoSocket;
    sf::SocketHandle socket_handle = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket_handle == kNoSocket) return false;
#ifndef _WIN32
    int yes = 1;
    setsockopt(socket_handle, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
#endif
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    if (::bind(socket_handle, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0 ||
        ::listen(socket_handle, SOMAXCONN) != 0) {
        closeHandle(socket_handle);
        return false;
    }
    handle = socket_handle;
    return true;
}
