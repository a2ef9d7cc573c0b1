// The socket the server accepts connections on.
#pragma once

#include <cstdint>
#include <string>

namespace orviadic::serve {

struct Listener {
  int fd = -1;
  std::string address;  // as bound: "127.0.0.1:2628", "[::1]:2628"
};

// A non-blocking socket listening on address (IPv4, IPv6 or a host name, its first
// address) and port; port 0 takes one the system finds free. Throws CommandFailure with
// the system's reason.
Listener listenOn(const std::string& address, uint16_t port);

// Makes fd non-blocking; false when the system refuses.
bool setNonBlocking(int fd);

}  // namespace orviadic::serve
