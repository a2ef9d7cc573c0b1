#include "db/record_sequence.h"

namespace orvia::db {

RecordSequence::RecordSequence(uint32_t segmentCount) {
  if (segmentCount > 0) root_ = newNode(Piece{Piece::kSegmentRun, 0, segmentCount}, nextPriority());
}

uint32_t RecordSequence::nextPriority() {
  // xorshift32: priorities need only be spread, not unpredictable.
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  return seed_;
}

uint32_t RecordSequence::newNode(const Piece& piece, uint32_t priority) {
  Node node;
  node.piece = piece;
  node.priority = priority;
  node.total = piece.count;
  nodes_.push_back(node);
  return uint32_t(nodes_.size() - 1);
}

void RecordSequence::update(uint32_t node) {
  Node& n = nodes_[node];
  n.total = totalOf(n.left) + n.piece.count + totalOf(n.right);
}

const Piece& RecordSequence::locate(uint32_t n, uint32_t* offset) const {
  uint32_t node = root_;
  for (;;) {
    const Node& at = nodes_[node];
    uint32_t leftTotal = totalOf(at.left);
    if (n < leftTotal) {
      node = at.left;
    } else if (n - leftTotal < at.piece.count) {
      *offset = n - leftTotal;
      return at.piece;
    } else {
      n -= leftTotal + at.piece.count;
      node = at.right;
    }
  }
}

void RecordSequence::split(uint32_t node, uint32_t n, uint32_t* left, uint32_t* right) {
  if (node == kNone) {
    *left = *right = kNone;
    return;
  }
  uint32_t leftTotal = totalOf(nodes_[node].left);
  uint32_t count = nodes_[node].piece.count;
  if (n <= leftTotal) {
    uint32_t rest;
    split(nodes_[node].left, n, left, &rest);
    nodes_[node].left = rest;
    update(node);
    *right = node;
  } else if (n >= leftTotal + count) {
    uint32_t rest;
    split(nodes_[node].right, n - leftTotal - count, &rest, right);
    nodes_[node].right = rest;
    update(node);
    *left = node;
  } else {
    // n falls inside a run: the tail becomes a node of the same priority, which keeps
    // the heap order over the right subtree it takes along.
    uint32_t cut = n - leftTotal;
    Piece tail = nodes_[node].piece;
    tail.first += cut;
    tail.count -= cut;
    uint32_t tailNode = newNode(tail, nodes_[node].priority);
    nodes_[tailNode].right = nodes_[node].right;
    nodes_[node].right = kNone;
    nodes_[node].piece.count = cut;
    update(node);
    update(tailNode);
    *left = node;
    *right = tailNode;
  }
}

uint32_t RecordSequence::merge(uint32_t left, uint32_t right) {
  if (left == kNone) return right;
  if (right == kNone) return left;
  if (nodes_[left].priority >= nodes_[right].priority) {
    nodes_[left].right = merge(nodes_[left].right, right);
    update(left);
    return left;
  }
  nodes_[right].left = merge(left, nodes_[right].left);
  update(right);
  return right;
}

void RecordSequence::insertAdded(uint32_t n, uint32_t added) {
  uint32_t left, right;
  split(root_, n, &left, &right);
  uint32_t node = newNode(Piece{added, 0, 1}, nextPriority());
  root_ = merge(merge(left, node), right);
}

void RecordSequence::erase(uint32_t n) {
  uint32_t left, middle, right;
  split(root_, n, &left, &middle);
  uint32_t gone;
  split(middle, 1, &gone, &right);
  // The removed node stays in the pool; a compaction starts a fresh sequence.
  root_ = merge(left, right);
}

}  // namespace orvia::db
