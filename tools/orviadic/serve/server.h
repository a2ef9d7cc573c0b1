// The server's lifetime: it listens, hands each connection to the least busy worker,
// refuses clients past the limit, and on SIGINT or SIGTERM says 421 to every open
// connection and returns.
#pragma once

#include <cstdint>
#include <string>

#include "serve/catalogue.h"

namespace orviadic::serve {

struct ServeOptions {
  std::string listen = "127.0.0.1";
  uint16_t port = 2628;
  unsigned threads = 0;  // 0: one a core
  uint32_t maxClients = 64;
  uint32_t maxMatches = 1000;
  double idleTimeout = 300;  // seconds
  std::string pidFile;
};

// Serves catalogue until SIGINT or SIGTERM. Prints "listening on ADDR:PORT" once it
// accepts connections. Throws CommandFailure when it cannot listen or write the pid file.
void runServer(const ServeOptions& options, const Catalogue& catalogue);

}  // namespace orviadic::serve
