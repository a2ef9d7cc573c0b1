// The exported C functions: argument checks over the engine; no exception gets out.
#include <algorithm>
#include <cstring>
#include <map>

#include "db/bulk_load.h"
#include "db/database.h"
#include "db/verify.h"
#include "orviadb.h"

#if defined(__GNUC__)
#define ORVIADB_EXPORT __attribute__((visibility("default")))
#else
#define ORVIADB_EXPORT
#endif

struct OrviaDb {
  std::unique_ptr<orvia::db::Database> database;
};

namespace {

using orvia::db::Database;

template <typename Result, typename Body>
Result guarded(Result failure, Body body) {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

DBHANDLE openHandle(const char* path, DbCompareFn compare, bool readOnly) {
  if (path == nullptr || compare == nullptr) return nullptr;
  return guarded<DBHANDLE>(nullptr, [&]() -> DBHANDLE {
    orvia::db::OpenOptions options;
    options.readOnly = readOnly;
    auto database = Database::open(path, compare, options);
    if (!database) return nullptr;
    return new OrviaDb{std::move(database)};
  });
}

template <typename Body>
int32_t onDatabase(DBHANDLE h, Body body) {
  if (h == nullptr || !h->database) return 0;
  return guarded<int32_t>(0, [&] { return body(*h->database) ? 1 : 0; });
}

}  // namespace

extern "C" {

ORVIADB_EXPORT DBHANDLE ORVIADB_API dbOpen(const char* path, DbCompareFn compare) {
  return openHandle(path, compare, false);
}

ORVIADB_EXPORT DBHANDLE ORVIADB_API dbCommand(const char* path, uint32_t mode,
                                              DbCompareFn compare) {
  if (mode != kDbCommandOpenShared) return nullptr;
  return openHandle(path, compare, true);
}

ORVIADB_EXPORT int32_t ORVIADB_API dbClose(DBHANDLE h) {
  if (h == nullptr) return 0;
  return guarded<int32_t>(0, [&] {
    if (h->database && !h->database->close()) return 0;
    delete h;
    return 1;
  });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbSeek(DBHANDLE h, const char* key) {
  if (key == nullptr) return 0;
  return onDatabase(h, [&](Database& db) { return db.seek(key); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbGoto(DBHANDLE h, uint32_t n) {
  return onDatabase(h, [&](Database& db) { return db.gotoRecord(n); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbPrev(DBHANDLE h) {
  return onDatabase(h, [&](Database& db) { return db.prev(); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbNext(DBHANDLE h) {
  return onDatabase(h, [&](Database& db) { return db.next(); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbGetRecord(DBHANDLE h, uint32_t* size, void* buffer) {
  if (size == nullptr || buffer == nullptr) return 0;
  return onDatabase(
      h, [&](Database& db) { return db.getRecord(size, static_cast<uint8_t*>(buffer)); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbSearch(DBHANDLE h, uint32_t selector, uint32_t first,
                                            uint32_t count, uint32_t* size, void* buffer) {
  if (selector != kDbSearchSelector || size == nullptr) return 0;
  if (buffer == nullptr && *size != 0) return 0;
  return onDatabase(h, [&](Database& db) {
    return db.search(first, count, size, static_cast<uint8_t*>(buffer));
  });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbInsert(DBHANDLE h, const DbInsertDescriptor* record) {
  if (record == nullptr) return 0;
  return onDatabase(h, [&](Database& db) {
    orvia::db::NewRecord r;
    r.contentName = reinterpret_cast<const uint8_t*>(record->contentFileName);
    r.contentDictId = record->contentDictId;
    r.contentRef = record->contentRef;
    r.data = static_cast<const uint8_t*>(record->data);
    r.dataLength = record->dataLength;
    return db.insert(r);
  });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbDelete(DBHANDLE h, uint32_t n) {
  return onDatabase(h, [&](Database& db) { return db.erase(n); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbGetData(DBHANDLE h, uint32_t contentDictId, void* buffer,
                                             uint32_t* size) {
  if (buffer == nullptr || size == nullptr || *size < kDbContentNameSize) return 0;
  return onDatabase(h, [&](Database& db) {
    if (!db.contentName(contentDictId, static_cast<uint8_t*>(buffer))) return false;
    *size = kDbContentNameSize;
    return true;
  });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbGetInfo(DBHANDLE h, uint32_t selector, uint32_t* value) {
  if (selector != kDbInfoRecordCount || value == nullptr) return 0;
  return onDatabase(h, [&](Database& db) { return db.recordCount(value); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbCreate(const char* path) {
  if (path == nullptr) return 0;
  return guarded<int32_t>(0, [&] { return orvia::db::bulkLoad(path, nullptr, nullptr, 0, 0, {}); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbBulkLoad(const char* path, DbCompareFn compare,
                                              const void* records, uint32_t recordBytes,
                                              uint32_t recordCount, const DbContentName* names,
                                              uint32_t nameCount) {
  if (path == nullptr || (records == nullptr && recordBytes > 0) ||
      (names == nullptr && nameCount > 0))
    return 0;
  return guarded<int32_t>(0, [&] {
    std::map<uint32_t, orvia::db::ContentName> kept;
    for (uint32_t i = 0; i < nameCount; ++i) {
      std::memcpy(kept[names[i].contentDictId].data(), names[i].name, kDbContentNameSize);
    }
    return orvia::db::bulkLoad(path, compare, static_cast<const uint8_t*>(records), recordBytes,
                               recordCount, kept);
  });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbCompact(DBHANDLE h) {
  return onDatabase(h, [&](Database& db) { return db.compact(); });
}

ORVIADB_EXPORT int32_t ORVIADB_API dbVerify(const char* path, DbCompareFn compare, char* report,
                                            uint32_t reportSize) {
  if (path == nullptr || (report == nullptr && reportSize > 0)) return 0;
  if (reportSize > 0) report[0] = '\0';
  return guarded<int32_t>(0, [&] {
    orvia::db::Problem problem;
    if (orvia::db::verifyIndex(path, compare, &problem)) return 1;
    if (reportSize > 0) {
      std::string text = orvia::db::describe(problem);
      size_t n = std::min<size_t>(text.size(), reportSize - 1);
      std::memcpy(report, text.data(), n);
      report[n] = '\0';
    }
    return 0;
  });
}

}  // extern "C"
