// Builds index records in the layout that dict/index_record.h describes and its readers
// take apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvia::compile {

// What a record is made of. Strings are in the dictionary's code page; headword and
// displayWord are already empty where they would repeat the key.
struct IndexRecordFields {
  uint32_t contentDictId = 0;
  uint32_t contentRef = 0;  // the content locator, below 0xFFFFFF unless extendedRef is set
  uint8_t level = 0;
  std::optional<uint32_t> extendedRef;  // set: the locator lies behind the strings
  std::optional<uint8_t> vcode;         // set only in language-1 dictionaries
  uint32_t recordNumber = 0;
  std::string_view searchKey, headword, displayWord;
};

// The record's size in bytes; 0 when the fields make no record: a string holding a zero
// byte, a locator of 0xFFFFFF or more without extendedRef, or more than 1024 bytes.
size_t indexRecordSize(const IndexRecordFields& fields);

// Writes the record into out and returns its size; 0, out untouched, when it makes no
// record or does not fit in capacity.
size_t buildIndexRecord(const IndexRecordFields& fields, uint8_t* out, size_t capacity);

}  // namespace orvia::compile
