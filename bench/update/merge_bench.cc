// The new-word merge through dicAddNewWord. GCIDE is installed as 0x00010101 and compiled
// again as the target 0x01010101; a file of 10,000 new words is merged into fresh copies
// of both (reported in records per second). Then the cost per record of merging 2,000 new
// words into synthetic targets of 20,000 and 2,000,000 records, with its parts measured
// alone: the lock taken and released, the content records copied, the inserts.
// Bar: a record into 2,000,000 costs at most 2x a record into 20,000 (wall clock: the
// merge waits for the disk).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "compile/newword_writer.h"
#include "compile/source/tsv_source.h"
#include "dict/gcide_fixture.h"
#include "dict/handles.h"
#include "edit/write_lock.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/ratio_reporter.h"
#include "update/content_copy.h"

namespace {

using namespace orvia;
namespace fs = std::filesystem;

std::string fileOf(uint32_t id, const char* extension) {
  char name[16];
  std::snprintf(name, sizeof name, "%08X%s", id, extension);
  return bench::benchFolder() + "/" + name;
}

// A new-word file for target of count words no dictionary here has, each its own text.
std::string newWordFile(uint32_t target, uint32_t count) {
  const std::string tsv = fileOf(target, ".tsv"), path = fileOf(target, ".bin");
  std::ofstream out(tsv);
  out << "headword\ttext\n";
  for (uint32_t n = 0; n < count; ++n) out << "zq" << n << "\tNew word number " << n << ".\n";
  out.close();
  compile::NewWordFileOptions options;
  options.targetDictId = target;
  options.listVersion = 1;
  options.path = path;
  compile::WrittenNewWordFile written;
  std::string problem;
  const auto open = [&tsv](std::string*) {
    auto source = std::make_unique<compile::TsvSource>();
    source->open(tsv);
    return source;
  };
  return compile::writeNewWordFile(open, options, &written, &problem) ? path : "";
}

// Files put back as they were before each merge, and written through to the disk: the
// merge syncs its target, which would otherwise wait for the whole copy as well.
void restore(uint32_t id) {
  for (const char* extension : {".IDX", ".DAT"}) {
    const std::string path = fileOf(id, extension);
    if (!fs::exists(path + ".orig")) continue;
    fs::copy_file(path + ".orig", path, fs::copy_options::overwrite_existing);
    const int fd = open(path.c_str(), O_RDONLY);
    fsync(fd);
    close(fd);
  }
}
void keep(uint32_t id) {
  for (const char* extension : {".IDX", ".DAT"})
    fs::copy_file(fileOf(id, extension), fileOf(id, extension) + ".orig",
                  fs::copy_options::overwrite_existing);
}

void runMerges(benchmark::State& state, const std::string& file, uint32_t target, uint32_t words,
               uint32_t installed) {
  for (auto _ : state) {
    state.PauseTiming();
    restore(target);
    if (installed != 0) restore(installed);
    state.ResumeTiming();
    if (dicAddNewWord(file.c_str()) != 1) state.SkipWithError("merge failed");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * words);
}

void BM_MergeIntoGcide(benchmark::State& state) {
  if (bench::gcide() == nullptr) return state.SkipWithError("dict-gcide is not installed");
  static const std::string file = [] {
    for (const char* extension : {".IDX", ".DAT"})
      fs::copy_file(fileOf(bench::kGcideId, extension), fileOf(0x01010101, extension));
    for (uint32_t companion : {0x7F010101u, 0xFF010101u}) {
      dbCreate(fileOf(companion, ".IDX").c_str());
      std::ofstream(fileOf(companion, ".DAT"), std::ios::binary) << std::string(4, '\0');
    }
    keep(0x01010101);
    keep(bench::kGcideId);
    return newWordFile(0x01010101, 10000);
  }();
  runMerges(state, file, 0x01010101, 10000, bench::kGcideId);
}

constexpr uint32_t kSyntheticWords = 2000;

// A target of kind 0x81 beside a synthetic index of count records, with an empty data file.
uint32_t syntheticTarget(uint32_t count) {
  if (bench::syntheticDictionary(count) == nullptr) return 0;
  const uint32_t id = 0x81000000 | (bench::syntheticDictionary(count)->dictId & 0xFFFFFF);
  if (!fs::exists(fileOf(id, ".IDX"))) {
    fs::copy_file(fileOf(bench::syntheticDictionary(count)->dictId, ".IDX"), fileOf(id, ".IDX"));
    std::ofstream(fileOf(id, ".DAT"), std::ios::binary);
    keep(id);
  }
  return id;
}

void BM_MergeIntoSynthetic(benchmark::State& state) {
  const uint32_t target = syntheticTarget(uint32_t(state.range(0)));
  const std::string file = newWordFile(target, kSyntheticWords);
  runMerges(state, file, target, kSyntheticWords, 0);
}

// The parts, kSyntheticWords times each.
void BM_PartLock(benchmark::State& state) {
  for (auto _ : state)
    for (uint32_t n = 0; n < kSyntheticWords; ++n) edit::WriteLock lock;
  state.SetItemsProcessed(int64_t(state.iterations()) * kSyntheticWords);
}

void BM_PartCopy(benchmark::State& state) {
  const std::string from = fileOf(0x01010101, ".copy");
  std::ofstream(from, std::ios::binary) << std::string(64, '\0').replace(0, 1, "\x40");
  content::FileHandle in = content::openFileRead(from.c_str());
  content::FileHandle out = content::createFileReadWrite(fileOf(0x01010101, ".sink").c_str());
  HeapBuffer buffer(2048);
  for (auto _ : state) {
    uint32_t offset = 0;
    for (uint32_t n = 0; n < kSyntheticWords; ++n)
      if (!update::copyContentRecord(in, 0, out, &offset, &buffer).ok())
        state.SkipWithError("copy failed");
  }
  content::closeFile(in);
  content::closeFile(out);
  state.SetItemsProcessed(int64_t(state.iterations()) * kSyntheticWords);
}

void BM_PartInserts(benchmark::State& state) {
  const uint32_t target = syntheticTarget(uint32_t(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    restore(target);
    DBHANDLE db = dbOpen(fileOf(target, ".IDX").c_str(), lang::getCompareKeysFn(1));
    state.ResumeTiming();
    for (uint32_t n = 0; n < kSyntheticWords; ++n) {
      const std::string area = "zq" + std::to_string(n) + std::string(3, '\0') + "\xB8";
      const DbInsertDescriptor record{"81000000.DAT", target, n, uint32_t(area.size()),
                                      area.data()};
      if (dbInsert(db, &record) == 0) state.SkipWithError("insert failed");
    }
    dbClose(db);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kSyntheticWords);
}

BENCHMARK(BM_MergeIntoGcide)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeIntoSynthetic)
    ->Arg(20000)
    ->Arg(2000000)
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartLock)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartCopy)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartInserts)
    ->Arg(20000)
    ->Arg(2000000)
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_MergeIntoSynthetic/2000000/iterations:5/real_time",
                      "BM_MergeIntoSynthetic/20000/iterations:5/real_time", 2.0,
                      orvia::bench::RatioReporter::Clock::kWall);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
