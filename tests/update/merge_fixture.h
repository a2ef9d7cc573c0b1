// The merge's world in the test's folder: the installed English dictionary 0x00010101
// with its record and memory companions (edit/user_edit_fixture.h), new-word targets made
// as the tool makes them, and new-word files written from "word:level" lists, each word's
// text naming its word and level.
//
// The compiler makes the targets and files where it is built. It is not built for
// Windows: there the files come from tests/data/update/merge_made/, which a POSIX run of
// the merge tests writes afresh when ORVIADIC_UPDATE_FIXTURES is set (README.md there).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "edit/user_edit_fixture.h"
#include "support/golden.h"
#ifdef ORVIADIC_TESTS_COMPILE
#include "compile/newword_target.h"
#include "compile/newword_writer.h"
#include "compile/source/tsv_source.h"
#define COMPILER_ONLY(...) __VA_ARGS__
#else
#define COMPILER_ONLY(...)
#endif

namespace orvia::testing {

inline std::string textOf(const std::string& word, int level) {
  return "About " + word + ", level " + std::to_string(level) + ".";
}

class MergeFixture : public UserEditFixture {
 public:
  void makeTarget(uint32_t id) {
    COMPILER_ONLY(EXPECT_TRUE(compile::createNewWordTarget(id, made(), &compiled_, &problem_))
                  << problem_);
    keep("target-" + digits(id), dir_.path());
  }
  // A new-word file for target of the "word:level" items, comma-separated.
  std::string newWordFile(uint32_t target, uint32_t version, const std::string& words) {
    const std::string name = named(digits(target) + "-" + std::to_string(version) + "-" + words);
    COMPILER_ONLY(
        const compile::NewWordFileOptions options{
            target, version, {uint8_t(version)}, made() + "/" + name + ".bin"};
        compile::WrittenNewWordFile written;
        EXPECT_TRUE(compile::writeNewWordFile(sourceOf(words), options, &written, &problem_))
        << problem_);
    keep(name, dir_.path());
    return dir_.file(name + ".bin");
  }
  // Dictionary id of the words compiled with stored entries into folder.
  void compileInto(const std::string& folder, uint32_t id, const std::string& words) {
    COMPILER_ONLY(EXPECT_TRUE(compile::compileDictionary(
                      sourceOf(words), {id, made(), compile::EntryEncoding::kStored, {}, false},
                      nullptr, &compiled_, &problem_))
                  << problem_);
    keep(named("shared-" + digits(id) + "-" + words), folder);
  }
  static std::string digits(uint32_t id) {
    char text[9];
    dict::formatDictIdHex(id, text);
    return text;
  }

 private:
  // A name for a file on any system; the kill test's long list cut short.
  static std::string named(std::string name) {
    for (char& c : name) c = c == ':' ? '_' : c == ',' ? '+' : c;
    return name.substr(0, 100);
  }
  // Puts the files made for name into folder: fresh from the compiler where there is one
  // (kept too when asked), else the kept ones.
  void keep(const std::string& name, const std::string& folder) {
    const std::string kept = dataPath("update/merge_made/" + name);
    const auto over = std::filesystem::copy_options::overwrite_existing |
                      std::filesystem::copy_options::recursive;
#ifdef ORVIADIC_TESTS_COMPILE
    if (std::getenv("ORVIADIC_UPDATE_FIXTURES") != nullptr) {
      std::filesystem::create_directories(kept);
      std::filesystem::copy(made(), kept, over);
    }
    std::filesystem::copy(made(), folder, over);
    std::filesystem::remove_all(made());
#else
    std::filesystem::copy(kept, folder, over);
#endif
  }
#ifdef ORVIADIC_TESTS_COMPILE
  std::string made() {
    std::filesystem::create_directory(dir_.file("made"));
    return dir_.file("made");
  }
  compile::SourceOpener sourceOf(const std::string& words) {
    std::string tsv = "headword\ttext\tlevel\n";
    std::istringstream in(words);
    for (std::string item; std::getline(in, item, ',');) {
      const std::string word = item.substr(0, item.find(':')), level = item.substr(word.size() + 1);
      tsv += word + "\t" + textOf(word, std::stoi(level)) + "\t" + level + "\n";
    }
    const std::string source = dir_.file("new" + std::to_string(sources_++) + ".tsv");
    writeFileBytes(source, tsv);
    return [source](compile::WithText withText, std::string*) {
      auto tsvSource = std::make_unique<compile::TsvSource>();
      EXPECT_TRUE(tsvSource->open(source, withText));
      return tsvSource;
    };
  }
  int sources_ = 0;
  compile::CompiledDictionary compiled_;
  std::string problem_;
#endif
};

}  // namespace orvia::testing
