// dicGetContent of random GCIDE words against the work it cannot avoid, each part
// measured alone: resolving the data file's path, opening and closing it, and reading and
// decoding the record on a file already open.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "content/content_record.h"
#include "content/file_access.h"
#include "dict/config.h"
#include "gcide_fixture.h"
#include "support/ratio_reporter.h"

namespace orvia::bench {
namespace {

constexpr size_t kSampleSize = 2048;
constexpr char kDataFileName[] = "00010101.DAT";

struct Sample {
  std::vector<HWORD*> words;
  std::vector<uint32_t> offsets, sizes;
};

const Sample& sample() {
  static const Sample s = [] {
    Sample out;
    std::mt19937 rng(7);
    const uint32_t count = uint32_t(gcide()->contentOffsets.size());
    while (out.words.size() < kSampleSize) {
      const uint32_t n = rng() % count;
      HWORD* word = dicSearchRecord(gcide()->dict, n);
      out.words.push_back(word);
      out.offsets.push_back(gcide()->contentOffsets[n]);
      out.sizes.push_back(dicGetContentSize(word, kGcideId));
    }
    return out;
  }();
  return s;
}

std::vector<char>& buffer() {
  static std::vector<char> b(1 << 20);
  return b;
}

bool ready(benchmark::State& state) {
  if (gcide() == nullptr) {
    state.SkipWithError("dict-gcide is not installed");
    return false;
  }
  return true;
}

void BM_GetContent(benchmark::State& state) {
  if (!ready(state)) return;
  const Sample& s = sample();
  size_t i = 0, bytes = 0;
  for (auto _ : state) {
    const size_t k = i++ % kSampleSize;
    bytes += dicGetContent(s.words[k], kGcideId, buffer().data(), s.sizes[k] + 1);
  }
  state.SetBytesProcessed(int64_t(bytes));
}

void BM_ResolvePath(benchmark::State& state) {
  if (!ready(state)) return;
  if (!dict::moduleState().loaded) dict::moduleLoad(nullptr);
  char path[dict::kMaxPath];
  for (auto _ : state) {
    benchmark::DoNotOptimize(dict::resolveDictFilePath(kGcideId, path, sizeof path, kDataFileName));
  }
}

void BM_OpenClose(benchmark::State& state) {
  if (!ready(state)) return;
  const char* path = gcide()->dataPath.c_str();
  for (auto _ : state) content::closeFile(content::openFileRead(path));
}

void BM_DecodeOnOpenFile(benchmark::State& state) {
  if (!ready(state)) return;
  const Sample& s = sample();
  content::FileHandle file = content::openFileRead(gcide()->dataPath.c_str());
  size_t i = 0, bytes = 0;
  for (auto _ : state) {
    const size_t k = i++ % kSampleSize;
    uint32_t length = 0;
    content::contentTextAt(file, s.offsets[k], buffer().data(), s.sizes[k] + 1, &length);
    bytes += length;
  }
  content::closeFile(file);
  state.SetBytesProcessed(int64_t(bytes));
}

BENCHMARK(BM_GetContent);
BENCHMARK(BM_ResolvePath);
BENCHMARK(BM_OpenClose);
BENCHMARK(BM_DecodeOnOpenFile);

}  // namespace
}  // namespace orvia::bench

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMostSum("BM_GetContent", {"BM_ResolvePath", "BM_OpenClose", "BM_DecodeOnOpenFile"},
                         2);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
