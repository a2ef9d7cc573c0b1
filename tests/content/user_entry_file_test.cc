// User-entry files: the block layout by hand, damaged chains, and a randomized run of
// append, rewrite and free against a model of the blocks, with reopening.
#include "content/user_entry_file.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "content/user_entry_format.h"
#include "content_test_util.h"

namespace orvia::content {
namespace {

using test::Bytes;
using test::u32At;

class UserEntryFileTest : public ::testing::Test {
 protected:
  UserEntryFileTest() : path_(dir_.file("7F010203.DAT")) {
    test::writeBytes(path_, Bytes(4, 0));
    reopen();
  }
  ~UserEntryFileTest() override { closeFile(file_); }

  void reopen() {
    closeFile(file_);
    file_ = openFileReadWrite(path_.c_str());
    ASSERT_NE(file_, kInvalidFile);
  }
  uint32_t append(const std::string& key, const std::string& content) {
    return appendUserEntry(file_, key.c_str(), content.data(), uint32_t(content.size()));
  }
  std::string read(uint32_t head) {
    std::string out(userEntryContentLength(file_, head) + 1, '\0');
    uint32_t n = readUserEntryContent(file_, head, out.data(), uint32_t(out.size()));
    return out.substr(0, n);
  }
  Bytes bytes() { return test::readBytes(path_); }
  // The free list as the file holds it, at most 10000 links.
  std::vector<uint32_t> freeList() {
    Bytes b = bytes();
    std::vector<uint32_t> list;
    for (uint32_t at = u32At(b, 0); at != 0 && list.size() < 10000; at = u32At(b, at)) {
      list.push_back(at);
    }
    return list;
  }

  test::TempDir dir_;
  std::string path_;
  FileHandle file_ = kInvalidFile;
};

TEST_F(UserEntryFileTest, BlockLayoutByHand) {
  std::string full(252, 'f'), over(253, 'o');
  uint32_t first = append("key", full);
  ASSERT_EQ(first, 4u);
  EXPECT_EQ(bytes().size(), 4u + 2 * 256);  // a head and one content block
  uint32_t second = append("key2", over);
  ASSERT_EQ(second, 4u + 2 * 256);
  Bytes b = bytes();
  EXPECT_EQ(b.size(), 4u + 5 * 256);          // a head and two content blocks
  EXPECT_EQ(u32At(b, second), second + 256);  // head links to content
  EXPECT_EQ(u32At(b, second + 4), 4u);        // key length
  EXPECT_EQ(u32At(b, second + 8), 253u);      // content length
  EXPECT_EQ(std::string(b.begin() + second + 12, b.begin() + second + 16), "key2");
  EXPECT_EQ(u32At(b, second + 256), second + 512);
  EXPECT_EQ(u32At(b, second + 512), 0u);
  EXPECT_EQ(b[second + 512 + 4], 'o');  // the second holds one byte
  EXPECT_EQ(read(first), full);
  EXPECT_EQ(read(second), over);

  char small[253];
  EXPECT_EQ(readUserEntryContent(file_, second, small, 253), 0u);  // no room for the NUL
}

TEST_F(UserEntryFileTest, LongKeysKeep244Bytes) {
  uint32_t head = append(std::string(300, 'k'), "x");
  Bytes b = bytes();
  EXPECT_EQ(u32At(b, head + 4), 244u);
  EXPECT_EQ(b[head + 12 + 243], 'k');
}

TEST_F(UserEntryFileTest, RefusesEmptyKeyAndContent) {
  EXPECT_EQ(append("", "x"), 0u);
  EXPECT_EQ(append("k", ""), 0u);
  EXPECT_EQ(rewriteUserEntry(file_, 0, "x", 1), 0u);
}

// Two free blocks, three needed: head and first content block from the list, the other
// two at the old end of the file, and the list is empty after.
TEST_F(UserEntryFileTest, AppendTakesFreeBlocksFirst) {
  uint32_t old = append("a", std::string(252, 'a'));
  ASSERT_EQ(freeUserEntry(file_, old), 1u);
  EXPECT_EQ(u32At(bytes(), 0), old);  // freeing into an empty list writes offset 0
  uint32_t head = append("b", std::string(600, 'b'));
  EXPECT_EQ(head, old);
  Bytes b = bytes();
  EXPECT_EQ(u32At(b, 0), 0u);
  EXPECT_EQ(u32At(b, head), 260u);
  EXPECT_EQ(u32At(b, 260), 516u);
  EXPECT_EQ(u32At(b, 516), 772u);
  EXPECT_EQ(b.size(), 1028u);
  EXPECT_EQ(read(head), std::string(600, 'b'));
}

TEST_F(UserEntryFileTest, RewriteShrinksIntoTheFreeListAndGrowsFromIt) {
  uint32_t spare = append("s", "s");
  uint32_t head = append("k", std::string(700, 'x'));  // head + 3 content blocks
  ASSERT_EQ(freeUserEntry(file_, spare), 1u);
  ASSERT_EQ(rewriteUserEntry(file_, head, "short", 5), 1u);
  EXPECT_EQ(read(head), "short");
  // The spare entry's two blocks, then the two content blocks no longer needed.
  EXPECT_EQ(freeList(), (std::vector<uint32_t>{spare, spare + 256, head + 512, head + 768}));
  size_t size = bytes().size();
  ASSERT_EQ(rewriteUserEntry(file_, head, std::string(1000, 'y').c_str(), 1000), 1u);
  EXPECT_EQ(read(head), std::string(1000, 'y'));
  EXPECT_EQ(freeList(), std::vector<uint32_t>{head + 768});
  EXPECT_EQ(bytes().size(), size);  // four free blocks covered the three more needed
}

TEST_F(UserEntryFileTest, DamagedChainsAreDetected) {
  uint32_t head = append("k", std::string(600, 'x'));
  uint32_t other = append("o", "o");
  struct Damage {
    const char* name;
    uint32_t at, value;
    bool rewriteFails;  // a rewrite takes a 0 link as the end of its own chain
  };
  const Damage cases[] = {
      {"content link past the end of the file", head + 256, 0x7FFFFFF0, true},
      {"content link back to the head", head + 256, head, true},
      {"content link of 0 before the content ends", head + 256, 0, false},
      {"content link into the free-list head", head, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes saved = bytes();
    Bytes damaged = saved;
    for (int i = 0; i < 4; ++i) damaged[c.at + i] = uint8_t(c.value >> (8 * i));
    test::writeBytes(path_, damaged);
    reopen();
    char out[700];
    EXPECT_EQ(readUserEntryContent(file_, head, out, sizeof out), 0u);
    EXPECT_EQ(rewriteUserEntry(file_, head, std::string(600, 'z').c_str(), 600),
              c.rewriteFails ? 0u : 1u);
    test::writeBytes(path_, saved);
    reopen();
  }
  // A free list that loops: neither freeing nor appending follows it forever.
  ASSERT_EQ(freeUserEntry(file_, other), 1u);
  Bytes looped = bytes();
  for (int i = 0; i < 4; ++i) looped[other + 256 + i] = uint8_t(other >> (8 * i));
  test::writeBytes(path_, looped);
  reopen();
  EXPECT_EQ(freeUserEntry(file_, head), 0u);
  EXPECT_EQ(append("n", std::string(2000, 'n')), 0u);
  // Freeing an entry already on the list would close it into a loop.
  test::writeBytes(path_, Bytes(looped.begin(), looped.end()));
  for (int i = 0; i < 4; ++i) looped[other + 256 + i] = 0;
  test::writeBytes(path_, looped);
  reopen();
  EXPECT_EQ(freeUserEntry(file_, other), 0u);
}

// The blocks as the format says they move: entries own chains; the free list is one
// chain; new blocks come from the list in order, then from the end of the file.
struct BlockModel {
  struct Entry {
    std::string content;
    std::vector<uint32_t> blocks;  // head first
  };
  std::vector<uint32_t> freeList;
  uint32_t fileSize = 4;
  std::map<uint32_t, Entry> entries;

  static uint32_t blocksFor(size_t n) { return uint32_t((n + 251) / 252); }
  uint32_t take(std::vector<uint32_t>& from) {
    if (!from.empty()) {
      uint32_t b = from.front();
      from.erase(from.begin());
      return b;
    }
    fileSize += 256;
    return fileSize - 256;
  }
  uint32_t append(const std::string& content) {
    Entry e{content, {}};
    for (uint32_t i = 0; i <= blocksFor(content.size()); ++i) e.blocks.push_back(take(freeList));
    uint32_t head = e.blocks[0];
    entries[head] = e;
    return head;
  }
  void rewrite(uint32_t head, const std::string& content) {
    Entry& e = entries[head];
    std::vector<uint32_t> own(e.blocks.begin() + 1, e.blocks.end());
    std::vector<uint32_t> chain{head};
    for (uint32_t i = 0; i < blocksFor(content.size()); ++i) {
      chain.push_back(!own.empty() ? take(own) : take(freeList));
    }
    freeList.insert(freeList.end(), own.begin(), own.end());
    e = Entry{content, chain};
  }
  void free(uint32_t head) {
    const auto& blocks = entries[head].blocks;
    freeList.insert(freeList.end(), blocks.begin(), blocks.end());
    entries.erase(head);
  }
};

TEST_F(UserEntryFileTest, RandomOperationsMatchTheModel) {
  std::mt19937 rng(11);
  BlockModel model;
  auto randomContent = [&]() {
    static const uint32_t kSizes[] = {1, 251, 252, 253, 504, 505};
    uint32_t n = rng() % 3 == 0 ? kSizes[rng() % 6] : 1 + rng() % 1300;
    std::string s(n, ' ');
    for (auto& c : s) c = char('a' + rng() % 26);
    return s;
  };
  for (int step = 0; step < 600; ++step) {
    uint32_t op = rng() % 10;
    if (model.entries.empty() || op < 4) {
      std::string content = randomContent();
      uint32_t head = append("key" + std::to_string(step), content);
      ASSERT_EQ(head, model.append(content)) << "step " << step;
    } else {
      auto it = model.entries.begin();
      std::advance(it, rng() % model.entries.size());
      uint32_t head = it->first;
      if (op < 7) {
        std::string content = randomContent();
        ASSERT_EQ(rewriteUserEntry(file_, head, content.data(), uint32_t(content.size())), 1u);
        model.rewrite(head, content);
      } else {
        ASSERT_EQ(freeUserEntry(file_, head), 1u);
        model.free(head);
      }
    }
    if (step % 25 == 0) reopen();
    ASSERT_EQ(bytes().size(), model.fileSize) << "step " << step;
    ASSERT_EQ(freeList(), model.freeList) << "step " << step;
    for (const auto& [head, entry] : model.entries) {
      ASSERT_EQ(read(head), entry.content) << "step " << step << " head " << head;
    }
  }
}

}  // namespace
}  // namespace orvia::content
