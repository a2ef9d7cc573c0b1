#include "compile/key/index_record_builder.h"

#include <cstring>

#include "dict/index_record.h"

namespace orvia::compile {

size_t indexRecordSize(const IndexRecordFields& f) {
  if (!f.extendedRef && f.contentRef >= dict::kExtendedLocator) return 0;
  size_t size = dict::kIndexRecordHeaderSize;
  for (std::string_view s : {f.searchKey, f.headword, f.displayWord}) {
    if (s.find('\0') != std::string_view::npos || s.size() > dict::kMaxIndexRecordSize) return 0;
    size += s.size() + 1;
  }
  size += (f.extendedRef ? 4 : 0) + (f.vcode ? 1 : 0);
  return size <= dict::kMaxIndexRecordSize ? size : 0;
}

size_t buildIndexRecord(const IndexRecordFields& f, uint8_t* out, size_t capacity) {
  const size_t size = indexRecordSize(f);
  if (size == 0 || size > capacity) return 0;
  const uint32_t locatorBits = f.extendedRef ? dict::kExtendedLocator : f.contentRef;
  storeU32Le(out + dict::kRecordLengthOffset, uint32_t(size));
  storeU32Le(out + dict::kContentDictIdOffset, f.contentDictId);
  storeU32Le(out + dict::kContentRefOffset, uint32_t(f.level) << 24 | locatorBits);
  storeU32Le(out + dict::kRecordNumberOffset, f.recordNumber);
  size_t at = dict::kSearchKeyOffset;
  for (std::string_view s : {f.searchKey, f.headword, f.displayWord}) {
    if (!s.empty()) std::memcpy(out + at, s.data(), s.size());
    at += s.size();
    out[at++] = 0;
  }
  if (f.extendedRef) {
    storeU32Le(out + at, *f.extendedRef);
    at += 4;
  }
  if (f.vcode) out[at] = *f.vcode;
  return size;
}

}  // namespace orvia::compile
