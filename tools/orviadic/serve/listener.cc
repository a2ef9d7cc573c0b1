#include "serve/listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "conventions.h"

namespace orviadic::serve {
namespace {

std::string boundAddress(int fd) {
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size);
  char host[INET6_ADDRSTRLEN] = "";
  if (bound.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&bound);
    inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
    return "[" + std::string(host) + "]:" + std::to_string(ntohs(v6->sin6_port));
  }
  const auto* v4 = reinterpret_cast<const sockaddr_in*>(&bound);
  inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
  return std::string(host) + ":" + std::to_string(ntohs(v4->sin_port));
}

[[noreturn]] void fail(const std::string& what, int error) {
  throw CommandFailure{kExitError, what + ": " + std::strerror(error)};
}

}  // namespace

bool setNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

Listener listenOn(const std::string& address, uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int lookup = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (lookup != 0)
    throw CommandFailure{kExitError, "cannot listen on " + address + ": " + gai_strerror(lookup)};
  const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    freeaddrinfo(found);
    fail("cannot make a socket", errno);
  }
  // A server restarted at once finds its port free again although the last one's
  // connections linger in TIME_WAIT.
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const bool bound = bind(fd, found->ai_addr, found->ai_addrlen) == 0;
  const int error = errno;
  freeaddrinfo(found);
  if (!bound || listen(fd, SOMAXCONN) != 0 || !setNonBlocking(fd)) {
    const int cause = bound ? errno : error;
    close(fd);
    fail("cannot listen on " + address + ":" + std::to_string(port), cause);
  }
  return {fd, boundAddress(fd)};
}

}  // namespace orviadic::serve
