// The owner-word exchange, wall clock (it waits for the disk):
//   - import and export of 10,000 items, half records and half notes, in items per second.
//     Bar: the export costs at most 0.75x the import, which seeks and inserts per item.
//   - import of 1,000 items (500 records, 500 notes) against the same entries added one
//     call at a time through dicAddRecord and dicAddMem, the way a program without the
//     exchange moves them. Bar: at most 0.1x: files opened once, against a lock, opens
//     and a search per entry.
//   - the same import into a dictionary that holds 100,000 user records, against one
//     holding 1,000. Bar: at most 2x the cost per item.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/bytes.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "orviadic.h"
#include "support/ratio_reporter.h"
#include "support/temp_dir.h"
#include "support/test_module.h"

namespace {

using namespace orvia;

constexpr uint32_t kDictId = 0x00010101;
constexpr uint32_t kHalf = 5000;

std::string numbered(char prefix, uint32_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%06u", prefix, n);
  return text;
}

std::string u32(uint32_t v) {
  uint8_t bytes[4];
  storeU32Le(bytes, v);
  return std::string(bytes, bytes + 4);
}

std::string item(const std::string& keyArea, const std::string& text) {
  return u32(uint32_t(keyArea.size())) + keyArea + u32(uint32_t(text.size())) + text;
}

std::string textOf(const std::string& word) {
  return word + "\r\n" + std::string(120, 'x');
}

// An exchange file: records new words n<first>..., notes on own words w000000...
std::string exchangeFile(uint32_t first, uint32_t records, uint32_t notes) {
  std::string items;
  for (uint32_t i = 0; i < records; ++i)
    items += item(numbered('n', first + i) + std::string("\0\0\0\xB8", 4),
                  textOf(numbered('n', first + i)));
  for (uint32_t i = 0; i < notes; ++i) {
    const std::string w = numbered('w', i);
    items += item(w + '\0' + w + '\0' + '\0', textOf(w));
  }
  const std::string section =
      u32(kDictId) + u32(records) + u32(notes) + u32(16 + uint32_t(items.size())) + items;
  return "FWOS" + u32(1) + u32(1) + u32(16 + uint32_t(section.size())) + section;
}

std::string fileOf(const std::string& folder, uint32_t id, const char* extension) {
  char name[16];
  dict::buildDictFileName(id, name, extension);
  return folder + "/" + name;
}

// One registry for the run; its "PATH" names the folder a benchmark works in.
struct Run {
  testing::TempDir dir;
  Run() { testing::loadModuleOverTestRegistry(dir.path()); }
  void use(const std::string& folder) const {
    testing::writeTestKey("\"PATH\"=\"" + folder + "\"\r\n");
  }
  // A folder with kHalf own words w000000..., empty companions and, when prefill is not 0,
  // prefill user records imported; made once per name.
  std::string dictionary(const std::string& name, uint32_t prefill) const {
    const std::string folder = dir.file(name);
    if (std::filesystem::exists(folder)) return folder;
    std::filesystem::create_directory(folder);
    std::string records;
    for (uint32_t i = 0; i < kHalf; ++i) {
      const std::string w = numbered('w', i);
      const std::string data = w + '\0' + w + '\0' + '\0' + '\xB8';
      records += u32(16 + uint32_t(data.size())) + u32(kDictId) + u32(0x100 + i) + u32(0) + data;
    }
    DbContentName names[1] = {{kDictId, {}}};
    dict::buildDictFileName(kDictId, names[0].name, ".DAT");
    dbBulkLoad(fileOf(folder, kDictId, ".IDX").c_str(), lang::getCompareKeysFn(1), records.data(),
               uint32_t(records.size()), kHalf, names, 1);
    for (uint32_t id : {dict::recordDictId(kDictId), dict::memDictId(kDictId)}) {
      dbCreate(fileOf(folder, id, ".IDX").c_str());
      testing::writeFileBytes(fileOf(folder, id, ".DAT"), std::string(4, '\0'));
    }
    if (prefill != 0) {
      use(folder);
      const std::string path = dir.file(name + ".fwos");
      testing::writeFileBytes(path, exchangeFile(500000, prefill, 0));
      dicImportOwnerWord(kDictId, path.c_str(), nullptr);
    }
    return folder;
  }
  // A fresh copy of a made folder, which PATH then names.
  void copyToWork(const std::string& folder) const {
    const std::string work = dir.file("work");
    std::filesystem::remove_all(work);
    std::filesystem::copy(folder, work);
    use(work);
  }
};

const Run& run() {
  static Run r;
  return r;
}

void importInto(benchmark::State& state, const std::string& folder, const std::string& file,
                uint32_t items) {
  for (auto _ : state) {
    state.PauseTiming();
    run().copyToWork(folder);
    state.ResumeTiming();
    if (dicImportOwnerWord(kDictId, file.c_str(), nullptr) == 0) state.SkipWithError("refused");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * items);
}

void BM_ImportTenThousand(benchmark::State& state) {
  const std::string file = run().dir.file("ten.fwos");
  testing::writeFileBytes(file, exchangeFile(0, kHalf, kHalf));
  importInto(state, run().dictionary("plain", 0), file, 2 * kHalf);
}

void BM_ExportTenThousand(benchmark::State& state) {
  const std::string file = run().dir.file("ten.fwos"), out = run().dir.file("out.fwos");
  run().copyToWork(run().dictionary("plain", 0));
  dicImportOwnerWord(kDictId, file.c_str(), nullptr);
  for (auto _ : state)
    if (dicExportOwnerWord(kDictId, const_cast<char*>(out.c_str())) == 0)
      state.SkipWithError("refused");
  state.SetItemsProcessed(int64_t(state.iterations()) * 2 * kHalf);
}

void BM_AddThousandThroughEdits(benchmark::State& state) {
  const std::string folder = run().dictionary("plain", 0);
  for (auto _ : state) {
    state.PauseTiming();
    run().copyToWork(folder);
    state.ResumeTiming();
    HDICT* dict = dicCreateHDICT(kDictId);
    for (uint32_t i = 0; i < 500; ++i) {
      const std::string n = numbered('n', i), w = numbered('w', i);
      HWORD* word = dicSearchWord(dict, w.c_str());
      if (dicAddRecord(dict, n.c_str(), 0, textOf(n).c_str(), 0) == 0 ||
          dicAddMem(word, textOf(w).c_str(), 0) == 0)
        state.SkipWithError("refused");
      dicFreeHWORD(word);
    }
    dicFreeHDICT(dict);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 1000);
}

// 500 new records and 500 notes into a dictionary holding state.range(0) user records.
void BM_ImportThousandInto(benchmark::State& state) {
  const uint32_t held = uint32_t(state.range(0));
  const std::string file = run().dir.file("thousand.fwos");
  testing::writeFileBytes(file, exchangeFile(0, 500, 500));
  importInto(state, run().dictionary("held" + std::to_string(held), held), file, 1000);
}

BENCHMARK(BM_AddThousandThroughEdits)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportTenThousand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportTenThousand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportThousandInto)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  using orvia::bench::RatioReporter;
  RatioReporter reporter;
  const auto wall = RatioReporter::Clock::kWall;
  reporter.costAtMost("BM_ExportTenThousand/real_time", "BM_ImportTenThousand/real_time", 0.75,
                      wall);
  reporter.costAtMost("BM_ImportThousandInto/1000/real_time",
                      "BM_AddThousandThroughEdits/real_time", 0.1, wall);
  reporter.costAtMost("BM_ImportThousandInto/100000/real_time",
                      "BM_ImportThousandInto/1000/real_time", 2.0, wall);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
