// One entry of a dictionary source, as an importer hands it to the compiler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvia::compile {

struct SourceEntry {
  std::string headword;     // UTF-8, as the source spells it
  std::string displayWord;  // UTF-8; empty when the source gives none
  uint8_t level = 0;
  std::optional<uint8_t> vcode;  // the source's own vcode, if any
  // Where the content lies in the data file; 0 until the data-file writer fills it in.
  uint32_t contentRef = 0;
  std::optional<uint32_t> extendedRef;
  std::string text;  // UTF-8 explanation; filled only when the importer is asked for it
  // The entry's place in the source's own order, when the importer gives the entries in
  // another; homographs are numbered by it. 0 everywhere: the order they are given in.
  uint64_t ordinal = 0;
};

}  // namespace orvia::compile
