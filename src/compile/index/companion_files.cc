#include "compile/index/companion_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "content/user_entry_format.h"
#include "dict/dict_id.h"
#include "orviadb.h"

namespace orvia::compile {
namespace {

using State = CompanionFile::State;

State createEmptyIndex(const std::string& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) return State::kKept;
  errno = 0;
  return dbCreate(path.c_str()) != 0 ? State::kCreated : State::kFailed;
}

State createEmptyUserEntryFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) return State::kKept;
  // "x": never truncate a file that appeared since the check.
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (file == nullptr) return State::kFailed;
  const uint8_t head[content::kFirstBlockOffset] = {};
  bool written = std::fwrite(head, 1, sizeof head, file) == sizeof head;
  written = std::fclose(file) == 0 && written;
  if (!written) std::filesystem::remove(path, error);
  return written ? State::kCreated : State::kFailed;
}

struct CompanionKind {
  const char* extension;
  State (*create)(const std::string& path);
};
constexpr CompanionKind kKinds[] = {{".IDX", createEmptyIndex}, {".DAT", createEmptyUserEntryFile}};

}  // namespace

std::vector<CompanionFile> createCompanionFiles(const std::string& folder, uint32_t dictId) {
  std::vector<CompanionFile> files;
  for (uint32_t companion : {dict::recordDictId(dictId), dict::memDictId(dictId)}) {
    for (const CompanionKind& kind : kKinds) {
      char name[dict::kFileNameBufferSize];
      dict::buildDictFileName(companion, name, kind.extension);
      const State state = kind.create((std::filesystem::path(folder) / name).string());
      // The store says only that it failed; the system call that failed left its reason.
      const std::string problem = state != State::kFailed ? ""
                                  : errno != 0            ? std::strerror(errno)
                                                          : "the record store could not make it";
      files.push_back({name, state, problem});
    }
  }
  return files;
}

}  // namespace orvia::compile
