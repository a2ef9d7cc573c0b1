// The order of an index's records: runs of segment records and single records added
// since, in an implicit treap keyed by position. Position n is found in O(log pieces);
// an insert or delete splits at most one run.
#pragma once

#include <cstdint>
#include <vector>

namespace orvia::db {

struct Piece {
  static constexpr uint32_t kSegmentRun = 0xFFFFFFFFu;
  uint32_t added = kSegmentRun;  // index of an added record, or kSegmentRun
  uint32_t first = 0;            // a run's first segment record
  uint32_t count = 0;            // records in the piece: 1 for an added record
};

class RecordSequence {
 public:
  // Segment records 0..segmentCount-1 in order.
  explicit RecordSequence(uint32_t segmentCount);

  uint32_t size() const { return root_ == kNone ? 0 : nodes_[root_].total; }
  // REQUIRES: n < size(). The piece holding n and n's offset inside it.
  const Piece& locate(uint32_t n, uint32_t* offset) const;
  // REQUIRES: n <= size() < UINT32_MAX.
  void insertAdded(uint32_t n, uint32_t added);
  // REQUIRES: n < size().
  void erase(uint32_t n);
  // Calls visit(const Piece&) for each piece in order.
  template <typename Visit>
  void forEachPiece(Visit visit) const;

 private:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;
  struct Node {
    Piece piece;
    uint32_t priority = 0;
    uint32_t total = 0;
    uint32_t left = kNone, right = kNone;
  };

  uint32_t newNode(const Piece& piece, uint32_t priority);
  uint32_t totalOf(uint32_t node) const { return node == kNone ? 0 : nodes_[node].total; }
  void update(uint32_t node);
  // Leaves the first n records in *left and the rest in *right, cutting a run in two
  // when n falls inside it.
  void split(uint32_t node, uint32_t n, uint32_t* left, uint32_t* right);
  uint32_t merge(uint32_t left, uint32_t right);
  uint32_t nextPriority();

  std::vector<Node> nodes_;
  uint32_t root_ = kNone;
  uint32_t seed_ = 0x9E3779B9u;
};

template <typename Visit>
void RecordSequence::forEachPiece(Visit visit) const {
  std::vector<uint32_t> stack;
  uint32_t node = root_;
  while (node != kNone || !stack.empty()) {
    while (node != kNone) {
      stack.push_back(node);
      node = nodes_[node].left;
    }
    node = stack.back();
    stack.pop_back();
    visit(nodes_[node].piece);
    node = nodes_[node].right;
  }
}

}  // namespace orvia::db
