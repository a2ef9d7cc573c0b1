#include "compile/content/huffman_encoder.h"

#include <algorithm>
#include <queue>

#include "base/bytes.h"

namespace orvia::compile {
namespace {

using content::kHuffmanSwitchSymbol;

struct Symbol {
  uint8_t tree;
  uint8_t value;
};

// The symbols that code text, in the order the decoder reads them.
bool symbolsOf(const uint8_t* text, uint32_t size, std::vector<Symbol>* out) {
  out->reserve(out->size() + size + size / 2 + 1);  // a switch at most every other byte
  bool inRun = false;
  for (uint32_t i = 0; i < size;) {
    uint8_t b = text[i];
    if (b >= 0x81 && b != 0xFF && i + 1 < size) {
      if (!inRun) out->push_back({0, kHuffmanSwitchSymbol});
      inRun = true;
      out->push_back({1, b});
      out->push_back({2, text[i + 1]});
      i += 2;
      continue;
    }
    if (b == 0xFF) return false;
    if (inRun) out->push_back({1, kHuffmanSwitchSymbol});
    inRun = false;
    out->push_back({0, b});
    ++i;
  }
  return true;
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}
  void put(uint64_t bits, uint32_t length) {
    if (length > 32) {
      put(bits >> 32, length - 32);
      length = 32;
    }
    pending_ = pending_ << length | (bits & ((uint64_t(1) << length) - 1));
    count_ += length;
    while (count_ >= 8) {
      count_ -= 8;
      out_->push_back(uint8_t(pending_ >> count_));
    }
  }
  void finish() {
    if (count_ > 0) out_->push_back(uint8_t(pending_ << (8 - count_)));
    count_ = 0;
  }

 private:
  std::vector<uint8_t>* out_;
  uint64_t pending_ = 0;  // the low count_ bits are still to be written
  uint32_t count_ = 0;
};

}  // namespace

bool HuffmanStatistics::add(const uint8_t* text, uint32_t size) {
  std::vector<Symbol> symbols;
  if (!symbolsOf(text, size, &symbols)) return false;
  for (const Symbol& s : symbols) ++counts_[s.tree][s.value];
  return true;
}

HuffmanEncoder::HuffmanEncoder(const HuffmanStatistics& statistics) {
  content::HuffmanTrees view;
  for (uint32_t t = 0; t < content::kHuffmanTreeCount; ++t) {
    build(t, statistics.counts(t));
    view.tree[t] = trees_[t].data();
    view.size[t] = uint32_t(trees_[t].size());
  }
  usable_ = check_.load(view);
}

void HuffmanEncoder::build(uint32_t tree, const uint64_t* counts) {
  // Nodes 0..255 are leaves; inner nodes follow. Ties go to the lower index so the
  // trees do not depend on the queue's whims.
  struct Node {
    uint64_t weight;
    int one = -1, zero = -1;
  };
  std::vector<Node> nodes(256);
  using Item = std::pair<uint64_t, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
  for (int s = 0; s < 256; ++s) {
    nodes[s].weight = counts[s];
    if (counts[s] != 0) queue.push({counts[s], s});
  }
  for (int s = 0; queue.size() < 2; ++s) {
    if (counts[s] == 0) queue.push({0, s});
  }
  while (queue.size() > 1) {
    Item a = queue.top();
    queue.pop();
    Item b = queue.top();
    queue.pop();
    nodes.push_back({a.first + b.first, a.second, b.second});
    queue.push({a.first + b.first, int(nodes.size() - 1)});
  }

  // Pre-order layout: a 1 bit goes to the next entry, a 0 bit to the entry named.
  std::vector<uint16_t> entries;
  struct Visit {
    int node;
    uint64_t bits;
    uint32_t length;
    int patch;  // entry whose 0 branch lands here, or -1
  };
  std::vector<Visit> stack{{queue.top().second, 0, 0, -1}};
  while (!stack.empty()) {
    Visit v = stack.back();
    stack.pop_back();
    if (v.patch >= 0) entries[v.patch] = uint16_t(entries.size());
    const Node& n = nodes[v.node];
    if (v.node < 256) {
      entries.push_back(uint16_t(content::kHuffmanLeafBase + v.node));
      codes_[tree][v.node] = {v.bits, v.length};
      continue;
    }
    int self = int(entries.size());
    entries.push_back(0);
    stack.push_back({n.zero, v.bits << 1, v.length + 1, self});
    stack.push_back({n.one, (v.bits << 1) | 1, v.length + 1, -1});
  }
  trees_[tree].resize(entries.size() * 2);
  for (size_t i = 0; i < entries.size(); ++i) storeU16Le(&trees_[tree][2 * i], entries[i]);
}

bool HuffmanEncoder::encode(const uint8_t* text, uint32_t size, std::vector<uint8_t>* bits) const {
  std::vector<Symbol> symbols;
  if (!usable_ || !symbolsOf(text, size, &symbols)) return false;
  std::vector<uint8_t> stream;
  BitWriter out(&stream);
  for (const Symbol& s : symbols) {
    const Code& code = codes_[s.tree][s.value];
    // Codes deeper than 64 bits would need weights beyond any real dictionary.
    if (code.length == 0 || code.length > 64) return false;
    out.put(code.bits, code.length);
  }
  out.finish();
  // The end-marker rule decides where decoding stops: it must be this text's last byte.
  if (check_.textSize(stream.data(), uint32_t(stream.size())) != size) return false;
  bits->insert(bits->end(), stream.begin(), stream.end());
  return true;
}

}  // namespace orvia::compile
