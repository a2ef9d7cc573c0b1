// GCIDE (and FreeDict's Japanese-English dictionary) compiled once per benchmark run,
// index and data file, installed in a private registry and opened through the exports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orviadic.h"

namespace orvia::bench {

inline constexpr uint32_t kGcideId = 0x00010101;
// Shift-JIS keys and texts, English user marker, dictionary 2.
inline constexpr uint32_t kFreeDictJapaneseId = 0x00020104;
// German keys in their ASCII spelling, as English ones are; dictionary 3.
inline constexpr uint32_t kFreeDictGermanId = 0x00030101;

struct GcideFixture {
  HDICT* dict = nullptr;
  std::string indexPath;
  std::string dataPath;
  std::vector<std::string> searchKeys;   // in key order
  std::vector<uint32_t> contentOffsets;  // each record's, in the data file
};

// The run's folder, removed at exit, named as PATH by the registry the library reads.
const std::string& benchFolder();

// Null when the dict-gcide package is not installed.
const GcideFixture* gcide();
// Null when the dict-freedict-jpn-eng package is not installed.
const GcideFixture* freeDictJapanese();
// Null when the dict-freedict-deu-eng package is not installed.
const GcideFixture* freeDictGerman();

// An index of count records with six-letter keys in a private folder, opened through the
// exports; built once per count.
HDICT* syntheticDictionary(uint32_t count);

}  // namespace orvia::bench
