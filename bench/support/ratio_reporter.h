// A console reporter that ends with each benchmark's cost as a ratio of a baseline
// measured in the same run, against the bar the benchmark has to meet.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace orvia::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Processor time, which a busy shared machine disturbs less than wall time, suits work
  // that computes; work that waits for the disk is measured by the wall clock.
  enum class Clock { kProcessor, kWall };

  // measured must cost at most bar times baseline, per iteration.
  void costAtMost(const std::string& measured, const std::string& baseline, double bar,
                  Clock clock = Clock::kProcessor) {
    bars_.push_back({measured, {baseline}, bar, true, clock});
  }
  // measured must cost at most bar times the sum of its parts, each measured alone.
  void costAtMostSum(const std::string& measured, const std::vector<std::string>& parts, double bar,
                     Clock clock = Clock::kProcessor) {
    bars_.push_back({measured, parts, bar, true, clock});
  }
  // measured must be at least bar times as fast as baseline: in bytes per second where
  // both report it, else by processor time per iteration.
  void speedAtLeast(const std::string& measured, const std::string& baseline, double bar,
                    Clock clock = Clock::kProcessor) {
    bars_.push_back({measured, {baseline}, bar, false, clock});
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      seconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
      wallSeconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
      auto rate = run.counters.find("bytes_per_second");
      if (rate != run.counters.end()) bytesPerSecond_[run.benchmark_name()] = rate->second;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const Bar& bar : bars_) {
      auto& seconds = bar.clock == Clock::kWall ? wallSeconds_ : seconds_;
      auto m = seconds.find(bar.measured);
      double baseline = 0;
      std::string baselineName;
      for (const std::string& part : bar.baselines) {
        auto b = seconds.find(part);
        baseline = b == seconds.end() || baseline < 0 ? -1 : baseline + b->second;
        baselineName += (baselineName.empty() ? "" : " + ") + part;
      }
      if (m == seconds.end() || baseline <= 0 || m->second <= 0) continue;
      double ratio = bar.costBar ? m->second / baseline : baseline / m->second;
      const std::string& first = bar.baselines.front();
      if (!bar.costBar && bytesPerSecond_.count(bar.measured) && bytesPerSecond_.count(first))
        ratio = bytesPerSecond_[bar.measured] / bytesPerSecond_[first];
      bool met = bar.costBar ? ratio <= bar.bar : ratio >= bar.bar;
      std::printf("%s %s %s: %.2fx (bar %s %.2fx) %s\n", bar.measured.c_str(),
                  bar.costBar ? "costs" : "is faster than", baselineName.c_str(), ratio,
                  bar.costBar ? "at most" : "at least", bar.bar, met ? "met" : "MISSED");
    }
  }

 private:
  struct Bar {
    std::string measured;
    std::vector<std::string> baselines;
    double bar;
    bool costBar;
    Clock clock;
  };
  std::vector<Bar> bars_;
  std::map<std::string, double> seconds_, wallSeconds_, bytesPerSecond_;
};

// Runs the registered benchmarks with reporter; the main of every benchmark binary.
inline int runWithRatios(int argc, char** argv, RatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace orvia::bench
