#include "db/index_content.h"

#include <cstring>

#include "base/bytes.h"

namespace orvia::db {

IndexContent::IndexContent(const SegmentReader& segment)
    : segment_(segment), sequence_(segment.count()) {}

bool IndexContent::recordAt(uint32_t n, RecordView* out) const {
  if (n >= count()) return false;
  uint32_t offset;
  const Piece& piece = sequence_.locate(n, &offset);
  if (piece.added == Piece::kSegmentRun) return segment_.recordAt(piece.first + offset, out);
  const std::string& bytes = added_[piece.added];
  out->bytes = reinterpret_cast<const uint8_t*>(bytes.data());
  out->length = uint32_t(bytes.size() - kRecordPadding);
  return true;
}

bool IndexContent::lowerBound(const char* area, DbCompareFn compare, uint32_t* out) const {
  uint32_t lo = 0, hi = count();
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    RecordView view;
    if (!recordAt(mid, &view)) return false;
    if (compare(view.stringArea(), area) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  *out = lo;
  return true;
}

void IndexContent::insert(uint32_t n, uint32_t contentDictId, uint32_t contentRef,
                          const uint8_t* contentName, const uint8_t* data, uint32_t dataLength) {
  std::string bytes(kRecordHeaderSize + dataLength + kRecordPadding, '\0');
  auto* p = reinterpret_cast<uint8_t*>(bytes.data());
  storeU32Le(p, kRecordHeaderSize + dataLength);
  storeU32Le(p + 4, contentDictId);
  storeU32Le(p + 8, contentRef);
  if (dataLength > 0) std::memcpy(p + kRecordHeaderSize, data, dataLength);
  added_.push_back(std::move(bytes));
  sequence_.insertAdded(n, uint32_t(added_.size() - 1));
  std::memcpy(addedNames_[contentDictId].data(), contentName, kContentNameSize);
}

const uint8_t* IndexContent::contentName(uint32_t id) const {
  auto it = addedNames_.find(id);
  if (it != addedNames_.end()) return it->second.data();
  return segment_.contentName(id);
}

std::map<uint32_t, ContentName> IndexContent::allNames() const {
  std::map<uint32_t, ContentName> names;
  for (uint32_t i = 0; i < segment_.nameCount(); ++i) {
    std::memcpy(names[segment_.nameIdAt(i)].data(), segment_.nameAt(i), kContentNameSize);
  }
  for (const auto& [id, name] : addedNames_) names[id] = name;
  return names;
}

}  // namespace orvia::db
