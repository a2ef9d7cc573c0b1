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
  explicit HeapText(const std::string& s, uint32_t size = 0) {
    capacity = size != 0 ? size : uint32_t(s.size() + 1);
    text = static_cast<char*>(platform::heapAlloc(platform::processHeap(), capacity));
    std::memcpy(text, s.c_str(), s.size() + 1);
  }
  ~HeapText() { platform::heapFree(platform::processHeap(), text); }
  char* text;
  uint32_t capacity;
};

TEST(UserMarkerTest, MarkerLinesByteForByte) {
  struct Case {
    uint32_t code;
    std::string marker;
  };
  const Case cases[] = {
      {1, "\r\n~J[User-defined]"},
      {2, "\r\n~I[\xD7\xD4\xBD\xA8\xD7\xD6]"},
      {3, std::string("\r\n~I[\xA6\xDB\xAB\xD8\xA6") + "r]"},
      {4, "\r\n~I[\x83\x86\x81[\x83U\x81[\x83\x8F\x81[\x83h]"},
      {5, "\r\n~I[\xC3\xDF\xB0\xA1\xB3\xB9\xB8\xBB]"},
  };
  const size_t kSizes[] = {18, 12, 12, 20, 14};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(c.marker.size(), kSizes[c.code - 1]);
    HeapText t("word\r\nbody");
    uint32_t n = insertUserMarker(&t.text, 10, c.code, &t.capacity);
    ASSERT_EQ(n, 10 + c.marker.size());
    EXPECT_EQ(std::string(t.text, n + 1), "word" + c.marker + "\r\nbody" + '\0');
    EXPECT_EQ(t.capacity, n + 1);  // grown to exactly the new length and its NUL
    EXPECT_EQ(removeUserMarker(t.text, n, c.code), 10u);
    EXPECT_STREQ(t.text, "word\r\nbody");
  }
}

TEST(UserMarkerTest, TagRules) {
  struct Case {
    const char* name;
    std::string text;
    uint32_t code;
    bool insert;
    std::string expected;
    uint32_t result;
  };
  const std::string threeLines = "word\r\n~Imeaning\r\n~Aexample";
  const Case cases[] = {
      {"insert retags I lines as J and leaves A", threeLines, 1, true,
       "word\r\n~J[User-defined]\r\n~Jmeaning\r\n~Aexample", 44},
      {"insert for code 2 keeps the tags", threeLines, 2, true,
       "word\r\n~I[\xD7\xD4\xBD\xA8\xD7\xD6]\r\n~Imeaning\r\n~Aexample", 38},
      {"remove gives back the three lines", "word\r\n~J[User-defined]\r\n~Jmeaning\r\n~Aexample", 1,
       false, threeLines, 26},
      {"remove retags all but A and the end marker", "w\r\n~J[User-defined]\r\n~Xa\r\n~Ab\r\n~!", 1,
       false, "w\r\n~Ia\r\n~Ab\r\n~!", 15},
      {"remove without the marker changes nothing", "w\r\n~Xa", 1, false, "w\r\n~Xa", 6},
      {"insert without a line break fails", "word", 1, true, "word", 0},
      {"no marker line for code 6", "w\r\n~Ia", 6, true, "w\r\n~Ia", 6},
      {"a tilde at the very end is left alone", "w\r\n~J[User-defined]\r\n~", 1, false, "w\r\n~",
       4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HeapText t(c.text);
    uint32_t n = c.insert ? insertUserMarker(&t.text, uint32_t(c.text.size()), c.code, &t.capacity)
                          : removeUserMarker(t.text, uint32_t(c.text.size()), c.code);
    EXPECT_EQ(n, c.result);
    EXPECT_EQ(std::string(t.text), c.expected);
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
  HeapText t("w\r\nx", 64);
  char* before = t.text;
  EXPECT_EQ(insertUserMarker(&t.text, 4, 1, &t.capacity), 22u);
  EXPECT_EQ(t.text, before);
  EXPECT_EQ(t.capacity, 64u);
}

}  // namespace
}  // namespace orvia::content
