#include "content/user_entry_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/bytes.h"
#include "content/user_entry_format.h"

namespace orvia::content {
namespace {

uint32_t blocksFor(uint32_t length) {
  return uint32_t((uint64_t(length) + kUserBlockPayload - 1) / kUserBlockPayload);
}

// The file as a set of blocks, for walking and checking chains.
class BlockFile {
 public:
  explicit BlockFile(FileHandle file) : file_(file), size_(currentFileSize(file)) {}

  uint32_t size() const { return size_; }
  // A block lies wholly in the file and clear of the free-list head.
  bool holds(uint32_t block) const {
    return block >= kFirstBlockOffset && size_ >= kUserBlockSize && block <= size_ - kUserBlockSize;
  }
  // More links than this in one chain means the chain comes back on itself.
  uint32_t maxBlocks() const {
    return size_ < kFirstBlockOffset ? 0 : (size_ - kFirstBlockOffset) / kUserBlockSize;
  }
  bool link(uint32_t block, uint32_t* next) const { return readU32At(file_, block, next); }

  // The last block of the free list, 0 when it is empty. Fails when the list leaves the
  // file, loops, or already holds avoid.
  bool lastFreeBlock(uint32_t avoid, uint32_t* last) const {
    uint32_t block;
    if (!readU32At(file_, kFreeListHeadOffset, &block)) return false;
    *last = 0;
    for (uint32_t steps = 0; block != 0; ++steps) {
      if (block == avoid || !holds(block) || steps >= maxBlocks()) return false;
      *last = block;
      if (!link(block, &block)) return false;
    }
    return true;
  }

  // Writes one block's link and data.
  bool writeBlock(uint32_t block, uint32_t next, const char* data, uint32_t count) const {
    uint8_t bytes[kUserBlockSize];
    storeU32Le(bytes, next);
    std::memcpy(bytes + kBlockDataOffset, data, count);
    return writeFileAt(file_, block, kBlockDataOffset + count, bytes) == kBlockDataOffset + count;
  }

 private:
  FileHandle file_;
  uint32_t size_;
};

// Blocks of a sound file never overlap, let alone repeat.
bool apart(std::vector<uint32_t> blocks) {
  std::sort(blocks.begin(), blocks.end());
  return std::adjacent_find(blocks.begin(), blocks.end(), [](uint32_t a, uint32_t b) {
           return b - a < kUserBlockSize;
         }) == blocks.end();
}

// Where the blocks of a new chain come from, in order of preference.
enum class Source { kOwnChain, kFreeList, kFileEnd };

// Blocks planned for one append or rewrite: blocks[0] is the head, then the content
// blocks. Planning first means a damaged chain is found before anything is written.
struct ChainPlan {
  std::vector<uint32_t> blocks;
  Source endedIn = Source::kFileEnd;
  uint32_t rest = 0;  // link of the last block taken from a list
};

// Extends plan to count content blocks after its last block, taking them from source on:
// the own chain follows links from the last planned block, the free list starts at its
// head (unless already entered) and follows links, the file end gives appendAt onwards.
bool planBlocks(const BlockFile& bf, uint32_t count, Source source, bool freeEntered,
                uint32_t appendAt, ChainPlan* plan) {
  while (plan->blocks.size() <= count) {
    uint32_t next = 0;
    if (source == Source::kFileEnd) {
      if (uint64_t(appendAt) + kUserBlockSize > 0xFFFFFFFFu) return false;
      next = appendAt;
      appendAt += kUserBlockSize;
    } else {
      uint32_t from =
          source == Source::kFreeList && !freeEntered ? kFreeListHeadOffset : plan->blocks.back();
      if (!bf.link(from, &next)) return false;
      if (next == 0) {
        source = source == Source::kOwnChain ? Source::kFreeList : Source::kFileEnd;
        continue;
      }
      if (!bf.holds(next)) return false;
      freeEntered = freeEntered || source == Source::kFreeList;
    }
    plan->blocks.push_back(next);
  }
  plan->endedIn = source;
  if (source != Source::kFileEnd && !bf.link(plan->blocks.back(), &plan->rest)) return false;
  return apart(plan->blocks);
}

// Writes the content blocks of plan; the last one's link is 0.
bool writeContent(const BlockFile& bf, const ChainPlan& plan, const char* content,
                  uint32_t length) {
  uint32_t done = 0;
  for (size_t i = 1; i < plan.blocks.size(); ++i) {
    uint32_t count = std::min(kUserBlockPayload, length - done);
    uint32_t next = i + 1 < plan.blocks.size() ? plan.blocks[i + 1] : 0;
    if (!bf.writeBlock(plan.blocks[i], next, content + done, count)) return false;
    done += count;
  }
  return true;
}

// A damaged head may claim any length, and callers allocate what is reported. An entry's
// content blocks may lie anywhere in the file (reused free blocks come before the head as
// often as after it), so the bound is every block of the file but the head.
bool fitsInFile(const BlockFile& bf, uint32_t length) {
  return blocksFor(length) < bf.maxBlocks();
}

}  // namespace

uint32_t userEntryContentLength(FileHandle file, uint32_t head) {
  uint32_t length;
  if (!readU32At(file, head + kHeadContentLengthOffset, &length)) return 0;
  return fitsInFile(BlockFile(file), length) ? length : 0;
}

uint32_t readUserEntryContent(FileHandle file, uint32_t head, char* buffer, uint32_t capacity) {
  uint32_t length;
  if (buffer == nullptr || !readU32At(file, head + kHeadContentLengthOffset, &length) ||
      capacity <= length || length == 0) {
    return 0;
  }
  BlockFile bf(file);
  if (!fitsInFile(bf, length)) return 0;
  std::vector<uint32_t> seen{head};
  uint32_t block = head;
  for (uint32_t done = 0; done < length;) {
    uint32_t count = std::min(kUserBlockPayload, length - done);
    if (!bf.link(block, &block) || !bf.holds(block) ||
        readFileAt(file, block + kBlockDataOffset, count, buffer + done) != count) {
      return 0;
    }
    seen.push_back(block);
    done += count;
  }
  if (!apart(seen)) return 0;
  buffer[length] = 0;
  return length;
}

uint32_t appendUserEntry(FileHandle file, const char* key, const char* content,
                         uint32_t contentLength) {
  if (key == nullptr || content == nullptr || contentLength == 0) return 0;
  uint32_t keyLength = uint32_t(strnlen(key, kMaxUserKeyLength + 1));
  if (keyLength == 0) return 0;
  keyLength = std::min(keyLength, kMaxUserKeyLength);

  BlockFile bf(file);
  uint32_t freeHead;
  if (!bf.link(kFreeListHeadOffset, &freeHead)) return 0;
  ChainPlan plan;
  bool planned;
  if (freeHead != 0) {
    // The head takes the first free block; its link goes on through the free list.
    plan.blocks.push_back(freeHead);
    planned = bf.holds(freeHead) &&
              planBlocks(bf, blocksFor(contentLength), Source::kFreeList, true, bf.size(), &plan);
  } else {
    // Appending to an empty file would put the head over the free-list head.
    plan.blocks.push_back(bf.size());
    planned = bf.size() >= kFirstBlockOffset &&
              uint64_t(bf.size()) + kUserBlockSize <= 0xFFFFFFFFu &&
              planBlocks(bf, blocksFor(contentLength), Source::kFileEnd, false,
                         bf.size() + kUserBlockSize, &plan);
  }
  if (!planned) return 0;

  uint8_t headBytes[kHeadKeyOffset + kMaxUserKeyLength];
  storeU32Le(headBytes, plan.blocks[1]);
  storeU32Le(headBytes + kHeadKeyLengthOffset, keyLength);
  storeU32Le(headBytes + kHeadContentLengthOffset, contentLength);
  std::memcpy(headBytes + kHeadKeyOffset, key, keyLength);
  const uint32_t head = plan.blocks[0];
  if (writeFileAt(file, head, kHeadKeyOffset + keyLength, headBytes) !=
          kHeadKeyOffset + keyLength ||
      !writeContent(bf, plan, content, contentLength)) {
    return 0;
  }
  if (plan.endedIn == Source::kFileEnd) {
    if (!truncateFileAt(file, plan.blocks.back() + kUserBlockSize) ||
        !writeU32At(file, kFreeListHeadOffset, 0)) {
      return 0;
    }
  } else if (!writeU32At(file, kFreeListHeadOffset, plan.rest)) {
    return 0;
  }
  return head;
}

uint32_t rewriteUserEntry(FileHandle file, uint32_t head, const char* content,
                          uint32_t contentLength) {
  if (head == 0 || content == nullptr || contentLength == 0) return 0;
  BlockFile bf(file);
  if (!bf.holds(head)) return 0;
  ChainPlan plan;
  plan.blocks.push_back(head);
  if (!planBlocks(bf, blocksFor(contentLength), Source::kOwnChain, false, bf.size(), &plan)) {
    return 0;
  }
  if (!writeU32At(file, head + kHeadContentLengthOffset, contentLength) ||
      !writeU32At(file, head + kBlockLinkOffset, plan.blocks[1]) ||
      !writeContent(bf, plan, content, contentLength)) {
    return 0;
  }
  switch (plan.endedIn) {
    case Source::kFileEnd:
      return truncateFileAt(file, plan.blocks.back() + kUserBlockSize) &&
                     writeU32At(file, kFreeListHeadOffset, 0)
                 ? 1
                 : 0;
    case Source::kFreeList:
      return writeU32At(file, kFreeListHeadOffset, plan.rest) ? 1 : 0;
    case Source::kOwnChain: {
      // The blocks the shorter content no longer needs go to the end of the free list.
      if (plan.rest == 0) return 1;
      uint32_t last;
      if (!bf.lastFreeBlock(head, &last)) return 0;
      return writeU32At(file, last == 0 ? kFreeListHeadOffset : last, plan.rest) ? 1 : 0;
    }
  }
  return 0;
}

uint32_t freeUserEntry(FileHandle file, uint32_t head) {
  BlockFile bf(file);
  uint32_t last;
  // Meeting the head on the free list means it is free already; linking it again would
  // close the list into a loop.
  if (!bf.holds(head) || !bf.lastFreeBlock(head, &last)) return 0;
  return writeU32At(file, last == 0 ? kFreeListHeadOffset : last, head) ? 1 : 0;
}

}  // namespace orvia::content
