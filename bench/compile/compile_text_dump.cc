// Writes every entry's content text of a dictd dictionary, converted as the compiler
// converts it, one after another to stdout: the same bytes the data file codes.
// Usage: compile_text_dump DICTD_BASE [DICTID]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compile/content/entry_text.h"
#include "compile/source/dictd_source.h"
#include "lang/lang_ops.h"
#include "text/code_page.h"

int main(int argc, char** argv) {
  using namespace orvia::compile;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DICTD_BASE [DICTID]\n", argv[0]);
    return 2;
  }
  const uint32_t dictId = argc > 2 ? uint32_t(std::strtoul(argv[2], nullptr, 0)) : 0x00010101;
  DictdSource source;
  if (!source.open(argv[1], DictdSource::Order::kBody)) {
    std::fprintf(stderr, "%s\n", source.problem().c_str());
    return 2;
  }
  const char* codePage = orvia::text::codePageName(orvia::lang::languageOf(dictId));
  if (codePage == nullptr) return 2;
  orvia::text::CodePageConverter converter(codePage);
  SourceEntry entry;
  std::string text;
  for (ReadResult r; (r = source.next(&entry)) != ReadResult::kEnd;) {
    if (r == ReadResult::kFailed) return 2;
    if (r != ReadResult::kEntry || !makeEntryText(entry.headword, entry.text, converter, &text))
      continue;
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 2;
}
