// One client's conversation: each command line it sends answered by the protocol's
// codes, over the databases of the catalogue and the handles of the worker serving it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "serve/catalogue.h"
#include "serve/connection_state.h"
#include "serve/response.h"
#include "serve/worker_dictionaries.h"

namespace orviadic::serve {

// What every session may tell of the server, shared by all workers.
struct ServerStatus {
  std::string host;  // in the greeting and SHOW SERVER
  uint32_t maxMatches = 1000;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  std::atomic<uint64_t> connections{0};  // accepted since the start
  std::atomic<uint64_t> commands{0};
  std::atomic<uint32_t> open{0};  // connections open now
};

class Session {
 public:
  Session(const Catalogue& catalogue, WorkerDictionaries& dictionaries, ServerStatus& status)
      : catalogue_(catalogue), dictionaries_(dictionaries), status_(status) {}

  // The greeting, "220 host text <capabilities> <msg-id>".
  std::string banner(uint64_t connection) const;
  // Answers one line into state; QUIT and a runaway line close it.
  void answer(const InputLine& line, ConnectionState* state);

 private:
  using Words = std::vector<std::string>;
  void command(const Words& words, Response* out);
  void define(const Words& words, Response* out);
  void match(const Words& words, Response* out);
  void show(const Words& words, Response* out);
  void showDatabases(Response* out) const;
  void showStrategies(Response* out) const;
  void showInfo(const std::string& name, Response* out);
  void showServer(Response* out) const;
  void status(Response* out) const;
  void help(Response* out) const;
  // The indexes of the databases name stands for ("*" and "!" all of them); false after
  // answering 550 when it names none.
  bool databasesNamed(const std::string& name, std::vector<size_t>* indexes, Response* out) const;

  const Catalogue& catalogue_;
  WorkerDictionaries& dictionaries_;
  ServerStatus& status_;
  bool mime_ = false;
  bool quit_ = false;
};

}  // namespace orviadic::serve
