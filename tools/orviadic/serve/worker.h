// A thread serving its share of the connections: it polls their sockets, answers the
// command lines they complete and writes what they can take, all without blocking, so
// that a slow or silent client only ever waits for itself. A connection stays with one
// worker from its greeting to its end, and the worker's dictionary handles are its own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <mutex>
#include <vector>

#include "serve/catalogue.h"
#include "serve/session.h"
#include "serve/worker_dictionaries.h"

namespace orviadic::serve {

class Worker {
 public:
  // idleTimeout: how long a connection may go without completing a command line, or
  // with output it does not read, before it gets 421 and is closed.
  Worker(const Catalogue& catalogue, ServerStatus& status, std::chrono::milliseconds idleTimeout);
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Hands an accepted socket to the worker, which greets it and closes it in the end.
  // Any thread may call it.
  void adopt(int fd);
  // Asks the worker to send 421 to its connections, close them and return from run().
  // Any thread, and a signal handler's thread, may call it.
  void stop();
  // The worker's loop, on its own thread.
  void run();
  // Connections the worker holds now.
  uint32_t load() const { return load_; }

 private:
  struct Connection;
  using Clock = std::chrono::steady_clock;

  void takeAdopted();
  void serve(Connection* c, bool readable, Clock::time_point now);
  void receive(Connection* c);
  void answerLines(Connection* c, Clock::time_point now);
  void sendPending(Connection* c, Clock::time_point now);
  void closeAll(const char* farewell);
  void drop(std::list<Connection>::iterator c);
  int pollTimeout(Clock::time_point now) const;

  ServerStatus& status_;
  WorkerDictionaries dictionaries_;
  const Catalogue& catalogue_;
  std::chrono::milliseconds idleTimeout_;
  int wake_[2] = {-1, -1};  // a pipe: a byte in it wakes the poll
  std::mutex mutex_;        // guards adopted_ and stopping_
  std::vector<int> adopted_;
  bool stopping_ = false;
  std::atomic<uint32_t> load_{0};
  std::list<Connection> connections_;
};

}  // namespace orviadic::serve
