// The record store as its tests and benchmarks use it through the C interface: a
// case-folding comparison, string areas, random records, and the records of a handle read
// back as bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "orviadb.h"

namespace orvia::testing {

// Orders string areas by their first string, ASCII letters folded: "apple" and "APPLE"
// are equal keys, which the store must keep in insertion order (newest first).
inline int ORVIADB_API foldCompare(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = (*a >= 'A' && *a <= 'Z') ? *a + 32 : static_cast<unsigned char>(*a);
    int cb = (*b >= 'A' && *b <= 'Z') ? *b + 32 : static_cast<unsigned char>(*b);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

// A string area: key, headword and display word, each terminated.
inline std::string area(const std::string& key, const std::string& headword = "",
                        const std::string& display = "") {
  return key + '\0' + headword + '\0' + display + '\0';
}

inline const char kContentName[16] = "00000001.DAT";

// The fields of a stored record, read from its bytes; 0 and "" for no record.
inline uint32_t refOf(const std::string& r) {
  return r.size() < 16 ? 0 : loadU32Le(reinterpret_cast<const uint8_t*>(r.data() + 8));
}
inline std::string keyOf(const std::string& r) {
  return r.size() < 16 ? "" : std::string(r.c_str() + 16);
}

// One record as the store keeps it: the two content fields and the string area.
struct StoredRecord {
  uint32_t contentDictId = 0;
  uint32_t contentRef = 0;
  std::string data;  // string area
};

// A record as the store returns it, in the layout dbSearch and dbBulkLoad use.
inline std::string storedRecord(const StoredRecord& r, uint32_t number) {
  std::string bytes(16, '\0');
  const uint32_t fields[] = {uint32_t(16 + r.data.size()), r.contentDictId, r.contentRef, number};
  for (int i = 0; i < 4; ++i) storeU32Le(reinterpret_cast<uint8_t*>(&bytes[4 * i]), fields[i]);
  return bytes + r.data;
}

// Inserts a string area; true when the store took it.
inline bool insertArea(DBHANDLE h, const std::string& data, uint32_t ref,
                       uint32_t contentDictId = 0x01000001, const char* name = kContentName) {
  DbInsertDescriptor d{name, contentDictId, ref, uint32_t(data.size()), data.data()};
  return dbInsert(h, &d) == 1;
}

// A random key of 1..maxLength letters from a few, in mixed case, so that equal keys
// under the folding comparison are common.
inline std::string randomKey(std::mt19937& rng, int maxLength = 3) {
  static const char kLetters[] = "abcdeABCDE";
  int length = 1 + int(rng() % maxLength);
  std::string key;
  for (int i = 0; i < length; ++i) key += kLetters[rng() % 10];
  return key;
}

inline StoredRecord randomRecord(std::mt19937& rng) {
  StoredRecord r;
  r.data = area(randomKey(rng), std::to_string(rng() % 1000));
  r.contentDictId = 0x01000000u | (rng() % 4);
  r.contentRef = rng();
  return r;
}

// The current record through the C interface, or "" when there is none.
inline std::string currentRecord(DBHANDLE h) {
  char buffer[kDbMaxRecordSize];
  uint32_t size = sizeof buffer;
  if (dbGetRecord(h, &size, buffer) == 0) return "";
  return std::string(buffer, size);
}

inline uint32_t recordCount(DBHANDLE h) {
  uint32_t count = 0;
  return dbGetInfo(h, kDbInfoRecordCount, &count) == 1 ? count : 0;
}

// Every record, read with dbSearch; none when the read fails.
inline std::vector<std::string> allRecords(DBHANDLE h) {
  std::vector<std::string> out;
  uint32_t count = recordCount(h), size = 0;
  dbSearch(h, kDbSearchSelector, 0, count, &size, nullptr);
  std::string buffer(size, '\0');
  if (dbSearch(h, kDbSearchSelector, 0, count, &size, buffer.data()) == 0) return out;
  for (size_t at = 0; at < buffer.size(); at += out.back().size())
    out.push_back(buffer.substr(at, loadU32Le(reinterpret_cast<const uint8_t*>(&buffer[at]))));
  return out;
}

// Uses a handle on an index, whatever its bytes, as readers and writers do: reads every
// record in one batch, walks them into buffers of `capacity` bytes, seeks each key (a string
// area), reads and steps back, and inserts the last key when asked. The batch's records.
inline std::vector<std::string> useIndex(DBHANDLE h, const std::vector<std::string>& keys,
                                         uint32_t capacity, bool insert) {
  std::vector<std::string> records = allRecords(h);
  char record[kDbMaxRecordSize];
  dbGoto(h, 0);
  for (uint32_t steps = 0, count = recordCount(h); steps <= count; ++steps) {
    uint32_t size = std::min<uint32_t>(capacity, sizeof record);
    dbGetRecord(h, &size, record);
    if (dbNext(h) == 0) break;
  }
  for (const std::string& key : keys) {
    dbSeek(h, key.c_str());
    currentRecord(h);
    dbPrev(h);
  }
  if (insert && insertArea(h, keys.back(), 11)) allRecords(h);
  return records;
}

// The content file name dbGetData gives for an id, all 16 bytes; "" when it fails.
inline std::string contentNameOf(DBHANDLE h, uint32_t contentDictId) {
  char name[kDbContentNameSize];
  uint32_t size = sizeof name;
  return dbGetData(h, contentDictId, name, &size) == 1 ? std::string(name, size) : "";
}

// What dbVerify reports of the file: "" when it finds nothing wrong.
inline std::string verifyReport(const std::string& path, DbCompareFn compare = foldCompare) {
  char report[200] = "?";
  return dbVerify(path.c_str(), compare, report, sizeof report) == 1 ? "" : report;
}

}  // namespace orvia::testing
