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
      if (n != 0) {
        EXPECT_EQ(t.capacity, n + 1);  // grown to exactly the new length and its NUL
      }
    }
    if (way == "both" || way == "remove") {
      HeapText t(marked);
      EXPECT_EQ(removeUserMarker(t.text, uint32_t(marked.size()), code), plain.size());
      EXPECT_EQ(std::string(t.text, plain.size() + 1), plain + '\0');
    }
  }
}

TEST(UserMarkerTest, FailedReallocationZeroesTheCapacity) {
  HeapText t("w\r\nx");
  testing::injectAllocationFailure(1);
  EXPECT_EQ(insertUserMarker(&t.text, 4, 1, &t.capacity), 0u);
  testing::injectAllocationFailure(0);
  EXPECT_EQ(t.capacity, 0u);
  EXPECT_STREQ(t.text, "w\r\nx");
}

TEST(UserMarkerTest, RoomyTextIsNotReallocated) {
  HeapText t("w\r\nx", 59);
  char* before = t.text;
  EXPECT_EQ(insertUserMarker(&t.text, 4, 1, &t.capacity), 22u);
  EXPECT_EQ(t.text, before);
  EXPECT_EQ(t.capacity, 64u);
}

}  // namespace
}  // namespace orvia::content
