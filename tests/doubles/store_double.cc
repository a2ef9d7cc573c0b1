#include "doubles/store_double.h"

#include <cstdio>

namespace orvia::testing {

StoreDouble& StoreDouble::instance() {
  static StoreDouble store;
  return store;
}

}  // namespace orvia::testing

using orvia::testing::StoreDouble;

struct OrviaDb {
  int unused;
};

extern "C" {

DBHANDLE ORVIADB_API dbOpen(const char* path, DbCompareFn compare) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  std::fclose(file);
  StoreDouble& store = StoreDouble::instance();
  store.openedPaths.push_back(path);
  store.compares.push_back(compare);
  ++store.openHandles;
  return new OrviaDb{0};
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

int32_t ORVIADB_API dbSeek(DBHANDLE, const char*) {
  return 0;
}
int32_t ORVIADB_API dbGoto(DBHANDLE, uint32_t) {
  return 0;
}
int32_t ORVIADB_API dbPrev(DBHANDLE) {
  return 0;
}
int32_t ORVIADB_API dbNext(DBHANDLE) {
  return 0;
}
int32_t ORVIADB_API dbGetRecord(DBHANDLE, uint32_t*, void*) {
  return 0;
}
int32_t ORVIADB_API dbSearch(DBHANDLE, uint32_t, uint32_t, uint32_t, uint32_t*, void*) {
  return 0;
}
int32_t ORVIADB_API dbInsert(DBHANDLE, const DbInsertDescriptor*) {
  return 0;
}
int32_t ORVIADB_API dbDelete(DBHANDLE, uint32_t) {
  return 0;
}
int32_t ORVIADB_API dbGetData(DBHANDLE, uint32_t, void*, uint32_t*) {
  return 0;
}
int32_t ORVIADB_API dbGetInfo(DBHANDLE, uint32_t, uint32_t*) {
  return 0;
}

}  // extern "C"
