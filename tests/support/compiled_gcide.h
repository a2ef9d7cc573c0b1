// All of GCIDE compiled once per test program, into a folder of its own, and opened
// through the exports for each test. Tests skip where the dict-gcide package is missing.
#pragma once

#include <unistd.h>

#include "compile/source/dictd_source.h"
#include "support/compiled_dictionary.h"
#include "support/dictionary_fixtures.h"

namespace orvia::testing {

class CompiledGcide : public ExportsFixture {
 protected:
  static constexpr uint32_t kGcide = 0x00010101;

  static compile::SourceOpener gcideSource() {
    return sourceOpener<compile::DictdSource>("/usr/share/dictd/gcide",
                                              compile::DictdSource::Order::kBody);
  }

  // Compiles GCIDE with encoding into compiled_; false, with nothing compiled, when the
  // package is missing.
  static bool compileGcide(compile::EntryEncoding encoding) {
    if (access("/usr/share/dictd/gcide.index", R_OK) != 0) return false;
    folder_ = new TempDir();
    compiled_ = compileFrom(gcideSource(), kGcide, folder_->path(), encoding);
    return true;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  void SetUp() override {
    if (folder_ == nullptr) GTEST_SKIP() << "the dict-gcide package is not installed";
    ExportsFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + folder_->path() + "\"\r\n");
    dict_ = dicCreateHDICT(kGcide);
    ASSERT_NE(dict_, nullptr);
  }
  void TearDown() override {
    if (dict_ != nullptr) dicFreeHDICT(dict_);
    if (folder_ != nullptr) ExportsFixture::TearDown();
  }

  static inline TempDir* folder_ = nullptr;
  static inline compile::CompiledDictionary compiled_;
  HDICT* dict_ = nullptr;
};

}  // namespace orvia::testing
