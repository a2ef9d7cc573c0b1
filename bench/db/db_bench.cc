// The record store against its baselines, in one process: std::map and SQLite with the
// same comparison for seeks, SQLite for record-number access and inserts, fwrite+fsync
// for bulk loading. Datasets are built once per run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "db/bench_index.h"
#include "orviadb.h"
#include "support/ratio_reporter.h"
#include "support/store_records.h"

namespace {

using orvia::bench::areaOf;
using orvia::bench::bulkLoadIndex;
using orvia::bench::keyOf;
using orvia::bench::recordsFor;
using orvia::testing::foldCompare;

std::string benchDir() {
  static const std::string dir = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "orviadb-bench-XXXXXX").string();
    std::string made = mkdtemp(pattern.data());
    return made;
  }();
  return dir;
}

// An index of `count` records, bulk loaded once.
const std::string& indexOf(uint32_t count) {
  static std::map<uint32_t, std::string> built;
  auto it = built.find(count);
  if (it != built.end()) return it->second;
  std::string path = benchDir() + "/" + std::to_string(count) + ".IDX";
  if (!bulkLoadIndex(path, count)) std::abort();
  return built[count] = path;
}

std::string copyOf(const std::string& path, const std::string& name) {
  std::string to = benchDir() + "/" + name;
  std::filesystem::remove(to);
  std::filesystem::copy_file(path, to);
  return to;
}

// SQLite with the same comparison as a collation.
int foldCollation(void*, int na, const void* a, int nb, const void* b) {
  char x[1100] = {}, y[1100] = {};
  std::memcpy(x, a, size_t(std::min(na, 1024)));
  std::memcpy(y, b, size_t(std::min(nb, 1024)));
  return foldCompare(x, y);
}

struct Sqlite {
  sqlite3* db = nullptr;
  explicit Sqlite(const std::string& path, uint32_t rows) {
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
    sqlite3_open(path.c_str(), &db);
    sqlite3_create_collation_v2(db, "fold", SQLITE_UTF8, nullptr, foldCollation, nullptr);
    exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    exec("CREATE TABLE t(k BLOB COLLATE fold, ref INTEGER); CREATE INDEX tk ON t(k);");
    exec("BEGIN");
    sqlite3_stmt* insert = prepare("INSERT INTO t VALUES(?1, ?2)");
    for (uint32_t i = 0; i < rows; ++i) add(insert, areaOf(i), i);
    sqlite3_finalize(insert);
    exec("COMMIT");
  }
  ~Sqlite() { sqlite3_close(db); }
  void exec(const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    return s;
  }
  static void add(sqlite3_stmt* insert, const std::string& area, uint32_t ref) {
    sqlite3_bind_blob(insert, 1, area.data(), int(area.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(insert, 2, ref);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
};

// The size the seek is compared with its baselines at; it is also measured at a tenth and
// ten times that, for the plot of cost against size.
constexpr uint32_t kSeekRecords = 200000;

std::vector<std::string> randomAreas(uint32_t count, uint32_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<std::string> keys;
  for (uint32_t i = 0; i < n; ++i) keys.push_back(areaOf(rng() % count));
  return keys;
}

void BM_DbSeek(benchmark::State& state) {
  const auto records = uint32_t(state.range(0));
  DBHANDLE h = dbOpen(indexOf(records).c_str(), foldCompare);
  auto keys = randomAreas(records, 1 << 16, 1);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(dbSeek(h, keys[i++ & 0xFFFF].c_str()));
  state.SetItemsProcessed(state.iterations());
  dbClose(h);
}
BENCHMARK(BM_DbSeek)->Arg(kSeekRecords / 10)->Arg(kSeekRecords)->Arg(kSeekRecords * 10);

void BM_MapLowerBound(benchmark::State& state) {
  struct Less {
    bool operator()(const std::string& a, const std::string& b) const {
      return foldCompare(a.c_str(), b.c_str()) < 0;
    }
  };
  std::map<std::string, uint32_t, Less> map;
  for (uint32_t i = 0; i < kSeekRecords; ++i) map.emplace(areaOf(i), i);
  auto keys = randomAreas(kSeekRecords, 1 << 16, 1);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(map.lower_bound(keys[i++ & 0xFFFF]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MapLowerBound);

void BM_SqliteIndexedSeek(benchmark::State& state) {
  Sqlite sql(benchDir() + "/seek.sqlite", kSeekRecords);
  sqlite3_stmt* seek = sql.prepare("SELECT ref FROM t WHERE k >= ?1 ORDER BY k LIMIT 1");
  auto keys = randomAreas(kSeekRecords, 1 << 16, 1);
  size_t i = 0;
  for (auto _ : state) {
    const std::string& k = keys[i++ & 0xFFFF];
    sqlite3_bind_blob(seek, 1, k.data(), int(k.size()), SQLITE_STATIC);
    benchmark::DoNotOptimize(sqlite3_step(seek));
    sqlite3_reset(seek);
  }
  sqlite3_finalize(seek);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteIndexedSeek);

void BM_DbGotoGetRecord(benchmark::State& state) {
  uint32_t count = uint32_t(state.range(0));
  DBHANDLE h = dbOpen(indexOf(count).c_str(), foldCompare);
  std::mt19937 rng(2);
  char buffer[1024];
  for (auto _ : state) {
    uint32_t size = sizeof buffer;
    dbGoto(h, rng() % count);
    benchmark::DoNotOptimize(dbGetRecord(h, &size, buffer));
  }
  state.SetItemsProcessed(state.iterations());
  dbClose(h);
}
BENCHMARK(BM_DbGotoGetRecord)->Arg(20000)->Arg(200000)->Arg(2000000);

void BM_SqliteLimitOffset(benchmark::State& state) {
  Sqlite sql(benchDir() + "/offset.sqlite", kSeekRecords);
  sqlite3_stmt* at = sql.prepare("SELECT k, ref FROM t ORDER BY k LIMIT 1 OFFSET ?1");
  std::mt19937 rng(2);
  for (auto _ : state) {
    sqlite3_bind_int64(at, 1, rng() % kSeekRecords);
    benchmark::DoNotOptimize(sqlite3_step(at));
    sqlite3_reset(at);
  }
  sqlite3_finalize(at);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteLimitOffset);

void BM_DbOpenInfoClose(benchmark::State& state) {
  const std::string& path = indexOf(uint32_t(state.range(0)));
  for (auto _ : state) {
    DBHANDLE h = dbOpen(path.c_str(), foldCompare);
    uint32_t count = 0;
    benchmark::DoNotOptimize(dbGetInfo(h, kDbInfoRecordCount, &count));
    dbClose(h);
  }
}
BENCHMARK(BM_DbOpenInfoClose)->Arg(20000)->Arg(2000000);

// 10,000 random keys, each new: an existing key with a letter behind it.
std::vector<std::string> newAreas(uint32_t count) {
  std::mt19937 rng(3);
  std::vector<std::string> areas;
  for (int i = 0; i < 10000; ++i)
    areas.push_back(orvia::testing::area(keyOf(rng() % count) + "m", "new"));
  return areas;
}

void BM_DbOpenInfoCloseWithLog(benchmark::State& state) {
  std::string path = copyOf(indexOf(20000), "logged.IDX");
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  for (const std::string& a : newAreas(20000)) {
    DbInsertDescriptor d{orvia::testing::kContentName, 0x01000001, 1, uint32_t(a.size()), a.data()};
    dbInsert(h, &d);
  }
  dbClose(h);
  for (auto _ : state) {
    DBHANDLE g = dbOpen(path.c_str(), foldCompare);
    uint32_t count = 0;
    benchmark::DoNotOptimize(dbGetInfo(g, kDbInfoRecordCount, &count));
    dbClose(g);
  }
}
BENCHMARK(BM_DbOpenInfoCloseWithLog);

void BM_DbInsert10000(benchmark::State& state) {
  uint32_t count = uint32_t(state.range(0));
  std::string path = copyOf(indexOf(count), "insert.IDX");
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  auto areas = newAreas(count);
  size_t i = 0;
  for (auto _ : state) {
    const std::string& a = areas[i++];
    DbInsertDescriptor d{orvia::testing::kContentName, 0x01000001, 1, uint32_t(a.size()), a.data()};
    benchmark::DoNotOptimize(dbInsert(h, &d));
  }
  state.SetItemsProcessed(state.iterations());
  dbClose(h);
}
BENCHMARK(BM_DbInsert10000)->Arg(20000)->Arg(2000000)->Iterations(10000);

void BM_SqliteInsert10000(benchmark::State& state) {
  Sqlite sql(benchDir() + "/insert.sqlite", 20000);
  sqlite3_stmt* insert = sql.prepare("INSERT INTO t VALUES(?1, ?2)");
  auto areas = newAreas(20000);
  size_t i = 0;
  for (auto _ : state) Sqlite::add(insert, areas[i++], 1);
  sqlite3_finalize(insert);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteInsert10000)->Iterations(10000);

constexpr uint32_t kBulkRecords = 200000;

void BM_DbBulkLoad(benchmark::State& state) {
  uint64_t bytes = 0;
  std::string records = recordsFor(kBulkRecords, &bytes);
  DbContentName name{0x01000001, "01000001.DAT"};
  std::string path = benchDir() + "/bulk.IDX";
  for (auto _ : state) {
    std::filesystem::remove(path);
    benchmark::DoNotOptimize(dbBulkLoad(path.c_str(), foldCompare, records.data(), uint32_t(bytes),
                                        kBulkRecords, &name, 1));
  }
  state.SetBytesProcessed(int64_t(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_DbBulkLoad)->Unit(benchmark::kMillisecond);

// The same bytes as the bulk-loaded file, with the same two syncs.
void BM_FwriteFsync(benchmark::State& state) {
  uint64_t size = std::filesystem::file_size(indexOf(kBulkRecords));
  std::string bytes(size, 'x');
  std::string path = benchDir() + "/fwrite.bin";
  for (auto _ : state) {
    std::filesystem::remove(path);
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size() - 256, f);
    std::fflush(f);
    fsync(fileno(f));
    std::fwrite(bytes.data(), 1, 256, f);
    std::fflush(f);
    fsync(fileno(f));
    std::fclose(f);
  }
  state.SetBytesProcessed(int64_t(state.iterations() * size));
}
BENCHMARK(BM_FwriteFsync)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  using orvia::bench::RatioReporter;
  RatioReporter reporter;
  reporter.costAtMost("BM_DbSeek/200000", "BM_MapLowerBound", 1.5);
  reporter.speedAtLeast("BM_DbSeek/200000", "BM_SqliteIndexedSeek", 5);
  reporter.costAtMost("BM_DbGotoGetRecord/2000000", "BM_DbGotoGetRecord/20000", 2);
  reporter.speedAtLeast("BM_DbGotoGetRecord/200000", "BM_SqliteLimitOffset", 100);
  reporter.costAtMost("BM_DbOpenInfoClose/2000000", "BM_DbOpenInfoClose/20000", 3);
  reporter.costAtMost("BM_DbInsert10000/2000000/iterations:10000",
                      "BM_DbInsert10000/20000/iterations:10000", 2, RatioReporter::Clock::kWall);
  reporter.speedAtLeast("BM_DbInsert10000/20000/iterations:10000",
                        "BM_SqliteInsert10000/iterations:10000", 1, RatioReporter::Clock::kWall);
  reporter.costAtMost("BM_DbBulkLoad", "BM_FwriteFsync", 3, RatioReporter::Clock::kWall);
  int status = orvia::bench::runWithRatios(argc, argv, reporter);
  std::filesystem::remove_all(benchDir());
  return status;
}
