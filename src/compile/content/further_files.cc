#include "compile/content/further_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/bytes.h"
#include "content/content_format.h"
#include "platform/file.h"

namespace orvia::compile {
namespace {

using namespace orvia::content;

// The sequence characters in the order files are made. Only the first 34 were used once,
// and the names wrapped round; "0" and "X" came last so that the files of those compiles
// keep their names.
constexpr char kSequence[] = "123456789ABCDEFGHIJKLMNOPQRSTUVWYZ0X";
static_assert(sizeof kSequence - 1 == kMaxFurtherFiles);

bool isFurtherFileOf(const std::string& name, uint32_t dictId) {
  for (uint32_t s = 0; s < kMaxFurtherFiles; ++s) {
    if (name == furtherFileName(dictId, s)) return true;
  }
  return false;
}

// Appends to names the further files of dictId that file's table names and names lacks.
void addNamedFiles(const platform::File& file, uint32_t dictId, std::vector<std::string>* names) {
  uint8_t count = 0;
  size_t got = 0;
  if (!file.readAt(kFileIndexCountOffset, &count, 1, &got) || got != 1) return;
  uint8_t entry[kFileIndexEntrySize];
  for (uint32_t k = 0; k < count; ++k) {
    if (!file.readAt(kFileIndexTableOffset + k * kFileIndexEntrySize, entry, sizeof entry, &got) ||
        got != sizeof entry || entry[0] != 0 || loadU32Le(entry + kFileIndexIdOffset) != dictId)
      continue;
    const char* name = reinterpret_cast<const char*>(entry + kFileIndexNameOffset);
    const std::string text(name, strnlen(name, kFileIndexEntrySize - kFileIndexNameOffset));
    if (isFurtherFileOf(text, dictId) &&
        std::find(names->begin(), names->end(), text) == names->end())
      names->push_back(text);
  }
}

}  // namespace

std::string furtherFileName(uint32_t dictId, uint32_t sequence) {
  // The X keeps the name from ever being eight hexadecimal digits, the form of the
  // dictionaries' and companions' own files; with ".DAT" it has the twelve characters
  // of a content file for the shared-data lookup.
  char name[16];
  std::snprintf(name, sizeof name, "X%06X%c.DAT", dictId & 0xFFFFFF, kSequence[sequence]);
  return name;
}

std::vector<std::string> furtherFilesNamedBy(const std::string& path, uint32_t dictId) {
  std::vector<std::string> names;
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  if (auto main = platform::openFile(path.c_str(), platform::FileMode::kRead))
    addNamedFiles(*main, dictId, &names);
  // Each further file is read once: the list only grows, and holds at most every name.
  for (size_t i = 0; i < names.size(); ++i) {
    if (auto further = platform::openFile((folder + names[i]).c_str(), platform::FileMode::kRead))
      addNamedFiles(*further, dictId, &names);
  }
  return names;
}

}  // namespace orvia::compile
