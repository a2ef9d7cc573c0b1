// What a user-entry file and its index hold, read independently of the library: the
// index's records through the store, and a walk of every chain of the file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "orviadb.h"

namespace orvia::testing {

struct IndexEntry {
  std::string key;
  uint32_t contentDictId = 0, contentRef = 0;
};

// Every record of the index at path, in order; empty when it cannot be opened.
inline std::vector<IndexEntry> readIndexEntries(const std::string& path, DbCompareFn compare) {
  std::vector<IndexEntry> out;
  DBHANDLE db = dbOpen(path.c_str(), compare);
  if (db == nullptr) return out;
  uint32_t count = 0;
  dbGetInfo(db, kDbInfoRecordCount, &count);
  uint8_t record[kDbMaxRecordSize + 1] = {};
  for (uint32_t n = 0; n < count; ++n) {
    uint32_t size = kDbMaxRecordSize;
    if (dbGoto(db, n) == 0 || dbGetRecord(db, &size, record) == 0 || size < 16) break;
    record[size] = 0;
    out.push_back(
        {reinterpret_cast<const char*>(record + 16), loadU32Le(record + 4), loadU32Le(record + 8)});
  }
  dbClose(db);
  return out;
}

// "" when no block of the file lies on two chains: each entry's chain (its head and
// ceil(C / 252) content blocks, the last linking to 0) and the free list. Blocks that no
// chain reaches are orphans, which a failed write may leave. Otherwise the first problem.
inline std::string walkUserEntryFile(const std::string& bytes,
                                     const std::vector<IndexEntry>& entries) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint64_t size = bytes.size();
  if (size < 4) return " file of " + std::to_string(size) + " bytes";
  std::map<uint32_t, std::string> owner;
  std::string problem;
  auto claim = [&](uint32_t block, const std::string& chain) {
    if (block < 4 || uint64_t(block) + 256 > size) {
      problem = " " + chain + " leaves the file at " + std::to_string(block);
      return false;
    }
    auto [it, fresh] = owner.emplace(block, chain);
    if (!fresh) problem = " block " + std::to_string(block) + " on " + it->second + " and " + chain;
    return fresh;
  };
  auto link = [&](uint32_t block) { return loadU32Le(data + block); };
  for (const IndexEntry& entry : entries) {
    const std::string chain = "entry " + entry.key;
    uint32_t block = entry.contentRef;
    if (!claim(block, chain)) return problem;
    if (loadU32Le(data + block + 4) > 244) return " " + chain + ": key length over 244";
    const uint32_t contentLength = loadU32Le(data + block + 8);
    for (uint32_t blocks = (contentLength + 251) / 252; blocks > 0; --blocks) {
      block = link(block);
      if (block == 0) return " " + chain + " ends early";
      if (!claim(block, chain)) return problem;
    }
    if (link(block) != 0) return " " + chain + " does not end in 0";
  }
  for (uint32_t block = loadU32Le(data); block != 0; block = link(block))
    if (!claim(block, "the free list")) return problem;
  return "";
}

}  // namespace orvia::testing
