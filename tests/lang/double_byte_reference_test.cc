// The Chinese and Korean comparisons against a second, deliberately plain version written
// from their steps, on random keys; and the order properties of both on random samples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "lang/double_byte.h"
#include "lang/order_sample.h"

namespace orvia::lang::double_byte {
namespace {

// The steps one by one, with indices; nothing shared with the product. atEndsKey: "@"
// ends a key and homograph numbers are compared last (Chinese).
int referenceCompare(const std::string& a, const std::string& b, bool atEndsKey) {
  auto at = [](const std::string& s, size_t i) { return int(uint8_t(s.c_str()[i])); };
  auto ended = [&](const std::string& s, size_t i) {
    return at(s, i) == 0 || (at(s, i) >= 0x80 && at(s, i + 1) == 0) ||
           (atEndsKey && at(s, i) == '@');
  };
  auto lower = [](int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  if (a.empty() || b.empty()) return int(a.empty()) - int(b.empty());
  int byteDiff = 0, minorDiff = 0;
  size_t i = 0, j = 0;
  while (!ended(a, i) || !ended(b, j)) {
    if (ended(a, i) || ended(b, j)) {
      const std::string& rest = ended(a, i) ? b : a;
      const int shorterFirst = ended(a, i) ? -1 : 1;
      for (size_t k = ended(a, i) ? j : i; !ended(rest, k); ++k) {
        if (at(rest, k) >= 0x80) return shorterFirst;
      }
      return byteDiff != 0 ? byteDiff : shorterFirst;
    }
    const int ca = at(a, i), cb = at(b, j);
    if (ca >= 0x80 && cb >= 0x80) {
      if (ca != cb) return ca - cb;
      if (at(a, i + 1) != at(b, j + 1)) return at(a, i + 1) - at(b, j + 1);
      i += 2;
      j += 2;
    } else if (ca >= 0x80 || cb >= 0x80) {
      const int v = ca >= 0x80 ? -1 : 1;
      if (byteDiff == 0)
        byteDiff = v;
      else if (minorDiff == 0)
        minorDiff = v;
      (ca >= 0x80 ? j : i) += 1;
    } else {
      if (byteDiff == 0) {
        byteDiff = lower(ca) - lower(cb);
        if (byteDiff == 0 && minorDiff == 0) minorDiff = ca - cb;
      }
      ++i;
      ++j;
    }
  }
  if (byteDiff != 0) return byteDiff;
  if (minorDiff != 0 || !atEndsKey) return minorDiff;
  auto number = [&](const std::string& s, size_t k) {
    if (at(s, k) == '@') ++k;
    unsigned long long n = 0;  // the generator keeps numbers short
    for (; at(s, k) >= '0' && at(s, k) <= '9'; ++k) n = n * 10 + unsigned(at(s, k) - '0');
    return n;
  };
  const unsigned long long na = number(a, i), nb = number(b, j);
  return (na > nb) - (na < nb);
}

int sign(int v) {
  return (v > 0) - (v < 0);
}

// Random keys of one code: a few characters (equal ones are common), the code's edge
// pairs, an invalid pair, its ideographic space, ASCII of both cases, digits, "@",
// blanks, and now and then a lead byte last.
class KeyGenerator {
 public:
  KeyGenerator(uint32_t code, uint32_t seed) : random_(seed) {
    pieces_ = {"\xB0\xA1", "\xB0\xA2", "\xB1\xA1", "\xA1\xA1", "\x80\x41", "a", "A", "b",
               "B",        "z",        "0",        "1",        "2",        "@", "@", " "};
    if (code == 3) pieces_.insert(pieces_.end(), {"\xA3\xBF", "\xA3\xC0", "\xF9\xDC", "\xA1\x40"});
    if (code == 2) pieces_.insert(pieces_.end(), {"\xAA\xA1", "\xF7\xFE", "\xF8\xA1"});
    if (code == 5) pieces_.insert(pieces_.end(), {"\xFE\xFE", "\xB0\x40"});
  }
  std::string next() {
    std::string key;
    for (size_t n = random_() % 8; n > 0; --n) key += pieces_[random_() % pieces_.size()];
    if (random_() % 10 == 0) key += '\xB0';
    return key;
  }

 private:
  std::mt19937 random_;
  std::vector<std::string> pieces_;
};

struct Code {
  uint32_t code;
  CompareKeysFn compare;
  bool atEndsKey;
};
const Code kCodes[] = {
    {2, compareKeysChinese, true}, {3, compareKeysChinese, true}, {5, compareKeysKorean, false}};

// 50,000 pairs per code; ORVIADIC_LONG_RUNS asks for 1,000,000.
TEST(DoubleByteReference, AgreesOnRandomPairs) {
  const uint32_t pairs = std::getenv("ORVIADIC_LONG_RUNS") != nullptr ? 1000000 : 50000;
  for (const Code& c : kCodes) {
    SCOPED_TRACE(c.code);
    KeyGenerator keys(c.code, 17 + c.code);
    for (uint32_t n = 0; n < pairs; ++n) {
      const std::string a = keys.next(), b = keys.next();
      ASSERT_EQ(sign(c.compare(a.c_str(), b.c_str())), sign(referenceCompare(a, b, c.atEndsKey)))
          << orvia::testing::hexBytes(a) << "| " << orvia::testing::hexBytes(b);
    }
  }
}

// Antisymmetry must hold on every pair of a sample; a break of transitivity is a finding.
TEST(DoubleByteReference, OrderPropertiesOnSamples) {
  for (const Code& c : kCodes) {
    SCOPED_TRACE(c.code);
    KeyGenerator keys(c.code, 1000 + c.code);
    std::vector<std::string> sample(orvia::testing::kOrderSample);
    for (std::string& key : sample) key = keys.next();
    const std::string label = "code " + std::to_string(c.code);
    orvia::testing::checkOrderProperties(sample, c.compare, label.c_str());
  }
}

}  // namespace
}  // namespace orvia::lang::double_byte
