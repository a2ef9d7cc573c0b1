// The seven key operations of every language code over the case tables in tests/data/lang/,
// and the collations of codes 2 to 5 against a second, deliberately plain version written
// from their steps and sharing no table with them, on random keys, with their order
// properties on samples of 2,000 keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <random>

#include "lang/japanese_chars.h"
#include "lang/lang_ops.h"
#include "lang/text_at_page_end.h"
#include "support/case_table.h"

namespace orvia::lang {
namespace {

using testing::CaseRow;
using testing::caseTable;
using testing::forEachCase;
using ::testing::PrintToString;

int sign(int v) {
  return (v > 0) - (v < 0);
}

// Calls check(row, operations, bytes before) for every row of the table and every code of
// its first field, through the selectors. Each string is then placed against a guard page,
// once right after a kana and once right after a lead byte that makes a kana with a
// half-width first byte: an operation looking before the start of a string would find a
// kana behind a long-vowel mark at offset 0 or 1 and bind it.
template <class Check>
void forEachRow(const std::string& table, Check check) {
  forEachCase("lang/" + table, [&](const CaseRow& c) {
    char* end = nullptr;
    for (const char* codes = c.fields.at(0).c_str(); *codes != '\0'; codes = end) {
      const uint32_t code = uint32_t(std::strtoul(codes, &end, 0));
      const LanguageOps ops{getMakeSearchKeyFn(code),       getKeyCharOffsetFn(code),
                            getCompareKeysFn(code),         getMatchLenFoldedFn(code),
                            getMatchLenSignificantFn(code), getMatchLenNoCaseFn(code),
                            getMatchLenExactFn(code)};
      for (const std::string before : {"\x82\xA9", "\x82"}) check(c, ops, before);
    }
  });
}

TEST(LangTable, EveryOperationOnItsRows) {
  testing::TextAtPageEnd a, b, key;
  forEachRow("make_search_key.txt", [&](auto& c, auto& ops, auto& before) {
    const std::string written = *c.bytes(3);
    char* out = key.place(std::string(kKeyBufferSize - 1, '\x55'));
    EXPECT_EQ(ops.makeSearchKey(a.place(c.bytes(2), before), out), c.number(4));
    EXPECT_EQ(std::string(out, written.size()), written);
    EXPECT_EQ(out[written.size()], '\x55') << "wrote past the key";
    EXPECT_EQ(ops.makeSearchKey(a.place(c.bytes(2), before), nullptr), 0);
  });
  forEachRow("key_char_offset.txt", [&](auto& c, auto& ops, auto& before) {
    EXPECT_EQ(ops.keyCharOffset(a.place(c.bytes(1), before), uint32_t(c.number(2))), c.number(3));
  });
  forEachRow("compare_keys.txt", [&](auto& c, auto& ops, auto& before) {
    const char* pa = a.place(c.bytes(2), before);
    const char* pb = b.place(c.bytes(3), before);
    EXPECT_EQ(sign(ops.compareKeys(pa, pb)), c.number(4));
    EXPECT_EQ(sign(ops.compareKeys(pb, pa)), -c.number(4));
  });
  forEachRow("match_lengths.txt", [&](auto& c, auto& ops, auto& before) {
    auto expected = [&](size_t i) { return c.fields.at(i) == "all" ? kMatchAll : c.number(i); };
    for (bool swapped : {false, true}) {
      const char* pa = a.place(c.bytes(swapped ? 2 : 1), before);
      const char* pb = b.place(c.bytes(swapped ? 1 : 2), before);
      EXPECT_EQ(ops.matchLenFolded(pa, pb), expected(3));
      EXPECT_EQ(ops.matchLenSignificant(pa, pb), expected(4));
      EXPECT_EQ(ops.matchLenNoCase(pa, pb), expected(5));
      EXPECT_EQ(ops.matchLenExact(pa, pb), expected(6));
    }
  });
  forEachRow("kana_table.txt", [&](auto& c, auto&, auto&) {
    const std::string kana = *c.bytes(2);
    const uint8_t lead = uint8_t(kana[0]), trail = uint8_t(kana[1]);
    EXPECT_EQ(japanese::kanaPosition(lead, trail), c.number(3));
    EXPECT_EQ(japanese::kanaBase(lead, trail), c.number(4));
    EXPECT_EQ(japanese::kanaVowel(lead, trail), c.number(5));
  });
}

enum Kind { kNon, kFreeMark, kBoundMark, kKana, kOther };  // significant from kBoundMark on

// A piece of a random key, as random_key_pieces.txt describes it.
struct Piece {
  std::string bytes;
  Kind kind;
  // The primary weight of a significant character: its bytes, but 8300 plus the base of a
  // kana or the vowel of a bound mark, so that kana sort above full-width characters (lead
  // 82) and below kanji.
  int primary;
  int vowel;  // a kana's
  int value() const { return uint8_t(bytes[0]) << 8 | uint8_t(bytes.c_str()[1]); }
};
using Key = std::vector<Piece>;
using RandomKey = std::pair<std::string, Key>;  // as text and as pieces

bool ended(uint32_t code, const Key& k, size_t i) {
  return i == k.size() || (k[i].bytes == "@" && code != 5);
}
unsigned long long number(const Key& k, size_t i) {
  unsigned long long n = 0;  // the generator keeps numbers short
  for (i += i < k.size(); i < k.size() && std::isdigit(k[i].bytes[0]); ++i)
    n = n * 10 + unsigned(k[i].bytes[0] - '0');
  return n;
}

int referenceCompare(uint32_t code, const Key& a, const Key& b) {
  if (a.empty() || b.empty()) return int(a.empty()) - int(b.empty());
  int byteDiff = 0, minorDiff = 0;
  auto first = [&](int v) { byteDiff = byteDiff != 0 ? byteDiff : v; };
  size_t i = 0, j = 0;
  for (; !ended(code, a, i) && !ended(code, b, j); ++i, ++j) {
    const Piece &x = a[i], &y = b[j];
    const bool sigX = x.kind >= kBoundMark, sigY = y.kind >= kBoundMark;
    const bool markX = x.kind == kFreeMark || x.kind == kBoundMark;
    const bool markY = y.kind == kFreeMark || y.kind == kBoundMark;
    if (markX && markY) continue;
    if (!sigX || !sigY) {  // free marks are not significant
      if (sigX != sigY) {  // the significant one waits; a free mark orders first
        first(sigX ? -1 : 1);
        (sigX ? i : j) -= 1;
      } else if (x.value() >= 0x8000 || y.value() >= 0x8000 || markX || markY) {
        first(x.value() - y.value());
      } else if (byteDiff == 0 &&
                 (byteDiff = std::tolower(x.bytes[0]) - std::tolower(y.bytes[0])) == 0) {
        minorDiff = minorDiff != 0 ? minorDiff : x.value() - y.value();
      }
    } else if (x.primary != y.primary) {
      return x.primary - y.primary;
    } else if (byteDiff == 0 && minorDiff == 0) {
      minorDiff = x.kind == kBoundMark ? -1 : y.kind == kBoundMark ? 1 : x.value() - y.value();
    }
  }
  if (ended(code, a, i) && ended(code, b, j)) {
    if (byteDiff != 0 || minorDiff != 0) return byteDiff != 0 ? byteDiff : minorDiff;
    return (number(a, i) > number(b, j)) - (number(a, i) < number(b, j));
  }
  const Key& rest = ended(code, a, i) ? b : a;
  size_t k = ended(code, a, i) ? j : i;
  bool primaryLeft = rest[k].kind == kBoundMark;
  for (; !ended(code, rest, k); ++k) primaryLeft |= rest[k].kind >= kKana;
  const int shorterFirst = ended(code, a, i) ? -1 : 1;
  return primaryLeft || byteDiff == 0 ? shorterFirst : byteDiff;
}

// A random key of the code's pieces, as text and as pieces; long-vowel marks in code 4
// (boundMarksOnly: only right after a kana, clear of the corner where a bound and a free
// mark break transitivity), and now and then a lead byte last, which ends the key. narrow:
// short keys of the first ten pieces only.
RandomKey randomKey(std::mt19937& random, uint32_t code, bool narrow, bool boundMarksOnly) {
  static std::map<int64_t, Key> pieces;
  const std::map<std::string, Kind> kKinds = {{"non", kNon}, {"kana", kKana}, {"other", kOther}};
  if (pieces.empty())
    for (const CaseRow& c : caseTable("lang/random_key_pieces.txt")) {
      Piece piece{*c.bytes(1), kKinds.at(c.fields.at(2)), 0, int(c.number(4))};
      piece.primary = piece.kind == kKana ? 0x8300 + int(c.number(3)) : piece.value();
      pieces[c.number(0)].push_back(piece);
    }
  RandomKey key;
  for (size_t n = random() % (narrow ? 5 : 8); n > 0; --n) {
    key.second.push_back(pieces[code][random() % (narrow ? 10 : pieces[code].size())]);
    const Piece& last = key.second.back();
    if (code == 4 && random() % 4 == 0 && (!boundMarksOnly || last.kind == kKana))
      key.second.push_back(
          {"\x81\x5B", last.kind == kKana ? kBoundMark : kFreeMark, 0x8300 + last.vowel, 0});
  }
  for (const Piece& piece : key.second) key.first += piece.bytes;
  if (!key.first.empty() && random() % 12 == 0) key.first += '\x83';
  return key;
}

// A sample of 2,000 random keys per code, half of them narrow, sorted by insertion, which
// is well defined for any comparison. Antisymmetry must hold on every pair. In codes 2 to
// 5 the collation agrees with the plain one on every pair of keys up to 26 places apart
// (51,649 pairs a sample; all 1,999,000 with ORVIADIC_LONG_RUNS). The sorted sample is out
// of order only where transitivity breaks: such pairs are printed as findings, not failed,
// since Japanese is known to break it where a bound and a free mark meet; but the
// single-byte order is total on keys with a letter.
TEST(LangReference, SamplesAgreeWithThePlainComparisonAndKeepTheOrderProperties) {
  const bool longRun = std::getenv("ORVIADIC_LONG_RUNS") != nullptr;
  const std::pair<uint32_t, bool> kSamples[] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {4, 0}};
  for (const auto& [code, boundMarksOnly] : kSamples) {
    std::mt19937 random(code + 10 * boundMarksOnly);
    auto compare = [&](const RandomKey& a, const RandomKey& b) {
      return sign(getCompareKeysFn(code)(a.first.c_str(), b.first.c_str()));
    };
    std::vector<RandomKey> keys(2000);
    for (size_t n = 0; n < keys.size();) {
      RandomKey key = randomKey(random, code, n % 2, boundMarksOnly);
      char text[kKeyBufferSize];
      getMakeSearchKeyFn(code)(key.first.c_str(), text);
      if (code == 1) key.first = text;
      if (code != 1 || std::any_of(key.first.begin(), key.first.end(), ::isalpha)) keys[n++] = key;
    }
    for (size_t i = 1; i < keys.size(); ++i)
      for (size_t j = i; j > 0 && compare(keys[j - 1], keys[j]) > 0; --j)
        std::swap(keys[j - 1], keys[j]);
    size_t findings = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
      for (size_t j = i + 1; j < keys.size(); ++j) {
        const int ij = compare(keys[i], keys[j]);
        auto pair = [&] {
          return PrintToString(keys[i].first) + " " + PrintToString(keys[j].first);
        };
        ASSERT_EQ(ij, -compare(keys[j], keys[i])) << "not antisymmetric: " << pair();
        if (code != 1 && (longRun || j - i <= 26)) {
          ASSERT_EQ(ij, sign(referenceCompare(code, keys[i].second, keys[j].second))) << pair();
        }
        if (ij > 0 && ++findings <= 3) std::printf("finding: code %u: %s\n", code, pair().c_str());
      }
    }
    EXPECT_TRUE(code != 1 || findings == 0)
        << "the single-byte order is total on keys with a letter";
    std::printf("code %u%s: %zu pairs out of order\n", code, boundMarksOnly ? "" : ", free marks",
                findings);
  }
}

}  // namespace
}  // namespace orvia::lang
