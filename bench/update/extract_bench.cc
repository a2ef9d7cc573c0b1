// Extraction of a new-word file into its companion's two files, through the copy's one
// 2,048-byte buffer, against the same two ranges copied with one buffer the size of the
// range (the least a copy can cost). Both write through the page cache: wall clock.
// Images: 8 MiB each. Bar: extraction >= 0.1x the whole-range copy, in bytes per second: each 2 KiB
// costs a read and a write of its own.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "support/ratio_reporter.h"
#include "support/temp_dir.h"
#include "support/test_module.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"

namespace {

using namespace orvia;

constexpr uint32_t kImageSize = 8u << 20;

// A folder the registry's "PATH" names, holding one new-word file of two images.
struct Fixture {
  testing::TempDir dir;
  std::string file = dir.file("list.bin");
  Fixture() {
    testing::loadModuleOverTestRegistry(dir.path());
    testing::writeTestKey("\"PATH\"=\"" + dir.path() + "\"\r\n");
    std::string bytes(40 + 2 * size_t(kImageSize), 'x');
    const uint32_t header[10] = {0x01020304, 1,  0,          0,          0,
                                 0,          40, kImageSize, kImageSize, 2 * kImageSize};
    for (int i = 0; i < 10; ++i)
      for (int b = 0; b < 4; ++b) bytes[size_t(4 * i + b)] = char(header[i] >> (8 * b));
    testing::writeFileBytes(file, bytes);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ExtractNewWordFile(benchmark::State& state) {
  content::FileHandle file = update::openNewWordFile(fixture().file.c_str());
  for (auto _ : state)
    if (!update::extractNewWordFile(file).ok()) state.SkipWithError("extraction failed");
  content::closeFile(file);
  state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kImageSize);
}

void BM_CopyWholeRanges(benchmark::State& state) {
  content::FileHandle file = content::openFileRead(fixture().file.c_str());
  std::vector<uint8_t> buffer(kImageSize);
  for (auto _ : state) {
    for (uint32_t image = 0; image < 2; ++image) {
      const std::string path = fixture().dir.file(image == 0 ? "copy.IDX" : "copy.DAT");
      content::FileHandle out = content::createFileReadWrite(path.c_str());
      if (content::readFileAt(file, 40 + image * kImageSize, kImageSize, buffer.data()) !=
              kImageSize ||
          content::writeFileAt(out, 0, kImageSize, buffer.data()) != kImageSize)
        state.SkipWithError("copy failed");
      content::closeFile(out);
    }
  }
  content::closeFile(file);
  state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kImageSize);
}

BENCHMARK(BM_CopyWholeRanges)->UseRealTime();
BENCHMARK(BM_ExtractNewWordFile)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.speedAtLeast("BM_ExtractNewWordFile/real_time", "BM_CopyWholeRanges/real_time", 0.1,
                        orvia::bench::RatioReporter::Clock::kWall);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
