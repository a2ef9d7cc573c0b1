// Notes and records through the exports over the real record store, as one script of calls
// and checks (tests/data/edit/user_edits.txt): what each call leaves in the companions,
// what it refuses, and that refusals and damaged companions change no byte.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>

#include "support/case_table.h"
#include "support/read_only_page.h"
#include "user_edit_fixture.h"

namespace orvia::testing {
namespace {

class UserEdits : public UserEditFixture {
 public:
  // Field i as a call's text: null, edge (the four bytes "abcd" that end the last readable
  // page before one that cannot be read) or the bytes it spells.
  const char* argument(const CaseRow& c, size_t i) {
    if (c.fields.at(i) == "edge")
      return static_cast<char*>(std::memcpy(pages_.second() - 4, "abcd", 4));
    const std::optional<std::string> bytes = c.bytes(i);
    return bytes ? texts_.emplace_back(*bytes).c_str() : nullptr;
  }
  HWORD* handle(const std::string& text) {
    return text == "null" ? nullptr : text == "no-record" ? &noRecord_ : word(text);
  }
  // mem.idx, mem.dat, rec.idx or rec.dat of the dictionary.
  std::string file(const std::string& name) const {
    const uint32_t id =
        name[0] == 'm' ? dict::memDictId(dict_->dictId) : dict::recordDictId(dict_->dictId);
    return fileOf(id, name.substr(4) == "idx" ? ".IDX" : ".DAT");
  }
  std::map<std::string, std::string> folder() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
      files[entry.path().string()] = readFileBytes(entry.path().string());
    return files;
  }
  std::string keys(const std::string& index) const {
    const uint32_t id = dict_->dictId;
    std::string out;
    for (const std::string& r : entries(index == "own"   ? id
                                        : index == "mem" ? dict::memDictId(id)
                                                         : dict::recordDictId(id)))
      out += (out.empty() ? "" : " ") + keyOf(r);
    return out;
  }

  // What the row's call or check gives, as its last field spells it.
  std::string run(const CaseRow& c) {
    const std::string& op = c.fields.at(1);
    const std::string& w = c.fields.at(2);
    HDICT* target = op == "rec@null" ? nullptr : op == "rec@companion" ? companion_ : dict_;
    if (op == "fresh") noRecord_.dict = dict_ = makeDictionary(kDictId + (++made_ << 16));
    if (op == "mem")
      return std::to_string(dicAddMem(handle(w), argument(c, 3), uint32_t(c.number(4))));
    if (op == "delmem") return std::to_string(dicDelMem(handle(w)));
    if (op.rfind("rec", 0) == 0 && op != "record")
      return std::to_string(
          dicAddRecord(target, argument(c, 2), 0, argument(c, 3), uint32_t(c.number(4))));
    if (op == "delrec")
      return std::to_string(w == "null"          ? dicDelRecord(nullptr, 0)
                            : std::isdigit(w[0]) ? dicDelRecord(dict_, uint32_t(c.number(2)))
                                                 : dicDelRecord(dict_, recordNumber(w)));
    if (op == "note") return note(w);
    if (op == "record") return recordText(w);
    if (op == "exists") return std::to_string(dicIsExistWord(dict_, w.c_str()));
    if (op == "keys") return keys(w);
    if (op == "count") return std::to_string(entries(dict::recordDictId(dict_->dictId)).size());
    if (op == "head") {
      for (const std::string& r : entries(dict::memDictId(dict_->dictId)))
        if (keyOf(r) == w)
          return heads_.emplace(w, refOf(r)).first->second == refOf(r) ? "same" : "moved";
    }
    if (op == "list") {
      char list[64] = {};
      uint32_t listed = 0;
      dicGetWordList(dict_, recordNumber(w), 1, list, sizeof list, &listed);
      return std::string(list, 2 + std::strlen(list + 1));
    }
    if (op == "snapshot") snapshot_ = folder();
    if (op == "unchanged") return folder() == snapshot_ ? "yes" : "no";
    if (op == "restore")
      for (const auto& [path, bytes] : snapshot_) writeFileBytes(path, bytes);
    if (op == "remove") std::filesystem::remove(file(w));
    if (op == "write") writeFileBytes(file(w), *c.bytes(3));
    if (op == "poke") writeFileBytes(file(w), *c.bytes(3) + readFileBytes(file(w)).substr(4));
    return op == "consistent" ? consistency(dict_->dictId) : "";
  }

  GuardedPages pages_{PageAccess::kNone};
  HWORD noRecord_ = {nullptr, nullptr};
  HDICT* companion_ = nullptr;
  std::deque<std::string> texts_;
  std::map<std::string, uint32_t> heads_;
  std::map<std::string, std::string> snapshot_;
  uint32_t made_ = 0;
};

TEST_F(UserEdits, ScriptOfCallsAndChecks) {
  ASSERT_NE(pages_.first(), nullptr);
  companion_ = dicts_.emplace_back(dicCreateHDICT(dict::recordDictId(kDictId)));
  for (const CaseRow& c : caseTable("edit/user_edits.txt")) {
    SCOPED_TRACE(c.line);
    const std::string& op = c.fields.at(1);
    const bool text = op == "note" || op == "record" || op == "list";
    EXPECT_EQ(run(c), text ? *c.bytes(5) : c.fields.at(5));
  }
}

}  // namespace
}  // namespace orvia::testing
