// The merge's world in the test's folder: the installed English dictionary 0x00010101
// with its record and memory companions (edit/user_edit_fixture.h), and the new-word
// targets, new-word files and shared dictionaries of tests/data/update/merge_made, made
// by the tool from "word:level" lists, each word's text naming its word and level (how:
// README.md there). Kept files serve every build alike, the Windows one without a compiler.
#pragma once

#include <filesystem>
#include <string>

#include "edit/user_edit_fixture.h"
#include "support/golden.h"

namespace orvia::testing {

inline std::string textOf(const std::string& word, int level) {
  return "About " + word + ", level " + std::to_string(level) + ".";
}

class MergeFixture : public UserEditFixture {
 public:
  void makeTarget(uint32_t id) { copyKept("target-" + digits(id), dir_.path()); }
  // The new-word file for target of the "word:level" items, comma-separated.
  std::string newWordFile(uint32_t target, uint32_t version, const std::string& words) {
    const std::string name = keptName(digits(target) + "-" + std::to_string(version) + "-" + words);
    copyKept(name, dir_.path());
    return dir_.file(name + ".bin");
  }
  // Dictionary id of the words, with stored entries, into folder.
  void sharedDictionary(const std::string& folder, uint32_t id, const std::string& words) {
    copyKept(keptName("shared-" + digits(id) + "-" + words), folder);
  }
  static std::string digits(uint32_t id) {
    char text[9];
    dict::formatDictIdHex(id, text);
    return text;
  }
  // Back to the world SetUp makes, in an emptied folder.
  void restart() {
    TearDown();
    words_.clear();
    dicts_.clear();
    for (const auto& file : std::filesystem::directory_iterator(dir_.path()))
      std::filesystem::remove_all(file.path());
    SetUp();
  }

 private:
  // Items joined by "+", "_" for ":", cut at 100 characters (the kill test's list is long).
  static std::string keptName(std::string name) {
    for (char& c : name) c = c == ':' ? '_' : c == ',' ? '+' : c;
    return name.substr(0, 100);
  }
  static void copyKept(const std::string& name, const std::string& folder) {
    std::filesystem::copy(dataPath("update/merge_made/" + name), folder,
                          std::filesystem::copy_options::overwrite_existing |
                              std::filesystem::copy_options::recursive);
  }
};

}  // namespace orvia::testing
