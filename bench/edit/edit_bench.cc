// dicAddMem and dicAddRecord into companions holding 100,000 entries against 1,000: the
// cost of an add must not grow with the number of entries (bar 2x, wall clock, since
// closing an index that was written syncs it). Beside them the parts of an add at
// 100,000, each measured alone: opening and closing the memory dictionary, the writers'
// lock, the seek and read of the neighbouring note, the user-entry write (its file opened,
// appended to, closed), and an insert with the close that syncs it.
//
// The companions' user-entry files are sparse: an add reads only the free-list head and
// the file's size, never the blocks of other entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "content/user_entry_file.h"
#include "dict/dict_id.h"
#include "dict/handles.h"
#include "dict/index_record.h"
#include "edit/write_lock.h"
#include "gcide_fixture.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/ratio_reporter.h"

namespace orvia::bench {
namespace {

constexpr uint32_t kFirstId = 0x00030101;
constexpr int kAdds = 300;

std::string keyOf(uint32_t n) {
  char key[6];
  for (int i = 5; i >= 0; --i, n /= 26) key[i] = char('a' + n % 26);
  return std::string(key, 6);
}

std::string pathOf(uint32_t id, const char* extension) {
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(id, name, extension);
  return benchFolder() + "/" + name;
}

// Bulk loads the records {key n, contentDictId, head offset} for the keys n given; even
// keys' content is in evenContent, odd keys' in oddContent.
bool loadIndex(uint32_t id, const std::vector<uint32_t>& keys, uint32_t evenContent,
               uint32_t oddContent) {
  std::string records;
  for (uint32_t n : keys) {
    const std::string area = keyOf(n) + '\0' + '\0' + '\0' + char(dict::kDefaultVcode);
    uint8_t header[16];
    storeU32Le(header, uint32_t(16 + area.size()));
    storeU32Le(header + 4, n % 2 == 0 ? evenContent : oddContent);
    storeU32Le(header + 8, 4 + n * 512);
    storeU32Le(header + 12, 0);
    records.append(reinterpret_cast<const char*>(header), 16);
    records += area;
  }
  std::vector<DbContentName> names;
  for (uint32_t content : {id, dict::recordDictId(id), dict::memDictId(id)}) {
    DbContentName name{content, {}};
    dict::buildDictFileName(content, name.name, ".DAT");
    names.push_back(name);
  }
  return dbBulkLoad(pathOf(id, ".IDX").c_str(), lang::getCompareKeysFn(1), records.data(),
                    uint32_t(records.size()), uint32_t(keys.size()), names.data(),
                    uint32_t(names.size())) == 1;
}

// A sparse user-entry file the size of entries two-block entries, free list empty.
bool makeUserEntryFile(uint32_t id, uint32_t entries) {
  const std::string path = pathOf(id, ".DAT");
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fclose(file);
  return truncate(path.c_str(), off_t(4) + off_t(entries) * 512) == 0;
}

// A dictionary of 2 * entries words: the even ones the user's records, also in the
// record companion, with notes on them in the memory companion; the odd ones its own.
HDICT* dictionaryWith(uint32_t entries) {
  static std::map<uint32_t, HDICT*> built;
  if (built.count(entries) != 0) return built[entries];
  const uint32_t id = kFirstId + (uint32_t(built.size()) << 16);
  const uint32_t recordId = dict::recordDictId(id), memId = dict::memDictId(id);
  std::vector<uint32_t> all, even;
  for (uint32_t n = 0; n < 2 * entries; ++n) {
    all.push_back(n);
    if (n % 2 == 0) even.push_back(n);
  }
  const bool made = loadIndex(id, all, recordId, id) &&
                    loadIndex(recordId, even, recordId, recordId) &&
                    loadIndex(memId, even, memId, memId) && makeUserEntryFile(recordId, entries) &&
                    makeUserEntryFile(memId, entries);
  return built[entries] = made ? dicCreateHDICT(id) : nullptr;
}

bool ready(benchmark::State& state, HDICT* dict) {
  if (dict == nullptr) state.SkipWithError("the dictionaries could not be made");
  return dict != nullptr;
}

// Notes on the odd words, which have none.
void BM_AddMem(benchmark::State& state) {
  HDICT* dict = dictionaryWith(uint32_t(state.range(0)));
  if (!ready(state, dict)) return;
  std::vector<HWORD*> words;
  for (uint32_t i = 0; i < kAdds; ++i) words.push_back(dicSearchRecord(dict, 2 * i + 1));
  const std::string note(300, 'n');
  size_t i = 0;
  for (auto _ : state) {
    if (dicAddMem(words[i++], note.c_str(), 0) != 1) state.SkipWithError("dicAddMem failed");
  }
  for (HWORD* word : words) dicFreeHWORD(word);
}

// New words between the ones there.
void BM_AddRecord(benchmark::State& state) {
  HDICT* dict = dictionaryWith(uint32_t(state.range(0)));
  if (!ready(state, dict)) return;
  const std::string text(300, 'r');
  uint32_t i = 0;
  for (auto _ : state) {
    const std::string word = keyOf(2 * i++ + 1) + "x";
    if (dicAddRecord(dict, word.c_str(), 0, text.c_str(), 0) != 1)
      state.SkipWithError("dicAddRecord failed");
  }
}

void BM_OpenCloseMemoryDictionary(benchmark::State& state) {
  HDICT* dict = dictionaryWith(uint32_t(state.range(0)));
  if (!ready(state, dict)) return;
  for (auto _ : state) dicFreeHDICT(dicCreateHDICT(dict::memDictId(dict->dictId)));
}

void BM_WriteLock(benchmark::State& state) {
  for (auto _ : state) edit::runUnderWriteLock([] { return 0; });
}

void BM_SeekAndRead(benchmark::State& state) {
  HDICT* dict = dictionaryWith(uint32_t(state.range(0)));
  if (!ready(state, dict)) return;
  DBHANDLE db =
      dbOpen(pathOf(dict::memDictId(dict->dictId), ".IDX").c_str(), lang::getCompareKeysFn(1));
  uint8_t record[dict::kRecordBlockSize];
  uint32_t i = 0;
  for (auto _ : state) {
    const std::string key = keyOf(2 * (i++ % 1000) + 1) + std::string(3, '\0');
    uint32_t size = dict::kMaxIndexRecordSize;
    benchmark::DoNotOptimize(dbSeek(db, key.c_str()) + dbGetRecord(db, &size, record));
  }
  dbClose(db);
}

void BM_UserEntryWrite(benchmark::State& state) {
  HDICT* dict = dictionaryWith(uint32_t(state.range(0)));
  if (!ready(state, dict)) return;
  const std::string path = pathOf(dict::memDictId(dict->dictId), ".DAT");
  const std::string note(300, 'n');
  for (auto _ : state) {
    content::FileHandle file = content::openFileReadWrite(path.c_str());
    benchmark::DoNotOptimize(content::appendUserEntry(file, "key", note.data(), 300));
    content::closeFile(file);
  }
}

void BM_InsertAndClose(benchmark::State& state) {
  HDICT* dict = dictionaryWith(uint32_t(state.range(0)));
  if (!ready(state, dict)) return;
  const std::string path = pathOf(dict::memDictId(dict->dictId), ".IDX");
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(dict::memDictId(dict->dictId), name, ".DAT");
  uint32_t i = 0;
  for (auto _ : state) {
    const std::string area = keyOf(2 * (kAdds + i++) + 1) + std::string(3, '\0');
    DbInsertDescriptor d{name, dict::memDictId(dict->dictId), 4, uint32_t(area.size()),
                         area.data()};
    DBHANDLE db = dbOpen(path.c_str(), lang::getCompareKeysFn(1));
    benchmark::DoNotOptimize(dbInsert(db, &d));
    dbClose(db);
  }
}

BENCHMARK(BM_AddMem)->Arg(1000)->Arg(100000)->Iterations(kAdds)->UseRealTime();
BENCHMARK(BM_AddRecord)->Arg(1000)->Arg(100000)->Iterations(kAdds)->UseRealTime();
BENCHMARK(BM_OpenCloseMemoryDictionary)->Arg(100000)->UseRealTime();
BENCHMARK(BM_WriteLock)->UseRealTime();
BENCHMARK(BM_SeekAndRead)->Arg(100000)->UseRealTime();
BENCHMARK(BM_UserEntryWrite)->Arg(100000)->UseRealTime();
BENCHMARK(BM_InsertAndClose)->Arg(100000)->Iterations(kAdds)->UseRealTime();

}  // namespace
}  // namespace orvia::bench

int main(int argc, char** argv) {
  using Clock = orvia::bench::RatioReporter::Clock;
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_AddMem/100000/iterations:300/real_time",
                      "BM_AddMem/1000/iterations:300/real_time", 2, Clock::kWall);
  reporter.costAtMost("BM_AddRecord/100000/iterations:300/real_time",
                      "BM_AddRecord/1000/iterations:300/real_time", 2, Clock::kWall);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
