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

std::string recordBytes(const std::vector<StoredRecord>& records, uint64_t first, uint64_t end) {
  std::string out;
  for (uint64_t n = first; n < std::min<uint64_t>(end, records.size()); ++n)
    out += orvia::testing::storedRecord(records[n], uint32_t(n));
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

bool StoreDouble::failsCall(const char* operation) {
  calledOperations.push_back(operation);
  return failCall != 0 && calledOperations.size() == failCall;
}

}  // namespace orvia::testing

extern "C" {

DBHANDLE ORVIADB_API dbOpen(const char* path, DbCompareFn compare) {
  StoreDouble& store = StoreDouble::instance();
  FILE* file = std::fopen(path, "rb");
  if (file != nullptr) std::fclose(file);
  if (file == nullptr && store.indexes.count(path) == 0) return nullptr;
  if (store.failsCall("dbOpen")) return nullptr;
  ++store.opens;
  ++store.openHandles;
  return new OrviaDb{path, compare};
}

// A shared index opens as any other: the double keeps no files of its own.
DBHANDLE ORVIADB_API dbCommand(const char* path, uint32_t mode, DbCompareFn compare) {
  return mode == kDbCommandOpenShared ? dbOpen(path, compare) : nullptr;
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
  if (StoreDouble::instance().failsCall("dbSeek")) return 0;
  return h->moveTo(std::min(lowerBound(h->records(), h->compare, key), h->records().size() - 1));
}

int32_t ORVIADB_API dbGoto(DBHANDLE h, uint32_t n) {
  if (h == nullptr || StoreDouble::instance().failsCall("dbGoto")) return 0;
  return h->moveTo(n);
}

int32_t ORVIADB_API dbPrev(DBHANDLE h) {
  if (h == nullptr || StoreDouble::instance().failing.count("dbPrev") != 0) return 0;
  return h->cursor > 0 ? h->moveTo(h->cursor - 1) : 0;
}

int32_t ORVIADB_API dbNext(DBHANDLE h) {
  return h != nullptr ? h->moveTo(uint64_t(h->cursor) + 1) : 0;
}

int32_t ORVIADB_API dbGetRecord(DBHANDLE h, uint32_t* size, void* buffer) {
  if (h == nullptr || size == nullptr || h->cursor >= h->records().size()) return 0;
  if (StoreDouble::instance().failsCall("dbGetRecord")) return 0;
  return copyOut(recordBytes(h->records(), h->cursor, h->cursor + 1), size, buffer);
}

int32_t ORVIADB_API dbSearch(DBHANDLE h, uint32_t selector, uint32_t first, uint32_t count,
                             uint32_t* size, void* buffer) {
  if (h == nullptr || selector != 1 || size == nullptr) return 0;
  if (StoreDouble::instance().failing.count("dbSearch") != 0) return 0;
  return copyOut(recordBytes(h->records(), first, uint64_t(first) + count), size, buffer);
}

int32_t ORVIADB_API dbGetData(DBHANDLE h, uint32_t contentDictId, void* buffer, uint32_t* size) {
  if (h == nullptr || size == nullptr || *size < 16) return 0;
  if (StoreDouble::instance().failing.count("dbGetData") != 0) return 0;
  auto& names = StoreDouble::instance().contentNames[h->path];
  return names.count(contentDictId) != 0 ? copyOut(names[contentDictId], size, buffer) : 0;
}

int32_t ORVIADB_API dbGetInfo(DBHANDLE h, uint32_t selector, uint32_t* value) {
  if (h == nullptr || selector != 2 || value == nullptr) return 0;
  if (StoreDouble::instance().failsCall("dbGetInfo")) return 0;
  *value = uint32_t(h->records().size());
  return 1;
}

int32_t ORVIADB_API dbInsert(DBHANDLE h, const DbInsertDescriptor* record) {
  if (h == nullptr || record == nullptr || record->dataLength + 16 > kDbMaxRecordSize) return 0;
  StoreDouble& store = StoreDouble::instance();
  if (store.failsCall("dbInsert")) return 0;
  StoredRecord r{record->contentDictId, record->contentRef,
                 std::string(static_cast<const char*>(record->data), record->dataLength)};
  store.load(h->path, h->compare, {r});
  store.contentNames[h->path][record->contentDictId] =
      std::string(record->contentFileName, kDbContentNameSize);
  return 1;
}

int32_t ORVIADB_API dbDelete(DBHANDLE h, uint32_t n) {
  if (h == nullptr || n >= h->records().size()) return 0;
  if (StoreDouble::instance().failsCall("dbDelete")) return 0;
  h->records().erase(h->records().begin() + long(n));
  return 1;
}

// An empty index, in memory, and an empty file that names it.
int32_t ORVIADB_API dbCreate(const char* path) {
  StoreDouble& store = StoreDouble::instance();
  if (path == nullptr || store.indexes.count(path) != 0) return 0;
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return 0;
  std::fclose(file);
  store.indexes[path];
  return 1;
}

// An index is consistent when every record fits the store's limit and no record sorts
// before the one ahead of it.
int32_t ORVIADB_API dbVerify(const char* path, DbCompareFn compare, char* report,
                             uint32_t reportSize) {
  auto& indexes = StoreDouble::instance().indexes;
  if (indexes.count(path) == 0) {
    std::snprintf(report, reportSize, "offset 0: not an index of the store double");
    return 0;
  }
  const std::vector<StoredRecord>& records = indexes[path];
  for (size_t n = 0; n < records.size(); ++n) {
    const char* problem =
        records[n].data.size() + 16 > kDbMaxRecordSize ? "too long"
        : n > 0 && compare(records[n].data.c_str(), records[n - 1].data.c_str()) < 0
            ? "out of order"
            : nullptr;
    if (problem == nullptr) continue;
    std::snprintf(report, reportSize, "record %zu: %s", n, problem);
    return 0;
  }
  return 1;
}

}  // extern "C"
