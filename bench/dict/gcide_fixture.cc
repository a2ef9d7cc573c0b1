#include "gcide_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "compile/dictionary_compiler.h"
#include "compile/source/dictd_source.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"

namespace orvia::bench {
namespace {

constexpr uint32_t kSynthetic = 0x00020101;

}  // namespace

const std::string& benchFolder() {
  static const std::string folder = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "orviadic-bench-XXXXXX").string();
    std::string path = mkdtemp(pattern.data());
    setenv("ORVIADIC_REGISTRY_DIR", path.c_str(), 1);
    std::ofstream(path + "/HKEY_LOCAL_MACHINE.reg")
        << "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict]\r\n\"PATH\"=\""
        << path << "\"\r\n";
    dicSetRegKey(reinterpret_cast<void*>(uintptr_t(0x80000002u)),
                 "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict");
    std::atexit([] { std::filesystem::remove_all(benchFolder()); });
    return path;
  }();
  return folder;
}

namespace {

// The dictd dictionary at base (".index" and ".dict.dz" beside it) compiled as id.
GcideFixture* buildDictd(const std::string& base, uint32_t id) {
  if (access((base + ".index").c_str(), R_OK) != 0) return nullptr;
  compile::DictionaryCompileOptions options;
  options.dictId = id;
  options.folder = benchFolder();
  compile::CompiledDictionary compiled;
  std::string problem;
  auto open = [&base](std::string* why) -> std::unique_ptr<compile::EntrySource> {
    auto source = std::make_unique<compile::DictdSource>();
    if (source->open(base, compile::DictdSource::Order::kBody)) return source;
    *why = source->problem();
    return nullptr;
  };
  if (!compile::compileDictionary(open, options, nullptr, &compiled, &problem)) return nullptr;
  const std::vector<uint8_t>& records = compiled.index.records;
  auto* fixture = new GcideFixture;
  for (uint32_t at = 0; at < records.size();) {
    dict::IndexRecordView view;
    if (!dict::parseIndexRecord(records.data() + at, uint32_t(records.size() - at), &view))
      return nullptr;
    fixture->searchKeys.push_back(view.searchKey);
    uint32_t offset = view.contentRef & 0xFFFFFF;
    if (offset == dict::kExtendedLocator && !view.extendedRef(&offset)) return nullptr;
    fixture->contentOffsets.push_back(offset);
    at += view.recordLength;
  }
  fixture->indexPath = compiled.indexPath;
  fixture->dataPath = compiled.dataPath;
  fixture->dict = dicCreateHDICT(id);
  return fixture->dict != nullptr ? fixture : nullptr;
}

}  // namespace

const GcideFixture* gcide() {
  static const GcideFixture* fixture = buildDictd("/usr/share/dictd/gcide", kGcideId);
  return fixture;
}

const GcideFixture* freeDictJapanese() {
  static const GcideFixture* fixture =
      buildDictd("/usr/share/dictd/freedict-jpn-eng", kFreeDictJapaneseId);
  return fixture;
}

const GcideFixture* freeDictGerman() {
  static const GcideFixture* fixture =
      buildDictd("/usr/share/dictd/freedict-deu-eng", kFreeDictGermanId);
  return fixture;
}

HDICT* syntheticDictionary(uint32_t count) {
  static std::map<uint32_t, HDICT*> built;
  auto it = built.find(count);
  if (it != built.end()) return it->second;
  uint32_t id = kSynthetic + (uint32_t(built.size()) << 16);
  std::vector<uint8_t> records;
  char key[7] = {};
  for (uint32_t n = 0; n < count; ++n) {
    for (int i = 5, v = int(n); i >= 0; --i, v /= 26) key[i] = char('a' + v % 26);
    uint8_t header[16];
    storeU32Le(header, 16 + 6 + 3 + 1);
    storeU32Le(header + 4, id);
    storeU32Le(header + 8, 0);
    storeU32Le(header + 12, n);
    records.insert(records.end(), header, header + 16);
    records.insert(records.end(), key, key + 6);
    records.insert(records.end(), {0, 0, 0, dict::kDefaultVcode});
  }
  char name[16];
  std::snprintf(name, sizeof name, "%08X.IDX", id);
  std::string path = benchFolder() + "/" + name;
  DbContentName content{id, {}};
  std::snprintf(content.name, sizeof content.name, "%08X.DAT", id);
  if (dbBulkLoad(path.c_str(), lang::getCompareKeysFn(1), records.data(), uint32_t(records.size()),
                 count, &content, 1) == 0)
    return nullptr;
  return built[count] = dicCreateHDICT(id);
}

}  // namespace orvia::bench
