#include "serve/worker.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "serve/listener.h"

namespace orviadic::serve {

struct Worker::Connection {
  Connection(int socket, const Session& s) : fd(socket), session(s) {}
  int fd;
  ConnectionState state;
  Session session;
  // Since when the client has neither completed a command line nor taken all the output
  // it was sent.
  Clock::time_point idleSince = Clock::now();
  bool broken = false;  // the socket failed or the client went away
};

Worker::Worker(const Catalogue& catalogue, ServerStatus& status,
               std::chrono::milliseconds idleTimeout)
    : status_(status), dictionaries_(catalogue), catalogue_(catalogue), idleTimeout_(idleTimeout) {
  if (pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0)
    throw std::runtime_error("a worker cannot make its wake-up pipe");
}

Worker::~Worker() {
  close(wake_[0]);
  close(wake_[1]);
}

void Worker::adopt(int fd) {
  ++load_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    adopted_.push_back(fd);
  }
  const char byte = 1;
  (void)!write(wake_[1], &byte, 1);
}

void Worker::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  const char byte = 1;
  (void)!write(wake_[1], &byte, 1);
}

void Worker::takeAdopted() {
  std::vector<int> adopted;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    adopted.swap(adopted_);
  }
  for (const int fd : adopted) {
    setNonBlocking(fd);
    // Answers are small and a client waits for each: send them at once.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Connection& c = connections_.emplace_back(fd, Session(catalogue_, dictionaries_, status_));
    c.state.send(c.session.banner(++status_.connections));
  }
}

void Worker::serve(Connection* c, bool readable, Clock::time_point now) {
  if (readable) receive(c);
  for (;;) {
    answerLines(c, now);
    sendPending(c, now);
    // Lines held back while the output was full are answered once it has gone out.
    if (c->broken || c->state.finished() || !c->state.pending().empty() || !c->state.hasLine())
      break;
  }
  if (!c->broken && !c->state.finished() && now - c->idleSince >= idleTimeout_) {
    static constexpr char kIdle[] = "421 idle for too long, closing connection\r\n";
    // A client that does not read would leave the farewell unsent: it is dropped.
    if (c->state.pending().empty()) (void)!send(c->fd, kIdle, sizeof kIdle - 1, MSG_NOSIGNAL);
    c->broken = true;
  }
}

void Worker::receive(Connection* c) {
  char buffer[kInputHighWater];
  const size_t room = std::min(sizeof buffer, c->state.receivable());
  if (room == 0) return;
  const ssize_t got = recv(c->fd, buffer, room, 0);
  if (got > 0) {
    c->state.receive(std::string_view(buffer, size_t(got)));
  } else if (got == 0) {
    // The client is done sending: what it asked before is still answered.
    c->state.endInput();
  } else if (errno != EAGAIN && errno != EINTR) {
    c->broken = true;
  }
}

void Worker::answerLines(Connection* c, Clock::time_point now) {
  InputLine line;
  while (c->state.pending().size() < kOutputHighWater) {
    if (!c->state.nextLine(&line)) {
      if (c->state.inputEnded()) c->state.close();
      return;
    }
    c->idleSince = now;
    c->session.answer(line, &c->state);
  }
}

void Worker::sendPending(Connection* c, Clock::time_point now) {
  while (!c->broken && !c->state.pending().empty()) {
    const std::string_view pending = c->state.pending();
    const ssize_t sent = send(c->fd, pending.data(), pending.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno != EAGAIN && errno != EINTR) c->broken = true;
      return;
    }
    c->state.sent(size_t(sent));
    if (c->state.pending().empty()) c->idleSince = now;
  }
}

void Worker::drop(std::list<Connection>::iterator c) {
  close(c->fd);
  connections_.erase(c);
  --load_;
  --status_.open;
}

int Worker::pollTimeout(Clock::time_point now) const {
  Clock::time_point soonest = Clock::time_point::max();
  for (const Connection& c : connections_) soonest = std::min(soonest, c.idleSince + idleTimeout_);
  if (soonest == Clock::time_point::max()) return -1;
  if (soonest <= now) return 0;
  // One millisecond late rather than early, so that the timeout has passed on waking.
  return int(std::chrono::duration_cast<std::chrono::milliseconds>(soonest - now).count()) + 1;
}

void Worker::closeAll(const char* farewell) {
  while (!connections_.empty()) {
    Connection& c = connections_.front();
    if (c.state.pending().empty())
      (void)!send(c.fd, farewell, std::char_traits<char>::length(farewell), MSG_NOSIGNAL);
    drop(connections_.begin());
  }
}

void Worker::run() {
  std::vector<pollfd> polled;
  for (;;) {
    takeAdopted();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) break;
    }
    polled.assign(1, pollfd{wake_[0], POLLIN, 0});
    for (const Connection& c : connections_) {
      const short events = short((c.state.receivable() > 0 ? POLLIN : 0) |
                                 (c.state.pending().empty() ? 0 : POLLOUT));
      polled.push_back(pollfd{c.fd, events, 0});
    }
    if (poll(polled.data(), polled.size(), pollTimeout(Clock::now())) < 0 && errno != EINTR) break;
    char drained[64];
    while (read(wake_[0], drained, sizeof drained) > 0) {
    }
    const Clock::time_point now = Clock::now();
    size_t index = 1;
    for (auto c = connections_.begin(); c != connections_.end(); ++index) {
      const short revents = polled[index].revents;
      serve(&*c, (revents & (POLLIN | POLLHUP | POLLERR)) != 0, now);
      if (c->broken || c->state.finished())
        drop(c++);
      else
        ++c;
    }
  }
  closeAll("421 server shutting down at operator request\r\n");
  // Sockets handed over after the stop are closed unanswered.
  std::lock_guard<std::mutex> lock(mutex_);
  for (const int fd : adopted_) {
    close(fd);
    --load_;
    --status_.open;
  }
}

}  // namespace orviadic::serve
