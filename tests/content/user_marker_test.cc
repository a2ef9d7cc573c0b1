// The user-word marker lines, byte for byte, and the tag rules of inserting and removing
// (cases in tests/data/content/user_markers.txt).
#include "content/user_marker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "support/case_table.h"
#include "support/heap_failures.h"

namespace orvia::content {
namespace {

// A text on the process heap, as the callers hold it.
struct HeapText {
  explicit HeapText(const std::string& s, uint32_t size = 0)
      : text(static_cast<char*>(platform::heapAlloc(platform::processHeap(), size + s.size() + 1))),
        capacity(size + uint32_t(s.size()) + 1) {
    std::memcpy(text, s.c_str(), s.size() + 1);
  }
  ~HeapText() { platform::heapFree(platform::processHeap(), text); }
  char* text;
  uint32_t capacity;
};

TEST(UserMarkerTest, MarkerLinesAndTagRules) {
  for (const testing::CaseRow& c : testing::caseTable("content/user_markers.txt")) {
    SCOPED_TRACE(c.line);
    const std::string& way = c.fields[0];
    const uint32_t code = uint32_t(c.number(1));
    const std::string plain = *c.bytes(2), marked = *c.bytes(3);
    if (way != "remove") {
      HeapText t(plain);
      const uint32_t n = insertUserMarker(&t.text, uint32_t(plain.size()), code, &t.capacity);
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
  }
}

// A text with room enough keeps its block; one whose reallocation fails keeps its text
// and gets capacity 0.
TEST(UserMarkerTest, Reallocation) {
  HeapText roomy("w\r\nx", 59), tight("w\r\nx");
  char* before = roomy.text;
  EXPECT_EQ(insertUserMarker(&roomy.text, 4, 1, &roomy.capacity), 22u);
  EXPECT_EQ(roomy.text, before);
  EXPECT_EQ(roomy.capacity, 64u);
  testing::injectAllocationFailure(1);
  EXPECT_EQ(insertUserMarker(&tight.text, 4, 1, &tight.capacity), 0u);
  testing::injectAllocationFailure(0);
  EXPECT_EQ(tight.capacity, 0u);
  EXPECT_STREQ(tight.text, "w\r\nx");
}

}  // namespace
}  // namespace orvia::content
