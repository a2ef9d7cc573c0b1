// dict_load: a load generator for DICT servers. Sends DEFINE or MATCH requests for the words
// of a file over a number of connections and prints one line: the requests answered, those
// with no match, the run's time, requests per second and the replies' mean, p50 and p99
// latency.
//
// usage: dict_load --port N [--host ADDR] [--db NAME] [--connections N] [--requests N]
//                  [--strategy NAME] [--delayed-ack] --words FILE
// --requests is the total, split evenly over the connections (default 10000); with
// --strategy each request is MATCH DB STRATEGY WORD, else DEFINE DB WORD. It acknowledges
// replies at once, unless --delayed-ack leaves that to the kernel as an ordinary client
// does. Exits 1 when a
// connection fails or a reply breaks the protocol, 2 on a usage error.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "load_run.h"
#include "serve/command_parser.h"

namespace {

using orvia::bench::LoadPlan;
using orvia::bench::LoadResult;

struct Options {
  LoadPlan plan;
  std::string db = "*";
  std::string strategy;
  std::string wordsFile;
  long requests = 10000;
};

[[noreturn]] void usage(const std::string& why) {
  std::fprintf(stderr,
               "dict_load: %s\nusage: dict_load --port N [--host ADDR] [--db NAME] "
               "[--connections N] [--requests N] [--strategy NAME] [--delayed-ack] --words FILE\n",
               why.c_str());
  std::exit(2);
}

long number(const std::string& name, const char* text, long most) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 1 || value > most)
    usage(name + " takes a number from 1 to " + std::to_string(most));
  return value;
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; i += 2) {
    std::string name = argv[i];
    if (name == "--delayed-ack") {
      o.plan.quickAck = false;
      --i;
      continue;
    }
    if (i + 1 >= argc) usage(name + " needs a value");
    const char* value = argv[i + 1];
    if (name == "--port") {
      o.plan.port = static_cast<uint16_t>(number(name, value, 65535));
    } else if (name == "--host") {
      o.plan.host = value;
    } else if (name == "--db") {
      o.db = value;
    } else if (name == "--connections") {
      o.plan.connections = static_cast<int>(number(name, value, 1000));
    } else if (name == "--requests") {
      o.requests = number(name, value, 100000000);
    } else if (name == "--strategy") {
      o.strategy = value;
    } else if (name == "--words") {
      o.wordsFile = value;
    } else {
      usage("unknown option " + name);
    }
  }
  if (o.wordsFile.empty()) usage("--words is required");
  if (o.requests < o.plan.connections) usage("fewer requests than connections");
  o.plan.requestsPerConnection = static_cast<int>(o.requests / o.plan.connections);
  return o;
}

std::vector<std::string> requestLines(const Options& o) {
  std::ifstream in(o.wordsFile);
  if (!in) usage("cannot read " + o.wordsFile);
  std::string verb =
      o.strategy.empty() ? "DEFINE " + o.db + " " : "MATCH " + o.db + " " + o.strategy + " ";
  std::vector<std::string> lines;
  for (std::string word; std::getline(in, word);)
    if (!word.empty()) lines.push_back(verb + orviadic::serve::quotedWord(word));
  if (lines.empty()) usage(o.wordsFile + " holds no words");
  return lines;
}

// The nearest-rank percentile of sorted values.
double percentile(const std::vector<double>& sorted, double p) {
  size_t rank = static_cast<size_t>(std::ceil(p * static_cast<double>(sorted.size())));
  return sorted[std::max<size_t>(rank, 1) - 1];
}

}  // namespace

int main(int argc, char** argv) {
  Options options = parse(argc, argv);
  options.plan.requests = requestLines(options);
  LoadResult result = orvia::bench::runLoad(options.plan);
  if (!result.failure.empty()) {
    std::fprintf(stderr, "dict_load: %s\n", result.failure.c_str());
    return 1;
  }
  std::sort(result.latencies.begin(), result.latencies.end());
  size_t replies = result.latencies.size();
  std::printf(
      "requests=%zu answered=%llu no_match=%llu refused=%llu definitions=%llu matches=%llu "
      "seconds=%.4f per_second=%.1f mean_ms=%.4f p50_ms=%.4f p99_ms=%.4f\n",
      replies, static_cast<unsigned long long>(result.answered),
      static_cast<unsigned long long>(result.noMatch),
      static_cast<unsigned long long>(result.refused),
      static_cast<unsigned long long>(result.definitions),
      static_cast<unsigned long long>(result.matches), result.seconds,
      static_cast<double>(replies) / result.seconds,
      std::accumulate(result.latencies.begin(), result.latencies.end(), 0.0) * 1000 /
          static_cast<double>(replies),
      percentile(result.latencies, 0.50) * 1000, percentile(result.latencies, 0.99) * 1000);
  return result.refused == 0 ? 0 : 1;
}
