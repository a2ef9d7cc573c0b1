// A load run against a DICT server: a number of connections, each sending its requests one
// after another, every next one as soon as the reply to the last is complete, all served by
// one thread so that the generator's own cost stays small beside the server's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvia::bench {

struct LoadPlan {
  std::string host = "127.0.0.1";
  uint16_t port = 2628;
  int connections = 1;
  int requestsPerConnection = 1000;
  // Request lines without their CR LF. Connection c sends, as its i-th request,
  // requests[(c * requestsPerConnection + i) % requests.size()].
  std::vector<std::string> requests;
  // dictd ends a connection after 2,000 commands, so a connection starts over after this
  // many requests; setting up the new one counts in the run's time, in no latency.
  int requestsPerSession = 1000;
  // Acknowledge every reply's bytes at once instead of delaying it, as the kernel does
  // for an ordinary client.
  bool quickAck = true;
  int stallSeconds = 10;  // a server silent this long fails the run
};

struct LoadResult {
  std::string failure;    // empty when every connection got every reply
  uint64_t answered = 0;  // final status 250
  uint64_t noMatch = 0;   // final status 552
  uint64_t refused = 0;   // any other final status
  uint64_t definitions = 0;
  uint64_t matches = 0;
  double seconds = 0;             // from the first request sent to the last reply read
  std::vector<double> latencies;  // seconds, one per reply
};

// REQUIRES: plan.requests is not empty and plan.connections > 0.
LoadResult runLoad(const LoadPlan& plan);

}  // namespace orvia::bench
