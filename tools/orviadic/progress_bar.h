// The progress bar the long-running subcommands draw on stderr.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace orviadic {

// A bar on stderr, drawn only where a person watches it.
class ProgressBar {
 public:
  explicit ProgressBar(bool shown) : shown_(shown) {}
  ~ProgressBar() { finish(); }

  void update(const char* pass, uint64_t done, uint64_t total) {
    if (!shown_ || total == 0) return;
    const int width = 40;
    int filled = int(done >= total ? width : done * width / total);
    int percent = int(done >= total ? 100 : done * 100 / total);
    if (filled == lastFilled_ && percent == lastPercent_ && pass == lastPass_) return;
    lastFilled_ = filled;
    lastPercent_ = percent;
    lastPass_ = pass;
    std::fprintf(stderr, "\r%-9s [%s%s] %3d%%", pass, std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(width - filled), ' ').c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
  }

  void finish() {
    if (drawn_) std::fprintf(stderr, "\r%*s\r", 60, "");
    drawn_ = false;
  }

 private:
  bool shown_;
  bool drawn_ = false;
  int lastFilled_ = -1, lastPercent_ = -1;
  const char* lastPass_ = nullptr;
};

}  // namespace orviadic
