// The records of an index as one sequence: the segment's records and the changes
// replayed from the log, with the content file names of both.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "db/record_sequence.h"
#include "db/record_view.h"
#include "db/segment_reader.h"
#include "orviadb.h"

namespace orvia::db {

class IndexContent {
 public:
  explicit IndexContent(const SegmentReader& segment);

  uint32_t count() const { return sequence_.size(); }
  // False when n is out of range or the record's bytes are damaged.
  bool recordAt(uint32_t n, RecordView* out) const;
  // The first record that does not sort before area, count() when none; false when a
  // probed record is damaged. Any callback result is tolerated: the search halves its
  // range at every step whatever the answers.
  bool lowerBound(const char* area, DbCompareFn compare, uint32_t* out) const;
  // REQUIRES: n <= count() < UINT32_MAX, dataLength <= kMaxStringAreaSize.
  void insert(uint32_t n, uint32_t contentDictId, uint32_t contentRef, const uint8_t* contentName,
              const uint8_t* data, uint32_t dataLength);
  // REQUIRES: n < count().
  void erase(uint32_t n) { sequence_.erase(n); }

  // The content file name kept for id, or null.
  const uint8_t* contentName(uint32_t id) const;
  // Every name: the segment's, overridden by those added since.
  std::map<uint32_t, ContentName> allNames() const;

  // Calls visit(const RecordView&) in order; false when a record is damaged or visit
  // returns false.
  template <typename Visit>
  bool forEachRecord(Visit visit) const;

 private:
  SegmentReader segment_;
  RecordSequence sequence_;
  std::vector<std::string> added_;  // header, string area, four zero bytes
  std::map<uint32_t, ContentName> addedNames_;
};

template <typename Visit>
bool IndexContent::forEachRecord(Visit visit) const {
  bool ok = true;
  sequence_.forEachPiece([&](const Piece& piece) {
    for (uint32_t i = 0; ok && i < piece.count; ++i) {
      RecordView view;
      if (piece.added != Piece::kSegmentRun) {
        const std::string& bytes = added_[piece.added];
        view.bytes = reinterpret_cast<const uint8_t*>(bytes.data());
        view.length = uint32_t(bytes.size() - kRecordPadding);
      } else if (!segment_.recordAt(piece.first + i, &view)) {
        ok = false;
        break;
      }
      ok = visit(view);
    }
  });
  return ok;
}

}  // namespace orvia::db
