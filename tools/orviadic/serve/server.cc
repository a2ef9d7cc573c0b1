#include "serve/server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "conventions.h"
#include "serve/listener.h"
#include "serve/worker.h"

namespace orviadic::serve {
namespace {

// The write end of a pipe the signal handler writes to: the only thing a handler may
// safely do to wake a poll.
int signalPipe = -1;

extern "C" void onStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  (void)!write(signalPipe, &byte, 1);
  errno = saved;
}

// The read end of the pipe that SIGINT and SIGTERM write to.
int catchStopSignals() {
  int ends[2];
  if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0)
    throw CommandFailure{kExitError, std::string("cannot make a pipe: ") + std::strerror(errno)};
  signalPipe = ends[1];
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A client that goes away while it is answered makes a write fail, not the server end.
  action.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &action, nullptr);
  return ends[0];
}

void writePidFile(const std::string& path) {
  std::ofstream file(path, std::ios::trunc);
  file << getpid() << '\n';
  if (!file.flush())
    throw CommandFailure{kExitError, "cannot write " + path + ": " + std::strerror(errno)};
}

class Acceptor {
 public:
  Acceptor(const ServeOptions& options, ServerStatus& status,
           std::vector<std::unique_ptr<Worker>>& workers)
      : options_(options), status_(status), workers_(workers) {}

  // Accepts what waits on listener until the queue is empty.
  void acceptAll(int listener) {
    for (;;) {
      const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        place(fd);
        continue;
      }
      // Out of descriptors or memory, the connection waits in the queue: try again a
      // little later instead of spinning on it.
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      return;
    }
  }

 private:
  void place(int fd) {
    if (status_.open >= options_.maxClients) {
      static constexpr char kBusy[] = "420 server temporarily unavailable: too many clients\r\n";
      (void)!send(fd, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      close(fd);
      return;
    }
    ++status_.open;
    Worker* least = workers_.front().get();
    for (const auto& worker : workers_)
      if (worker->load() < least->load()) least = worker.get();
    least->adopt(fd);
  }

  const ServeOptions& options_;
  ServerStatus& status_;
  std::vector<std::unique_ptr<Worker>>& workers_;
};

}  // namespace

void runServer(const ServeOptions& options, const Catalogue& catalogue) {
  const int stopSignals = catchStopSignals();
  Listener listener = listenOn(options.listen, options.port);
  if (!options.pidFile.empty()) writePidFile(options.pidFile);

  ServerStatus status;
  char host[256] = "localhost";
  gethostname(host, sizeof host - 1);
  status.host = host;
  status.maxMatches = options.maxMatches;
  const unsigned threads =
      options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
  const auto idleTimeout =
      std::chrono::milliseconds(int64_t(std::max(0.001, options.idleTimeout) * 1000));
  std::vector<std::unique_ptr<Worker>> workers;
  std::vector<std::thread> running;
  for (unsigned i = 0; i < threads; ++i) {
    workers.push_back(std::make_unique<Worker>(catalogue, status, idleTimeout));
    running.emplace_back(&Worker::run, workers.back().get());
  }
  std::printf("listening on %s\n", listener.address.c_str());
  std::fflush(stdout);

  Acceptor acceptor(options, status, workers);
  pollfd polled[2] = {{listener.fd, POLLIN, 0}, {stopSignals, POLLIN, 0}};
  for (;;) {
    if (poll(polled, 2, -1) < 0 && errno != EINTR) break;
    if (polled[1].revents != 0) break;
    if (polled[0].revents != 0) acceptor.acceptAll(listener.fd);
  }
  close(listener.fd);
  for (const auto& worker : workers) worker->stop();
  for (std::thread& thread : running) thread.join();
  // A pid file already gone is no failure of the server's.
  if (!options.pidFile.empty()) (void)std::remove(options.pidFile.c_str());
}

}  // namespace orviadic::serve
