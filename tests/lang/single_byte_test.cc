#include "lang/single_byte.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace orvia::lang::single_byte {
namespace {

// The table hands these to the record store and to its selectors without casts.
[[maybe_unused]] constexpr MakeSearchKeyFn kMakeShape = makeSearchKey;
[[maybe_unused]] constexpr KeyCharOffsetFn kOffsetShape = keyCharOffset;
[[maybe_unused]] constexpr CompareKeysFn kCompareShape = compareKeys;
[[maybe_unused]] constexpr MatchLenFn kMatchShape = matchLenFolded;

using Text = std::optional<std::string>;  // nullopt: a null pointer

// A heap copy of exactly the text and its terminator, so that any read past the
// terminator trips the address sanitizer.
class ExactText {
 public:
  explicit ExactText(const Text& text) {
    if (!text) return;
    bytes_ = std::make_unique<char[]>(text->size() + 1);
    std::memcpy(bytes_.get(), text->c_str(), text->size() + 1);
  }
  const char* get() const { return bytes_.get(); }

 private:
  std::unique_ptr<char[]> bytes_;
};

int sign(int v) {
  return (v > 0) - (v < 0);
}

int compareSign(const Text& a, const Text& b) {
  ExactText ea(a), eb(b);
  return sign(compareKeys(ea.get(), eb.get()));
}

std::string repeat(char c, size_t n) {
  return std::string(n, c);
}

// ---------------------------------------------------------------------------------------
// makeSearchKey

struct KeyCase {
  const char* why;
  std::string word;
  std::string key;
  int usable;
};

std::vector<KeyCase> keyCases() {
  return {
      {"blanks trimmed and collapsed", "  Big   Apple ", "Big Apple", 1},
      {"blanks around and inside a homograph number dropped", "word @ 1 2", "word@12", 1},
      {"letter behind the number", "word@1a", "word@1", 0},
      {"high byte stops the key", "caf\xE9", "caf", 0},
      {"high byte removes a pending space", "caf \xE9x", "caf", 0},
      {"high byte first gives an empty key",
       "\xE9"
       "abc",
       "", 0},
      {"blank then high byte gives an empty key", " \xC0", "", 0},
      {"bare @ ends the key", "abc @", "abc@", 1},
      {"blanks behind a bare @", "abc@  ", "abc@", 1},
      {"@ alone is a key", "@", "@", 1},
      {"non-digit behind @", "word@x", "word@", 0},
      {"high byte behind @", "a@\xE9", "a@", 0},
      {"blank behind the number", "word @12 ", "word@12", 1},
      {"letter after blanks in the number", "word@1 2x", "word@12", 0},
      {"every white-space byte collapses to one space", "a\t\n\v\f\rb", "a b", 1},
      {"case, digits and punctuation kept", "Co-op 2", "Co-op 2", 1},
      {"other control bytes kept",
       "a\x0E\x08\x7F"
       "b",
       "a\x0E\x08\x7F"
       "b",
       1},
      {"digits alone", "123", "123", 1},
      {"243 bytes usable", repeat('a', 243), repeat('a', 243), 1},
      {"244 bytes cut and unusable", repeat('a', 244), repeat('a', 244), 0},
      {"long word cut at 244", repeat('a', 300), repeat('a', 244), 0},
      {"collapsed space counts toward the limit", repeat('a', 242) + "   b",
       repeat('a', 242) + " b", 0},
      {"space written at the limit is kept", repeat('a', 243) + "   ", repeat('a', 243) + " ", 0},
      {"@ counts toward the limit", repeat('a', 243) + "@", repeat('a', 243) + "@", 0},
      {"digits count toward the limit", repeat('a', 241) + "@123", repeat('a', 241) + "@12", 0},
      {"number just under the limit", repeat('a', 240) + " @ 12", repeat('a', 240) + "@12", 1},
      {"leading blanks do not count", "  " + repeat('a', 243), repeat('a', 243), 1},
  };
}

TEST(MakeSearchKeyTest, WritesKeyTrailerAndResult) {
  for (const KeyCase& c : keyCases()) {
    SCOPED_TRACE(c.why);
    ExactText word(c.word);
    std::vector<char> key(kKeyBufferSize, '\x55');
    EXPECT_EQ(makeSearchKey(word.get(), key.data()), c.usable);
    ASSERT_EQ(std::string(key.data()), c.key);
    const size_t n = c.key.size();
    EXPECT_EQ(key[n + 1], '\0');
    EXPECT_EQ(key[n + 2], '\0');
    EXPECT_EQ(static_cast<uint8_t>(key[n + 3]), kKeyTrailerByte);
    EXPECT_EQ(key[n + 4], '\x55') << "wrote past the trailer";
  }
}

TEST(MakeSearchKeyTest, BlankWordWritesOnlyAnEmptyKey) {
  for (const Text& word : std::vector<Text>{std::string(), std::string(" \t\r\n "), std::nullopt}) {
    ExactText w(word);
    std::vector<char> key(kKeyBufferSize, '\x55');
    EXPECT_EQ(makeSearchKey(w.get(), key.data()), 0);
    EXPECT_EQ(key[0], '\0');
    EXPECT_EQ(key[1], '\x55');
  }
  EXPECT_EQ(makeSearchKey("word", nullptr), 0);
}

// ---------------------------------------------------------------------------------------
// keyCharOffset

TEST(KeyCharOffsetTest, CountsLettersAndWhiteSpaceOnly) {
  struct Case {
    Text key;
    uint32_t n;
    uint32_t offset;
  };
  const Case cases[] = {
      {std::nullopt, 3, 0},
      {"", 0, 0},
      {"abc", 0, 0},
      {"a-bc", 1, 2},
      {"abc", 3, 3},
      {"abc", 99, 3},
      {"-a", 0, 1},
      {"12ab", 1, 3},
      {"a b", 2, 2},
      {"word@12", 3, 3},
      {"word@12", 4, 7},
      {"\xE9"
       "a",
       0, 1},
      {"a\xC1"
       "b",
       1, 2},
      {"a\tb", 1, 1},
      {"--", 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key.value_or("(null)") + " n=" + std::to_string(c.n));
    ExactText key(c.key);
    EXPECT_EQ(keyCharOffset(key.get(), c.n), c.offset);
  }
}

TEST(KeyCharOffsetTest, TurnsFoldedMatchIntoPrefixLength) {
  const char* key = "New-York";
  const uint32_t m = matchLenFolded("newyx", key);
  ASSERT_EQ(m, 4u);
  EXPECT_EQ(std::string(key, keyCharOffset(key, m)), "New-Y");
}

// ---------------------------------------------------------------------------------------
// compareKeys

struct OrderCase {
  const char* why;
  Text a;
  Text b;
  int expected;  // sign of compareKeys(a, b); the swapped pair must give the opposite
};

void checkOrder(const std::vector<OrderCase>& cases) {
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(std::string(c.why) + ": [" + c.a.value_or("(null)") + "] vs [" +
                 c.b.value_or("(null)") + "]");
    EXPECT_EQ(compareSign(c.a, c.b), c.expected);
    EXPECT_EQ(compareSign(c.b, c.a), -c.expected);
  }
}

TEST(CompareKeysTest, DocumentedOrder) {
  checkOrder({
      {"extra digit makes the longer key greater", "apple", "Apple2", -1},
      {"upper case first", "Apple", "apple", -1},
      {"hyphen behind a matched letter", "co-op", "coop", 1},
      {"homograph numbers as numbers", "word@2", "word@10", -1},
      {"no number before a number", "word", "word@1", -1},
      {"space below letters", "a b", "ab", -1},
      {"digit skipped against a letter", "ab", "a1b", -1},
      {"lower case after upper", "abc", "ABC", 1},
      {"letters decide first", "apple", "b", -1},
      {"prefix first", "ab", "abc", -1},
      {"leading blanks skipped", "  ab", "ab", 0},
      {"trailing blanks skipped", "ab  ", "ab", 0},
      {"tab below space", "a\tb", "a b", -1},
      {"equal keys", "Co-op 2", "Co-op 2", 0},
  });
}

TEST(CompareKeysTest, NullKeys) {
  checkOrder({
      {"both null", std::nullopt, std::nullopt, 0},
      {"null equals blanks", std::nullopt, "  ", 0},
      {"null equals empty", std::nullopt, "", 0},
      {"null before a letter", std::nullopt, " a", -1},
      {"null before punctuation", std::nullopt, "-", -1},
  });
}

// Each row is decided by one tie-break whose sign differs from the one that would decide
// if that tie-break were dropped or swapped with its neighbour.
TEST(CompareKeysTest, EachTieBreakDecidesItsOwnPair) {
  checkOrder({
      {"a letter difference beats an earlier digit difference", "a1c", "a2b", 1},
      {"a letter difference beats a case difference", "Ab", "aa", 1},
      {"digit before late punctuation", "a-b1", "ab2", -1},
      {"late punctuation before case", "a-B", "ab", 1},
      {"case before early punctuation", "-Ab", "ab", -1},
      {"early punctuation before the homograph number", "-ab@1", "ab@2", 1},
      {"homograph number last, numerically", "ab@2", "ab@10", -1},
      {"first digit difference kept", "a12", "a21", -1},
      {"first late punctuation difference kept", "a-b+", "a+b-", 1},
      {"first case difference kept", "Ab", "aB", -1},
      {"first early punctuation difference kept", "-+ab", "+-ab", 1},
  });
}

TEST(CompareKeysTest, RestOfTheLongerKey) {
  checkOrder({
      {"a letter in the rest beats the digit difference", "a2", "a1b", -1},
      {"without a letter the digit difference decides", "a2", "a11", 1},
      {"digit difference beats rest of punctuation", "a2", "a1-", 1},
      {"the rest ends at @", "a2", "a1-@x", 1},
      {"a digit in the rest makes the longer key greater", "ab", "ab1", -1},
      {"late punctuation decides a punctuation rest", "a+b", "ab-", 1},
      {"a digit in the rest outweighs late punctuation", "a+b", "ab1", -1},
      {"early punctuation ignored once letters matched", "-ab", "ab-", -1},
      {"without a difference the longer key is greater", "ab", "ab-", -1},
      {"early punctuation decides when nothing matched", "-", "+,", 1},
      {"without any difference the longer key is greater", "-", "-,", -1},
      {"a homograph number is no rest", "ab@1", "ab-", -1},
  });
}

TEST(CompareKeysTest, HomographNumbers) {
  checkOrder({
      {"no number is 0", "word@0", "word", 0},
      {"bare @ is 0", "word@", "word", 0},
      {"leading zeros", "word@007", "word@7", 0},
      {"beyond 32 bits", "w@99999999999999999999", "w@99999999999999999998", 1},
      {"longer number greater", "w@100000000000000000000", "w@99999999999999999999", 1},
      {"number read behind trailing blanks", "ab @2", "ab@1", 1},
      {"@ ends the text", "a@b", "a@c", 0},
  });
}

// Bytes of 0x80 or more are negative: below every ASCII byte in differences.
TEST(CompareKeysTest, HighBytesAreNegative) {
  checkOrder({
      {"late punctuation", "a\xE9", "a-", -1},
      {"early punctuation",
       "\xE9"
       "a",
       "-a", -1},
      {"two high bytes", "a\x80", "a\xFF", -1},
      {"a high byte is punctuation against a letter",
       "a\xE9"
       "b",
       "ab", 1},
      {"high byte rest", "ab", "ab\xC1", -1},
  });
}

// Random keys that hold a letter: the comparison is a total order on them. (Keys of
// punctuation alone are not transitive, which is why they are left out.)
TEST(CompareKeysTest, TotalOrderOverKeysWithALetter) {
  std::mt19937 random(20240611);
  const std::string alphabet = "aAbBzZ 019-+.'@\t";
  std::vector<std::string> keys;
  while (keys.size() < 300) {
    std::string word;
    for (size_t n = 1 + random() % 7; n > 0; --n) word += alphabet[random() % alphabet.size()];
    char key[kKeyBufferSize];
    if (makeSearchKey(word.c_str(), key) == 0) continue;
    const std::string k = key;
    if (std::any_of(k.begin(), k.end(), [](char c) { return std::isalpha(c) != 0; })) {
      keys.push_back(k);
    }
  }
  auto cmp = [](const std::string& a, const std::string& b) {
    return sign(compareKeys(a.c_str(), b.c_str()));
  };
  for (const std::string& a : keys) {
    ASSERT_EQ(cmp(a, a), 0) << a;
    for (const std::string& b : keys) ASSERT_EQ(cmp(a, b), -cmp(b, a)) << a << " | " << b;
  }
  // Insertion sort: well defined for any comparator.
  for (size_t i = 1; i < keys.size(); ++i) {
    for (size_t j = i; j > 0 && cmp(keys[j - 1], keys[j]) > 0; --j) std::swap(keys[j - 1], keys[j]);
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    for (size_t j = i + 1; j < keys.size(); ++j) {
      ASSERT_LE(cmp(keys[i], keys[j]), 0) << keys[i] << " | " << keys[j];
    }
  }
}

// ---------------------------------------------------------------------------------------
// The four match lengths

constexpr uint32_t kAll = kMatchAll;

struct MatchCase {
  Text a;
  Text b;
  uint32_t folded;
  uint32_t significant;
  uint32_t noCase;
  uint32_t exact;
};

TEST(MatchLenTest, AllFourOnOnePair) {
  const MatchCase cases[] = {
      {"a-b", "AB", kAll, 0, 1, 0},
      {"Word @3", "word", 4, 0, kAll, 0},
      {"word@2", "word", kAll, kAll, kAll, 4},
      {"word@3", "word@4", kAll, kAll, 5, 5},
      {"ab @ 1 2", "AB", 2, 0, kAll, 0},
      {"ab x", "ab", 2, 2, 2, 2},
      {"ab@1x", "ab", 2, 2, 2, 2},
      {"ab  ", "ab", 2, 2, kAll, 2},
      {"a@1b", "ab", kAll, kAll, 1, 1},
      {"a1b2", "ab", kAll, kAll, 1, 1},
      {"abc", "abd", 2, 2, 2, 2},
      {"ab", "abc", 2, 2, 2, 2},
      {"a b", "ab", 1, 1, 1, 1},
      {"abc", "ABC", kAll, 0, kAll, 0},
      {"\xE9"
       "a",
       "a", kAll, kAll, 0, 0},
      {"\xC1", "\xE1", kAll, kAll, 0, 0},
      {"", "", kAll, kAll, kAll, kAll},
      {"", "a", 0, 0, 0, 0},
      {"", "-", kAll, kAll, 0, 0},
      {std::nullopt, "", kAll, kAll, kAll, kAll},
      {std::nullopt, "a", 0, 0, 0, 0},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE("[" + c.a.value_or("(null)") + "] vs [" + c.b.value_or("(null)") + "]");
    for (bool swapped : {false, true}) {
      ExactText a(swapped ? c.b : c.a), b(swapped ? c.a : c.b);
      EXPECT_EQ(matchLenFolded(a.get(), b.get()), c.folded);
      EXPECT_EQ(matchLenSignificant(a.get(), b.get()), c.significant);
      EXPECT_EQ(matchLenNoCase(a.get(), b.get()), c.noCase);
      EXPECT_EQ(matchLenExact(a.get(), b.get()), c.exact);
    }
  }
}

}  // namespace
}  // namespace orvia::lang::single_byte
