#include "support/store_double.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using orvia::testing::StoreDouble;
using orvia::testing::StoredRecord;

namespace {

size_t lowerBound(const std::vector<StoredRecord>& records, DbCompareFn compare, const char* key) {
  auto before = [&](const StoredRecord& r) { return compare(r.data.c_str(), key) < 0; };
  return size_t(std::partition_point(records.begin(), records.end(), before) - records.begin());
}

bool failsNow(uint32_t failFrom, uint32_t* calls) {
  ++*calls;
  return failFrom != 0 && *calls >= failFrom;
}

// Records as the store hands them out: four little-endian u32, then the string area.
std::string recordBytes(const std::vector<StoredRecord>& records, uint64_t first, uint64_t end) {
  std::string out;
  for (uint64_t n = first; n < std::min<uint64_t>(end, records.size()); ++n) {
    const StoredRecord& r = records[n];
    for (uint64_t v : {r.data.size() + 16, uint64_t(r.contentDictId), uint64_t(r.contentRef), n})
      for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
    out += r.data;
  }
  return out;
}

// Sets *size to the bytes' length; copies them only when they fit in what *size was.
int32_t copyOut(const std::string& bytes, uint32_t* size, void* buffer) {
  const bool fits = bytes.size() <= *size;
  if (fits) std::memcpy(buffer, bytes.data(), bytes.size());
  *size = uint32_t(bytes.size());
  return fits ? 1 : 0;
}

}  // namespace

namespace orvia::testing {

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

extern "C" {

DBHANDLE ORVIADB_API dbOpen(const char* path, DbCompareFn compare) {
  StoreDouble& store = StoreDouble::instance();
  FILE* file = std::fopen(path, "rb");
  if (file != nullptr) std::fclose(file);
  if (file == nullptr && store.indexes.count(path) == 0) return nullptr;
  ++store.opens;
  ++store.openHandles;
  return new OrviaDb{path, compare};
}

int32_t ORVIADB_API dbClose(DBHANDLE h) {
  StoreDouble& store = StoreDouble::instance();
  if (h == nullptr || store.refuseClose) return 0;
  delete h;
  --store.openHandles;
  return 1;
}

int32_t ORVIADB_API dbSeek(DBHANDLE h, const char* key) {
  if (h == nullptr || key == nullptr || h->records().empty()) return 0;
  return h->moveTo(std::min(lowerBound(h->records(), h->compare, key), h->records().size() - 1));
}

int32_t ORVIADB_API dbGoto(DBHANDLE h, uint32_t n) {
  return h != nullptr ? h->moveTo(n) : 0;
}

int32_t ORVIADB_API dbPrev(DBHANDLE h) {
  if (h == nullptr || failsNow(StoreDouble::instance().failPrevFrom, &h->prevCalls)) return 0;
  return h->cursor > 0 ? h->moveTo(h->cursor - 1) : 0;
}

int32_t ORVIADB_API dbNext(DBHANDLE h) {
  return h != nullptr ? h->moveTo(uint64_t(h->cursor) + 1) : 0;
}

int32_t ORVIADB_API dbGetRecord(DBHANDLE h, uint32_t* size, void* buffer) {
  if (h == nullptr || size == nullptr || h->cursor >= h->records().size()) return 0;
  return copyOut(recordBytes(h->records(), h->cursor, h->cursor + 1), size, buffer);
}

int32_t ORVIADB_API dbSearch(DBHANDLE h, uint32_t selector, uint32_t first, uint32_t count,
                             uint32_t* size, void* buffer) {
  if (h == nullptr || selector != 1 || size == nullptr) return 0;
  if (failsNow(StoreDouble::instance().failSearchFrom, &h->searchCalls)) return 0;
  return copyOut(recordBytes(h->records(), first, uint64_t(first) + count), size, buffer);
}

int32_t ORVIADB_API dbGetData(DBHANDLE h, uint32_t contentDictId, void* buffer, uint32_t* size) {
  if (h == nullptr || size == nullptr || *size < 16) return 0;
  if (failsNow(StoreDouble::instance().failGetDataFrom, &h->getDataCalls)) return 0;
  auto& names = StoreDouble::instance().contentNames[h->path];
  return names.count(contentDictId) != 0 ? copyOut(names[contentDictId], size, buffer) : 0;
}

int32_t ORVIADB_API dbGetInfo(DBHANDLE h, uint32_t selector, uint32_t* value) {
  if (h == nullptr || selector != 2 || value == nullptr) return 0;
  *value = uint32_t(h->records().size());
  return 1;
}

// The double keeps its indexes in memory: a file it is asked to check is never one.
int32_t ORVIADB_API dbVerify(const char*, DbCompareFn, char* report, uint32_t reportSize) {
  std::snprintf(report, reportSize, "offset 0: not an index of the store double");
  return 0;
}

}  // extern "C"
