#include "nearest_reference.h"

#include "lang/lang_ops.h"
#include "lang/single_byte.h"

namespace orvia::testing {
namespace sb = orvia::lang::single_byte;

namespace {

size_t seek(const std::vector<std::string>& keys, const std::string& key) {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (sb::compareKeys(keys[i].c_str(), key.c_str()) >= 0) return i;
  }
  return keys.size() - 1;
}

}  // namespace

size_t referenceNearest(const std::vector<std::string>& keys, const std::string& key, Omit omit) {
  const size_t fail = keys.size();
  if (keys.empty() || key.empty()) return fail;
  const char* k = key.c_str();
  size_t at = seek(keys, key);
  if (sb::matchLenExact(keys[at].c_str(), k) == lang::kMatchAll) return at;
  uint32_t m = sb::matchLenFolded(keys[at].c_str(), k);
  if (omit != Omit::kOtherSide) {
    bool back = sb::compareKeys(keys[at].c_str(), k) > 0;
    if (back ? at > 0 : at + 1 < keys.size()) {
      size_t other = back ? at - 1 : at + 1;
      uint32_t m2 = sb::matchLenFolded(keys[other].c_str(), k);
      if (m2 > m) m = m2;
    }
  }
  uint32_t n = sb::keyCharOffset(k, m);
  if (n == 0) return fail;
  if (omit != Omit::kSpaceRule && key[n - 1] == ' ' && --n == 0) return fail;
  std::string prefix = key.substr(0, n);
  const char* p = prefix.c_str();
  size_t cur = seek(keys, prefix);
  if (cur + 1 < keys.size()) ++cur;
  size_t best = cur;
  uint32_t a = sb::matchLenFolded(keys[cur].c_str(), p);
  uint32_t b = sb::matchLenNoCase(keys[cur].c_str(), p);
  uint32_t c = sb::matchLenSignificant(keys[cur].c_str(), p);
  while (cur > 0) {
    const char* x = keys[--cur].c_str();
    uint32_t a2 = sb::matchLenFolded(x, p);
    if (a2 < a) {
      if (omit == Omit::kFoldedStop) continue;
      break;
    }
    if (a2 > a) {
      best = cur, a = a2, b = sb::matchLenNoCase(x, p), c = sb::matchLenSignificant(x, p);
      continue;
    }
    uint32_t b2 = sb::matchLenNoCase(x, p);
    if (omit != Omit::kNoCase && b2 != b) {
      if (b2 > b) best = cur, b = b2, c = sb::matchLenSignificant(x, p);
      continue;
    }
    uint32_t c2 = sb::matchLenSignificant(x, p);
    if (omit != Omit::kSignificant && c2 != c) {
      if (c2 > c) best = cur, c = c2;
      continue;
    }
    best = cur;
    if (omit != Omit::kExactStop && sb::matchLenExact(x, p) == lang::kMatchAll) break;
  }
  return best;
}

}  // namespace orvia::testing
