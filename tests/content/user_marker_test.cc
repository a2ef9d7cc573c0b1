// The user-word marker lines, byte for byte, and the tag rules of inserting and removing.
#include "content/user_marker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
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

enum Direction { kBoth, kInsertOnly, kRemoveOnly, kInsertFails };

TEST(UserMarkerTest, MarkerLinesAndTagRules) {
  struct Case {
    const char* name;
    std::string plain;
    uint32_t code;
    std::string marked;  // insert(plain) gives it, remove(marked) gives plain back
    Direction direction;
  };
  const std::string threeLines = "word\r\n~Imeaning\r\n~Aexample";
  const Case cases[] = {
      {"code 1", "word\r\nbody", 1, "word\r\n~J[User-defined]\r\nbody", kBoth},
      {"code 2", "word\r\nbody", 2, "word\r\n~I[\xD7\xD4\xBD\xA8\xD7\xD6]\r\nbody", kBoth},
      {"code 3", "word\r\nbody", 3, "word\r\n~I[\xA6\xDB\xAB\xD8\xA6r]\r\nbody", kBoth},
      {"code 4", "word\r\nbody", 4, "word\r\n~I[\x83\x86\x81[\x83U\x81[\x83\x8F\x81[\x83h]\r\nbody",
       kBoth},
      {"code 5", "word\r\nbody", 5, "word\r\n~I[\xC3\xDF\xB0\xA1\xB3\xB9\xB8\xBB]\r\nbody", kBoth},
      {"code 1 retags I lines as J and leaves A", threeLines, 1,
       "word\r\n~J[User-defined]\r\n~Jmeaning\r\n~Aexample", kBoth},
      {"code 2 keeps the tags", threeLines, 2,
       "word\r\n~I[\xD7\xD4\xBD\xA8\xD7\xD6]\r\n~Imeaning\r\n~Aexample", kBoth},
      {"remove retags all but A and the end marker", "w\r\n~Ia\r\n~Ab\r\n~!", 1,
       "w\r\n~J[User-defined]\r\n~Xa\r\n~Ab\r\n~!", kRemoveOnly},
      {"remove without the marker changes nothing", "w\r\n~Xa", 1, "w\r\n~Xa", kRemoveOnly},
      {"a tilde at the very end is left alone", "w\r\n~", 1, "w\r\n~J[User-defined]\r\n~",
       kRemoveOnly},
      {"a zero byte after a tilde inside the text is left alone",
       std::string("w\r\n~\0a\r\n~Ib", 11), 1,
       std::string("w\r\n~J[User-defined]\r\n~\0a\r\n~Xb", 29), kRemoveOnly},
      {"insert without a line break fails", "word", 1, "word", kInsertFails},
      {"no marker line for code 6", "w\r\n~Ia", 6, "w\r\n~Ia", kInsertOnly},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.direction != kRemoveOnly) {
      HeapText t(c.plain);
      const uint32_t n = insertUserMarker(&t.text, uint32_t(c.plain.size()), c.code, &t.capacity);
      EXPECT_EQ(n, c.direction == kInsertFails ? 0u : c.marked.size());
      EXPECT_EQ(std::string(t.text), c.marked);
      // Grown to exactly the new length and its NUL.
      if (n != 0) {
        EXPECT_EQ(t.capacity, n + 1);
      }
    }
    if (c.direction == kBoth || c.direction == kRemoveOnly) {
      HeapText t(c.marked);
      EXPECT_EQ(removeUserMarker(t.text, uint32_t(c.marked.size()), c.code), c.plain.size());
      EXPECT_EQ(std::string(t.text, c.plain.size() + 1), c.plain + '\0');
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
