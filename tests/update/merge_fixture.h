// The merge's world in the test's folder: the installed English dictionary 0x00010101
// with its record and memory companions (edit/user_edit_fixture.h), new-word targets made
// as the tool makes them, and new-word files written from "word:level" lists, each word's
// text naming its word and level. Reports of both modes land in one log.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "compile/newword_target.h"
#include "compile/newword_writer.h"
#include "compile/source/tsv_source.h"
#include "edit/user_edit_fixture.h"

namespace orvia::testing {

inline std::string& reportLog() {
  static std::string log;
  return log;
}
inline void logReport(uint32_t stage, intptr_t value) {
  reportLog() +=
      " " + std::to_string(stage) + "=" +
      (stage == 2 || stage == 3 ? reinterpret_cast<const char*>(value) : std::to_string(value));
}
inline void ORVIADIC_API reportProc(uint32_t stage, intptr_t value) {
  logReport(stage, value);
}
inline intptr_t reportSink(uint32_t, uint32_t, uintptr_t stage, intptr_t value) {
  logReport(uint32_t(stage), value);
  return 0;
}

inline std::string textOf(const std::string& word, int level) {
  return "About " + word + ", level " + std::to_string(level) + ".";
}

class MergeFixture : public UserEditFixture {
 protected:
  void SetUp() override {
    UserEditFixture::SetUp();
    reportLog().clear();
  }

 public:
  void makeTarget(uint32_t id) {
    compile::CompiledDictionary compiled;
    std::string problem;
    ASSERT_TRUE(compile::createNewWordTarget(id, dir_.path(), &compiled, &problem)) << problem;
  }
  // A source of "word:level" items separated by commas, each word with textOf's text.
  compile::SourceOpener sourceOf(const std::string& words) {
    std::string tsv = "headword\ttext\tlevel\n";
    std::istringstream in(words);
    for (std::string item; std::getline(in, item, ',');) {
      const std::string word = item.substr(0, item.find(':'));
      const int level = std::stoi(item.substr(item.find(':') + 1));
      tsv += word + "\t" + textOf(word, level) + "\t" + std::to_string(level) + "\n";
    }
    const std::string source = dir_.file("new" + std::to_string(files_++) + ".tsv");
    writeFileBytes(source, tsv);
    return [source](compile::WithText withText, std::string*) {
      auto tsvSource = std::make_unique<compile::TsvSource>();
      EXPECT_TRUE(tsvSource->open(source, withText));
      return tsvSource;
    };
  }
  // A new-word file for target of the words sourceOf takes.
  std::string newWordFile(uint32_t target, uint32_t version, const std::string& words) {
    compile::NewWordFileOptions options;
    options.targetDictId = target;
    options.listVersion = version;
    options.listTime[0] = uint8_t(version);
    options.path = dir_.file("new" + std::to_string(files_++) + ".bin");
    compile::WrittenNewWordFile written;
    std::string problem;
    EXPECT_TRUE(compile::writeNewWordFile(sourceOf(words), options, &written, &problem)) << problem;
    return options.path;
  }

  int files_ = 0;
};

}  // namespace orvia::testing
