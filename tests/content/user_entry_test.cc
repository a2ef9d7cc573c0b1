// User-entry files: appends against golden files (tests/data/content/user_entry/),
// refusals and damaged chains, and a randomized run of append, rewrite and free against a
// model of the blocks, with reopening; and the user-word marker lines, byte for byte, with
// the tag rules of inserting and removing (cases in tests/data/content/user_markers.txt).
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "content/user_entry_file.h"
#include "content/user_marker.h"
#include "platform/platform.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/heap_failures.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using namespace orvia::testing;

class UserEntryFileTest : public ::testing::Test {
 protected:
  UserEntryFileTest() { put(std::string(4, '\0')); }  // an empty free list
  ~UserEntryFileTest() override { closeFile(file_); }

  // Replaces the file's bytes and reopens it.
  void put(const std::string& bytes) {
    closeFile(file_);
    writeFileBytes(path_, bytes);
    file_ = openFileReadWrite(path_.c_str());
    ASSERT_NE(file_, kInvalidFile);
  }
  uint32_t append(const std::string& key, const std::string& content) {
    return appendUserEntry(file_, key.c_str(), content.data(), uint32_t(content.size()));
  }
  uint32_t rewrite(uint32_t head, const std::string& content) {
    return rewriteUserEntry(file_, head, content.data(), uint32_t(content.size()));
  }
  std::string read(uint32_t head) {
    std::string out(userEntryContentLength(file_, head) + 1, '\0');
    return out.substr(0, readUserEntryContent(file_, head, out.data(), uint32_t(out.size())));
  }
  std::string bytes() { return readFileBytes(path_); }
  // The free list as the file holds it, at most 10000 links.
  std::vector<uint32_t> freeList() {
    const std::string b = bytes();
    auto link = [&](uint32_t at) { return loadU32Le(reinterpret_cast<const uint8_t*>(&b[at])); };
    std::vector<uint32_t> list;
    for (uint32_t at = link(0); at != 0 && list.size() < 10000; at = link(at)) list.push_back(at);
    return list;
  }
  static std::string damaged(std::string b, int64_t at, int64_t value) {
    return b.replace(size_t(at), 4, le32(uint32_t(value)));
  }

  TempDir dir_;
  const std::string path_ = dir_.file("7F010203.DAT");
  FileHandle file_ = kInvalidFile;
};

TEST_F(UserEntryFileTest, AppendsLayBlocksAsTheGoldenFiles) {
  EXPECT_EQ(append("key", std::string(252, 'f')), 4u);
  EXPECT_EQ(append("key2", std::string(253, 'o')), 516u);
  EXPECT_EQ(bytes(), goldenBytes("content/user_entry/two_entries.hex"));
  char small[253];
  EXPECT_EQ(readUserEntryContent(file_, 516, small, 253), 0u);  // no room for the NUL
  put(std::string(4, '\0'));
  EXPECT_EQ(append(std::string(300, 'k'), "x"), 4u);
  EXPECT_EQ(bytes(), goldenBytes("content/user_entry/long_key.hex"));
  // Free blocks are taken first, in list order, then the end of the file.
  put(std::string(4, '\0'));
  ASSERT_EQ(freeUserEntry(file_, append("a", std::string(252, 'a'))), 1u);
  EXPECT_EQ(append("b", std::string(600, 'b')), 4u);
  EXPECT_EQ(bytes(), goldenBytes("content/user_entry/free_reuse.hex"));
}

TEST_F(UserEntryFileTest, RefusalsAndDamagedChains) {
  EXPECT_EQ(append("", "x") + append("k", "") + rewrite(0, "x"), 0u);
  ASSERT_EQ(append("k", std::string(600, 'x')), 4u);
  ASSERT_EQ(append("o", "o"), 1028u);
  const std::string saved = bytes();
  forEachCase("content/user_entry_damage.txt", [&](const CaseRow& c) {
    put(damaged(saved, c.number(0), c.number(1)));
    char out[700];
    EXPECT_EQ(readUserEntryContent(file_, 4, out, sizeof out), 0u);
    EXPECT_EQ(rewrite(4, std::string(600, 'z')), uint32_t(c.number(2)));
  });
  // A length is believed only while the file's other blocks could hold it: six blocks,
  // so at most five of content.
  for (auto [claimed, reported] : {std::pair{1260u, 1260u}, {1261u, 0u}, {0xFFFFFF15u, 0u}}) {
    put(damaged(saved, 4 + 8, claimed));
    EXPECT_EQ(userEntryContentLength(file_, 4), reported) << claimed;
  }
  put(saved);
  ASSERT_EQ(freeUserEntry(file_, 1028), 1u);
  const std::string freed = bytes();
  // A free list that loops: neither freeing nor appending follows it forever.
  put(damaged(freed, 1028 + 256, 1028));
  EXPECT_EQ(freeUserEntry(file_, 4) + append("n", std::string(2000, 'n')), 0u);
  // Freeing an entry already on the list would close it into a loop.
  put(freed);
  EXPECT_EQ(freeUserEntry(file_, 1028), 0u);
}

// The blocks as the format says they move: entries own chains; the free list is one
// chain; new blocks come from the list in order, then from the end of the file; a
// rewrite keeps its head, takes its own blocks first and frees those it no longer needs.
struct BlockModel {
  std::vector<uint32_t> freeList;
  uint32_t fileSize = 4;
  std::map<uint32_t, std::pair<std::string, std::vector<uint32_t>>> entries;  // head first

  uint32_t take(std::vector<uint32_t>& from) {
    if (from.empty()) return (fileSize += 256) - 256;
    const uint32_t b = from.front();
    from.erase(from.begin());
    return b;
  }
  // Gives the entry at head, or a new one for head 0, the content; returns its head.
  uint32_t write(uint32_t head, const std::string& content) {
    std::vector<uint32_t> own;
    if (head != 0) own.assign(entries[head].second.begin() + 1, entries[head].second.end());
    std::vector<uint32_t> chain{head != 0 ? head : take(freeList)};
    for (size_t n = 0; n < content.size(); n += 252)
      chain.push_back(take(own.empty() ? freeList : own));
    freeList.insert(freeList.end(), own.begin(), own.end());
    entries[chain[0]] = {content, chain};
    return chain[0];
  }
  void free(uint32_t head) {
    const auto& blocks = entries[head].second;
    freeList.insert(freeList.end(), blocks.begin(), blocks.end());
    entries.erase(head);
  }
};

TEST_F(UserEntryFileTest, RandomOperationsMatchTheModel) {
  std::mt19937 rng(11);
  BlockModel model;
  for (int step = 0; step < 600; ++step) {
    SCOPED_TRACE(::testing::Message() << "seed 11, step " << step);
    const uint32_t op = rng() % 10, sizes[] = {1, 251, 252, 253, 504, 505};
    std::string content(rng() % 3 == 0 ? sizes[rng() % 6] : 1 + rng() % 1300, ' ');
    for (char& c : content) c = char('a' + rng() % 26);
    uint32_t head = 0;  // an entry to rewrite or free, or 0 to append one
    if (op >= 4 && !model.entries.empty())
      head = std::next(model.entries.begin(), rng() % model.entries.size())->first;
    if (head == 0) {
      ASSERT_EQ(append("key" + std::to_string(step), content), model.write(0, content));
    } else if (op < 7) {
      ASSERT_EQ(rewrite(head, content), 1u);
      model.write(head, content);
    } else {
      ASSERT_EQ(freeUserEntry(file_, head), 1u);
      model.free(head);
    }
    if (step % 25 == 0) put(bytes());  // reopened
    ASSERT_EQ(bytes().size(), model.fileSize);
    ASSERT_EQ(freeList(), model.freeList);
    for (const auto& [at, entry] : model.entries) ASSERT_EQ(read(at), entry.first) << at;
  }
}

// A text on the process heap, as the callers hold it, with room for extra bytes more.
struct HeapText {
  explicit HeapText(const std::string& s, uint32_t extra = 0)
      : text(
            static_cast<char*>(platform::heapAlloc(platform::processHeap(), extra + s.size() + 1))),
        capacity(extra + uint32_t(s.size()) + 1) {
    std::memcpy(text, s.c_str(), s.size() + 1);
  }
  ~HeapText() { platform::heapFree(platform::processHeap(), text); }
  uint32_t insert(uint32_t code) {
    return insertUserMarker(&text, uint32_t(std::strlen(text)), code, &capacity);
  }
  char* text;
  uint32_t capacity;
};

TEST(UserMarkerTest, MarkerLinesAndTagRules) {
  forEachCase("content/user_markers.txt", [&](const CaseRow& c) {
    const std::string& way = c.fields[0];
    const uint32_t code = uint32_t(c.number(1));
    const std::string plain = *c.bytes(2), marked = *c.bytes(3);
    if (way != "remove") {
      HeapText t(plain);
      const uint32_t n = t.insert(code);
      EXPECT_EQ(n, way == "refused" ? 0u : marked.size());
      EXPECT_EQ(std::string(t.text), marked);
      // Grown to exactly the new length and its NUL.
      EXPECT_TRUE(n == 0 || t.capacity == n + 1) << t.capacity;
    }
    if (way == "both" || way == "remove") {
      HeapText t(marked);
      EXPECT_EQ(removeUserMarker(t.text, uint32_t(marked.size()), code), plain.size());
      EXPECT_EQ(std::string(t.text, plain.size() + 1), plain + '\0');
    }
  });
}

// A text with room enough keeps its block; one whose reallocation fails keeps its text
// and gets capacity 0.
TEST(UserMarkerTest, Reallocation) {
  HeapText roomy("w\r\nx", 59), tight("w\r\nx");
  char* before = roomy.text;
  EXPECT_EQ(roomy.insert(1), 22u);
  EXPECT_TRUE(roomy.text == before && roomy.capacity == 64u);
  injectAllocationFailure(1);
  EXPECT_EQ(tight.insert(1), 0u);
  injectAllocationFailure(0);
  EXPECT_EQ(tight.capacity, 0u);
  EXPECT_STREQ(tight.text, "w\r\nx");
}

}  // namespace
}  // namespace orvia::content
