#include "doubles/store_double.h"

#include <cstdio>
#include <cstring>

using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;

struct OrviaDb {
  std::string path;
  DbCompareFn compare;
  uint32_t cursor = 0;
  uint32_t prevCalls = 0, searchCalls = 0, getDataCalls = 0;
};

namespace orvia::testing {
namespace {

size_t lowerBound(const std::vector<StoredRecord>& records, DbCompareFn compare, const char* key) {
  size_t lo = 0, hi = records.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    if (compare(records[mid].data.c_str(), key) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

bool failsNow(uint32_t failFrom, uint32_t* calls) {
  ++*calls;
  return failFrom != 0 && *calls >= failFrom;
}

void putU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(char((v >> (8 * i)) & 0xFF));
}

std::string recordBytes(const StoredRecord& record, uint32_t number) {
  std::string out;
  putU32(&out, uint32_t(record.data.size() + 16));
  putU32(&out, record.contentDictId);
  putU32(&out, record.contentRef);
  putU32(&out, number);
  return out + record.data;
}

}  // namespace

StoreDouble& StoreDouble::instance() {
  static StoreDouble store;
  return store;
}

void StoreDouble::load(const std::string& path, DbCompareFn compare,
                       const std::vector<StoredRecord>& records) {
  std::vector<StoredRecord>& index = indexes[path];
  for (const StoredRecord& r : records)
    index.insert(index.begin() + long(lowerBound(index, compare, r.data.c_str())), r);
}

}  // namespace orvia::testing

namespace {

std::vector<StoredRecord>& recordsOf(DBHANDLE h) {
  return StoreDouble::instance().indexes[h->path];
}

}  // namespace

extern "C" {

DBHANDLE ORVIADB_API dbOpen(const char* path, DbCompareFn compare) {
  StoreDouble& store = StoreDouble::instance();
  if (store.indexes.count(path) == 0) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    std::fclose(file);
  }
  store.openedPaths.push_back(path);
  store.compares.push_back(compare);
  ++store.openHandles;
  return new OrviaDb{path, compare};
}

DBHANDLE ORVIADB_API dbCommand(const char* path, uint32_t, DbCompareFn compare) {
  return dbOpen(path, compare);
}

int32_t ORVIADB_API dbClose(DBHANDLE h) {
  StoreDouble& store = StoreDouble::instance();
  if (h == nullptr || store.refuseClose) return 0;
  delete h;
  --store.openHandles;
  return 1;
}

int32_t ORVIADB_API dbSeek(DBHANDLE h, const char* key) {
  if (h == nullptr || key == nullptr || recordsOf(h).empty()) return 0;
  size_t at = orvia::testing::lowerBound(recordsOf(h), h->compare, key);
  h->cursor = uint32_t(at < recordsOf(h).size() ? at : recordsOf(h).size() - 1);
  return 1;
}

int32_t ORVIADB_API dbGoto(DBHANDLE h, uint32_t n) {
  if (h == nullptr || n >= recordsOf(h).size()) return 0;
  h->cursor = n;
  return 1;
}

int32_t ORVIADB_API dbPrev(DBHANDLE h) {
  if (h == nullptr) return 0;
  if (orvia::testing::failsNow(StoreDouble::instance().failPrevFrom, &h->prevCalls)) return 0;
  if (h->cursor == 0 || h->cursor >= recordsOf(h).size()) return 0;
  --h->cursor;
  return 1;
}

int32_t ORVIADB_API dbNext(DBHANDLE h) {
  if (h == nullptr || h->cursor + 1 >= recordsOf(h).size()) return 0;
  ++h->cursor;
  return 1;
}

int32_t ORVIADB_API dbGetRecord(DBHANDLE h, uint32_t* size, void* buffer) {
  if (h == nullptr || size == nullptr || h->cursor >= recordsOf(h).size()) return 0;
  std::string bytes = orvia::testing::recordBytes(recordsOf(h)[h->cursor], h->cursor);
  if (bytes.size() > *size) return 0;
  std::memcpy(buffer, bytes.data(), bytes.size());
  *size = uint32_t(bytes.size());
  return 1;
}

int32_t ORVIADB_API dbSearch(DBHANDLE h, uint32_t selector, uint32_t first, uint32_t count,
                             uint32_t* size, void* buffer) {
  if (h == nullptr || selector != 1 || size == nullptr) return 0;
  if (orvia::testing::failsNow(StoreDouble::instance().failSearchFrom, &h->searchCalls)) return 0;
  std::string bytes;
  const auto& records = recordsOf(h);
  for (uint64_t n = first; n < records.size() && n < uint64_t(first) + count; ++n)
    bytes += orvia::testing::recordBytes(records[n], uint32_t(n));
  if (bytes.size() > *size) {
    *size = uint32_t(bytes.size());
    return 0;
  }
  std::memcpy(buffer, bytes.data(), bytes.size());
  *size = uint32_t(bytes.size());
  return 1;
}

int32_t ORVIADB_API dbInsert(DBHANDLE h, const DbInsertDescriptor* d) {
  if (h == nullptr || d == nullptr) return 0;
  StoredRecord record{d->contentDictId, d->contentRef,
                      std::string(static_cast<const char*>(d->data), d->dataLength)};
  StoreDouble::instance().load(h->path, h->compare, {record});
  StoreDouble::instance().contentNames[h->path][d->contentDictId] =
      std::string(d->contentFileName, 16);
  return 1;
}

int32_t ORVIADB_API dbDelete(DBHANDLE h, uint32_t n) {
  if (h == nullptr || n >= recordsOf(h).size()) return 0;
  recordsOf(h).erase(recordsOf(h).begin() + n);
  return 1;
}

int32_t ORVIADB_API dbGetData(DBHANDLE h, uint32_t contentDictId, void* buffer, uint32_t* size) {
  if (h == nullptr || size == nullptr || *size < 16) return 0;
  if (orvia::testing::failsNow(StoreDouble::instance().failGetDataFrom, &h->getDataCalls)) return 0;
  auto& names = StoreDouble::instance().contentNames[h->path];
  auto it = names.find(contentDictId);
  if (it == names.end()) return 0;
  std::memcpy(buffer, it->second.data(), 16);
  *size = 16;
  return 1;
}

int32_t ORVIADB_API dbGetInfo(DBHANDLE h, uint32_t selector, uint32_t* value) {
  if (h == nullptr || selector != 2 || value == nullptr) return 0;
  *value = uint32_t(recordsOf(h).size());
  return 1;
}

// The double keeps its indexes in memory: a file it is asked to check is never one.
int32_t ORVIADB_API dbVerify(const char*, DbCompareFn, char* report, uint32_t reportSize) {
  std::snprintf(report, reportSize, "offset 0: not an index of the store double");
  return 0;
}

}  // extern "C"
