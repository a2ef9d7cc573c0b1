// The merge's world in the test's folder: the installed English dictionary 0x00010101
// with its record and memory companions (edit/user_edit_fixture.h), new-word targets made
// as the tool makes them, and new-word files written from "word:level" lists, each word's
// text naming its word and level. Reports of both modes land in one log.
//
// The compiler makes the targets and files where it is built. It is not built for
// Windows: there every folder the compiler would make is copied from
// tests/data/update/merge_made/, which a POSIX run of the merge tests writes afresh with
// ORVIADIC_UPDATE_FIXTURES set (one golden file per file made).
#pragma once

#include <cstdlib>
#include <functional>
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

inline std::string& reportLog() {
  static std::string log;
  return log;
}
// Called with each merged record's key, while the merge waits.
inline std::function<void(const std::string&)>& onMerged() {
  static std::function<void(const std::string&)> hook;
  return hook;
}
inline void logReport(uint32_t stage, intptr_t value) {
  const bool key = stage == 2 || stage == 3;
  const std::string text = key ? reinterpret_cast<const char*>(value) : std::to_string(value);
  reportLog() += " " + std::to_string(stage) + "=" + text;
  if (stage == 2 && onMerged()) onMerged()(text);
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
    onMerged() = nullptr;
  }

 public:
  void makeTarget(uint32_t id) {
    COMPILER_ONLY(compiled(compile::createNewWordTarget(id, scratch(), &compiled_, &problem_)));
    keep("target-" + digits(id), dir_.path());
  }
  // A new-word file for target of the "word:level" items, comma-separated.
  std::string newWordFile(uint32_t target, uint32_t version, const std::string& words) {
    const std::string name = named(digits(target) + "-" + std::to_string(version) + "-" + words);
    COMPILER_ONLY(
        compile::NewWordFileOptions options; options.targetDictId = target;
        options.listVersion = version; options.listTime[0] = uint8_t(version);
        options.path = scratch() + "/" + name + ".bin"; compile::WrittenNewWordFile written;
        compiled(compile::writeNewWordFile(sourceOf(words), options, &written, &problem_)));
    keep(name, dir_.path());
    return dir_.file(name + ".bin");
  }
  // Dictionary id of the words, compiled into folder (the shared data of server mode).
  void compileInto(const std::string& folder, uint32_t id, const std::string& words) {
    COMPILER_ONLY(compiled(compile::compileDictionary(
        sourceOf(words), {id, scratch(), compile::EntryEncoding::kStored, {}, false}, nullptr,
        &compiled_, &problem_)));
    keep(named("shared-" + digits(id) + "-" + words), folder);
  }

  static std::string digits(uint32_t id) {
    char text[9];
    dict::formatDictIdHex(id, text);
    return text;
  }

 private:
  // A name for a file or folder on any system; long lists (the kill test's) cut short.
  static std::string named(std::string name) {
    for (char& c : name) c = c == ':' ? '_' : c == ',' ? '+' : c;
    return name.substr(0, 100);
  }
#ifdef ORVIADIC_TESTS_COMPILE
  std::string scratch() {
    std::filesystem::create_directory(dir_.file("made"));
    return dir_.file("made");
  }
  void compiled(bool made) {
    EXPECT_TRUE(made) << problem_;
  }
  // Moves what the compiler made into folder, kept as golden files too when asked.
  void keep(const std::string& name, const std::string& folder) {
    const std::string kept = dataPath("update/merge_made/" + name);
    const bool keeping = std::getenv("ORVIADIC_UPDATE_FIXTURES") != nullptr;
    if (keeping) std::filesystem::create_directories(kept);
    for (const auto& file : std::filesystem::directory_iterator(scratch())) {
      const std::string fileName = file.path().filename().string();
      if (keeping) writeFileBytes(kept + "/" + fileName + ".hex", golden(file.path().string()));
      std::filesystem::rename(file.path(), folder + "/" + fileName);
    }
    std::filesystem::remove(scratch());
  }
  // A file's bytes in the golden syntax, each run of a byte written once.
  static std::string golden(const std::string& path) {
    const std::string bytes = readFileBytes(path);
    std::string out;
    for (size_t at = 0, run = 0; at < bytes.size(); at += run) {
      run = std::min(bytes.find_first_not_of(bytes[at], at), bytes.size()) - at;
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02x", uint8_t(bytes[at]));
      out += hex + (run > 2 ? "*" + std::to_string(run) : (run = 1, std::string())) + "\n";
    }
    return out;
  }
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
  compile::CompiledDictionary compiled_;
  std::string problem_;
  int files_ = 0;
#else
  // Copies the golden files kept under name into folder.
  void keep(const std::string& name, const std::string& folder) {
    const std::string kept = "update/merge_made/" + name;
    for (const auto& file : std::filesystem::directory_iterator(dataPath(kept))) {
      const std::string hex = file.path().filename().string();
      writeFileBytes(folder + "/" + hex.substr(0, hex.size() - 4), goldenBytes(kept + "/" + hex));
    }
  }
#endif
};

}  // namespace orvia::testing
