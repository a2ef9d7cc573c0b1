// Why the compiler left an entry out of the index.
#pragma once

#include <string>

namespace orvia::compile {

enum class SkipReason {
  kBadSourceRecord,    // the importer could not read the entry
  kNotInCodePage,      // a character the dictionary's code page lacks, or bad UTF-8
  kNoAsciiSpelling,    // a character without an ASCII spelling, in a single-byte language
  kHoldsAt,            // "@" in the headword: keys use it for homograph numbers
  kEmptyKey,           // nothing but white space
  kNoSignificantChar,  // a double-byte language's word without a character its keys count
  kKeyTooLong,         // the key, with its homograph number, reaches 244 bytes
  kUnusableKey,        // the language's makeSearchKey refused it for another cause
  kRecordTooLong,      // the record would pass 1024 bytes
  kOutOfOrder,         // its key breaks the collation against its neighbours after sorting
};
inline constexpr int kSkipReasonCount = 10;

// A phrase that follows the headword: "<headword>: <phrase>".
const char* describeSkipReason(SkipReason reason);
// A short identifier for scripts ("key-too-long").
const char* skipReasonName(SkipReason reason);

struct SkippedEntry {
  std::string headword;  // UTF-8, as the source spells it (for a bad record: where it is)
  SkipReason reason;
};

}  // namespace orvia::compile
