#include "load_run.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include "response_reader.h"

namespace orvia::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kOn = 1;

struct Connection {
  int socket = -1;
  ResponseReader reader;
  int sent = 0;
  size_t lastRequest = 0;  // in plan.requests
  Clock::time_point sentAt;

  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() { hangUp(); }
  void hangUp() {
    if (socket < 0) return;
    send(socket, "QUIT\r\n", 6, MSG_NOSIGNAL);
    close(socket);
    socket = -1;
  }
};

std::string systemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

bool sendAll(int socket, const std::string& bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    ssize_t n = send(socket, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += static_cast<size_t>(n);
  }
  return true;
}

// Reads the banner, blocking: setting a connection up is part of no request's latency.
std::string readBanner(Connection& c) {
  char buffer[4096];
  for (;;) {
    ssize_t n = recv(c.socket, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return systemError("reading the banner");
    if (n == 0) return "the server closed the connection before its banner";
    size_t used = 0;
    auto progress = c.reader.feed(std::string_view(buffer, static_cast<size_t>(n)), &used);
    if (progress == ResponseReader::Progress::kMalformed) return "a malformed banner";
    if (progress == ResponseReader::Progress::kDone) {
      int status = c.reader.response().status;
      c.reader.reset();
      return status == 220 ? "" : "the banner's status is " + std::to_string(status);
    }
  }
}

std::string connectTo(const LoadPlan& plan, Connection& c) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(plan.port);
  if (inet_pton(AF_INET, plan.host.c_str(), &address.sin_addr) != 1)
    return "not an IPv4 address: " + plan.host;
  c.socket = socket(AF_INET, SOCK_STREAM, 0);
  if (c.socket < 0) return systemError("socket");
  if (connect(c.socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    return systemError("connecting to " + plan.host + ":" + std::to_string(plan.port));
  // Each request is one small write that the server waits for: never hold it back.
  setsockopt(c.socket, IPPROTO_TCP, TCP_NODELAY, &kOn, sizeof kOn);
  return readBanner(c);
}

class Run {
 public:
  Run(const LoadPlan& plan, LoadResult& result) : plan_(plan), result_(result) {}

  std::string sendNext(Connection& c, size_t index) {
    size_t perConnection = static_cast<size_t>(plan_.requestsPerConnection);
    c.lastRequest = (index * perConnection + static_cast<size_t>(c.sent)) % plan_.requests.size();
    c.sentAt = Clock::now();
    ++c.sent;
    if (!sendAll(c.socket, plan_.requests[c.lastRequest] + "\r\n")) return systemError("sending");
    return "";
  }

  // Takes what arrived on c; sends its next request when a reply is complete.
  std::string receive(Connection& c, size_t index, bool* finished) {
    // Linux acknowledges at once only until told again: set before every read. Otherwise a
    // server that writes a reply in several small pieces with Nagle's algorithm on waits for
    // the delayed acknowledgement (40 ms) and the run measures the wait, not the server.
    if (plan_.quickAck) setsockopt(c.socket, IPPROTO_TCP, TCP_QUICKACK, &kOn, sizeof kOn);
    ssize_t n = recv(c.socket, buffer_, sizeof buffer_, 0);
    if (n < 0 && errno == EINTR) return "";
    if (n < 0) return systemError("reading");
    if (n == 0)
      return "the server closed the connection instead of answering: " +
             plan_.requests[c.lastRequest];
    std::string_view bytes(buffer_, static_cast<size_t>(n));
    size_t used = 0;
    auto progress = c.reader.feed(bytes, &used);
    if (progress == ResponseReader::Progress::kMalformed)
      return "a malformed reply to: " + plan_.requests[c.lastRequest];
    if (progress == ResponseReader::Progress::kMore) return "";
    if (used != bytes.size()) return "the server sent more than the reply it was asked for";
    result_.latencies.push_back(std::chrono::duration<double>(Clock::now() - c.sentAt).count());
    count(c.reader.response());
    c.reader.reset();
    if (c.sent == plan_.requestsPerConnection) {
      *finished = true;
      c.hangUp();
      return "";
    }
    if (c.sent % plan_.requestsPerSession == 0) {
      c.hangUp();
      std::string failure = connectTo(plan_, c);
      if (!failure.empty()) return failure;
    }
    return sendNext(c, index);
  }

 private:
  void count(const DictResponse& response) {
    if (response.status == 250) {
      ++result_.answered;
    } else if (response.status == 552) {
      ++result_.noMatch;
    } else {
      ++result_.refused;
    }
    result_.definitions += static_cast<uint64_t>(response.definitions);
    result_.matches += static_cast<uint64_t>(response.matches);
  }

  const LoadPlan& plan_;
  LoadResult& result_;
  char buffer_[64 * 1024];
};

}  // namespace

LoadResult runLoad(const LoadPlan& plan) {
  LoadResult result;
  size_t count = static_cast<size_t>(plan.connections);
  std::vector<Connection> connections(count);
  std::vector<pollfd> waiting(count);
  for (size_t i = 0; i < count; ++i) {
    result.failure = connectTo(plan, connections[i]);
    if (!result.failure.empty()) return result;
    waiting[i] = {connections[i].socket, POLLIN, 0};
  }
  result.latencies.reserve(count * static_cast<size_t>(plan.requestsPerConnection));
  auto run = std::make_unique<Run>(plan, result);
  Clock::time_point start = Clock::now();
  for (size_t i = 0; i < count && result.failure.empty(); ++i)
    result.failure = run->sendNext(connections[i], i);
  size_t open = count;
  while (open > 0 && result.failure.empty()) {
    int ready = poll(waiting.data(), waiting.size(), plan.stallSeconds * 1000);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      result.failure = ready == 0 ? "the server stopped answering" : systemError("poll");
      break;
    }
    for (size_t i = 0; i < count && result.failure.empty(); ++i) {
      if (waiting[i].revents == 0) continue;
      bool finished = false;
      result.failure = run->receive(connections[i], i, &finished);
      // A finished connection is left out of poll by a negative descriptor; one that
      // started over has a new one.
      waiting[i].fd = connections[i].socket;
      if (finished) --open;
    }
  }
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return result;
}

}  // namespace orvia::bench
