// Two small English dictionaries with their companions, and the arguments of one
// export call made from a row of tests/data/api/bad_input.txt: valid ones, but for the one
// the row changes. Texts always end just before a page that cannot be read.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "dict/config.h"
#include "dict/handles.h"
#include "orviadic.h"
#include "support/case_table.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/read_only_page.h"

namespace orvia::testing {

inline constexpr uint32_t kOwnDict = 0x00010101, kOtherDict = 0x00020101;
inline constexpr unsigned char kUntouched = 0xA5;
inline constexpr uint32_t kBufferSize = 64;

struct Args {
  HDICT* dict = nullptr;
  HWORD* word = nullptr;
  uint32_t id = kOwnDict;
  const char* text = nullptr;
  const char* text2 = nullptr;
  uint32_t length = 0;
  char* buffer = nullptr;
  uint32_t size = kBufferSize;
  uint32_t selector = 1;
  uint32_t* counter = nullptr;
  uint32_t* counter2 = nullptr;
};

struct Outcome {
  uint64_t result = 0;
  std::string bytes;  // what the call left in the caller's buffer, up to its last change
};

using Export = std::function<uint64_t(const Args&)>;

// Each export called with the arguments of a row; handles it returns are freed, and a
// returned handle counts 1.
const std::map<std::string, Export>& exportsByName();

class BadInputFixture : public ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
    // The dictionary the Linux build compiled (tests/windows/data/README.md), for every
    // build; the second dictionary is a copy of its index.
    const std::string fixture = dataPath("../windows/data/linux_dictionary");
    for (const auto& file : std::filesystem::directory_iterator(fixture))
      std::filesystem::copy(file.path(), dir_.path());
    std::filesystem::copy(dir_.file("00010101.IDX"), dir_.file("00020101.IDX"));
    for (uint32_t id : {kOwnDict, kOtherDict}) {
      dicts_.push_back(dicCreateHDICT(id));
      ASSERT_NE(dicts_.back(), nullptr);
    }
    for (const GuardedPages* pages : {&textPages_, &text2Pages_, &bufferPages_})
      ASSERT_NE(pages->second(), nullptr);
    ASSERT_NE(readOnly_.get(), nullptr);
  }
  void TearDown() override {
    for (HDICT* dict : dicts_) dicFreeHDICT(dict);
    ConfigFixture::TearDown();
  }

  // Places bytes so that their last one is the last before a page that cannot be read.
  static char* againstGuard(const GuardedPages& pages, const std::string& bytes) {
    char* at = pages.second() - bytes.size();
    std::memcpy(at, bytes.data(), bytes.size());
    return at;
  }

  // A text of the row, "$" standing for the test's folder, placed against a guard page
  // with its terminator; null for the word null.
  const char* text(const CaseRow& c, const GuardedPages& pages) {
    const std::optional<std::string> bytes = c.bytes(2);
    if (!bytes) return nullptr;
    std::string value = *bytes;
    if (!value.empty() && value[0] == '$') value = dir_.path() + value.substr(1);
    return againstGuard(pages, value + '\0');
  }

  // The bytes from p up to the last one that lost its fill.
  static std::string written(const void* p, size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(p);
    while (n > 0 && bytes[n - 1] == kUntouched) --n;
    return std::string(static_cast<const char*>(p), n);
  }

  char* pointer(const std::string& kind) {
    if (kind == "read-only") return static_cast<char*>(readOnly_.get());
    if (kind == "no-access") return bufferPages_.second();
    EXPECT_EQ(kind, "null");
    return nullptr;
  }

  // Calls fn with the row's arguments. A buffer of the row's size is passed twice, against
  // the guard page and in ordinary memory, for the same result; a short output only
  // against the guard page, which the call must leave as it was.
  Outcome call(const Export& fn, const CaseRow& c) {
    HWORD* own = dicSearchWord(dicts_[0], "bank");
    HWORD* other = dicSearchWord(dicts_[1], "bank");
    unsigned char ordinary[kBufferSize + 16];
    std::memset(ordinary, kUntouched, sizeof ordinary);
    uint32_t counters[2] = {0xA5A5A5A5u, 0xA5A5A5A5u};
    Args a;
    a.dict = dicts_[0];
    a.word = own;
    a.buffer = reinterpret_cast<char*>(ordinary);
    a.counter = &counters[0];
    a.counter2 = &counters[1];
    a.text = againstGuard(textPages_, std::string("bank", 5));
    a.text2 = againstGuard(text2Pages_, std::string("a text", 7));
    const std::string& variant = c.fields.at(1);
    const std::string& value = c.fields.at(2);
    Outcome out;
    char* guarded = nullptr;           // the row's buffer, ending where the guard page starts
    HWORD hollow{dicts_[0], nullptr};  // a word handle without its record copy
    if (variant == "handle") {
      a.dict = value == "other" ? dicts_[1] : nullptr;
      a.word = value == "other" ? other : value == "hollow" ? &hollow : nullptr;
    } else if (variant == "text") {
      a.text = text(c, textPages_);
    } else if (variant == "text2") {
      a.text2 = text(c, text2Pages_);
    } else if (variant == "buffer") {
      a.buffer = pointer(value);
    } else if (variant == "counter") {
      a.counter = a.counter2 = reinterpret_cast<uint32_t*>(pointer(value));
    } else if (uint32_t* number = variant == "selector" ? &a.selector
                                  : variant == "length" ? &a.length
                                  : variant == "id"     ? &a.id
                                                        : nullptr) {
      *number = uint32_t(c.number(2));
    } else if (variant == "size" || variant == "short") {
      a.size = uint32_t(c.number(2));
      guarded = againstGuard(bufferPages_, std::string(a.size, char(kUntouched)));
    } else {
      EXPECT_EQ(variant, "-");
    }
    Args atGuard = a;
    atGuard.buffer = guarded;
    const uint64_t guardedResult = guarded != nullptr ? fn(atGuard) : 0;
    if (variant == "short") {
      out = {guardedResult, written(guarded, a.size)};
    } else {
      out = {fn(a), written(ordinary, sizeof ordinary)};
      if (guarded != nullptr) {
        EXPECT_EQ(out.result, guardedResult) << "against the guard page";
      }
    }
    dicFreeHWORD(own);
    dicFreeHWORD(other);
    // A row may point the library elsewhere; the next starts from the test's key.
    dict::setRegistryKey(testKeyRoot(), testKeyPath());
    return out;
  }

  std::vector<HDICT*> dicts_;
  GuardedPages textPages_{PageAccess::kNone}, text2Pages_{PageAccess::kNone},
      bufferPages_{PageAccess::kNone};
  ReadOnlyPage readOnly_;
};

}  // namespace orvia::testing
