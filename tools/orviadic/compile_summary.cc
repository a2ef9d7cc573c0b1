#include "compile_summary.h"

#include <cstdio>
#include <map>

#include "compile/content/content_compiler.h"
#include "conventions.h"
#include "json_reply.h"

namespace orviadic {
namespace {

using namespace orvia::compile;

const char* stateName(CompanionFile::State state) {
  return state == CompanionFile::State::kCreated ? "created"
         : state == CompanionFile::State::kKept  ? "kept"
                                                 : "failed";
}

// Content types in the order of their numbers, each with its record count.
template <typename Visit>
void forEachUsedType(const DataFileTally& tally, Visit visit) {
  for (uint32_t type = 0; type < 256; ++type)
    if (tally.records[type] != 0 && contentTypeName(uint8_t(type)) != nullptr)
      visit(contentTypeName(uint8_t(type)), tally.records[type]);
}

void printSkipped(const CompiledIndex& index, bool listSkipped) {
  std::printf("  skipped: %zu\n", index.skipped.size());
  constexpr size_t kExamplesPerReason = 5;
  for (int r = 0; r < kSkipReasonCount; ++r) {
    const SkipReason reason = SkipReason(r);
    size_t count = 0;
    for (const SkippedEntry& s : index.skipped) count += s.reason == reason;
    if (count == 0) continue;
    std::printf("    %s: %zu\n", describeSkipReason(reason), count);
    size_t shown = 0;
    for (const SkippedEntry& s : index.skipped) {
      if (s.reason != reason) continue;
      if (!listSkipped && shown == kExamplesPerReason) {
        std::printf("      ... (--list-skipped shows all)\n");
        break;
      }
      std::printf("      \"%s\"\n", s.headword.c_str());
      ++shown;
    }
  }
}

}  // namespace

void printCompileSummary(const CompiledDictionary& result, uint32_t id, const std::string& name,
                         double seconds, bool listSkipped) {
  const CompiledIndex& index = result.index;
  std::printf("%s: %u records from %llu entries in %.2f s\n", bold(result.indexPath).c_str(),
              index.recordCount, static_cast<unsigned long long>(result.entries), seconds);
  std::printf("  dictionary: %s \"%s\"\n", formatDictId(id).c_str(), name.c_str());
  std::string further;
  for (const std::string& name : result.furtherDataFiles) further += " + " + name;
  std::printf("  data: %s%s, %llu bytes for %llu bytes of text\n", result.dataPath.c_str(),
              further.c_str(), static_cast<unsigned long long>(result.data.bytes),
              static_cast<unsigned long long>(result.textBytes));
  if (result.sharingEntries != 0)
    std::printf("  shared texts: %llu entries read a text written once for another\n",
                static_cast<unsigned long long>(result.sharingEntries));
  std::printf("  records by encoding:");
  forEachUsedType(result.data, [](const char* name, uint64_t count) {
    std::printf(" %s %llu", name, static_cast<unsigned long long>(count));
  });
  std::printf("\n");
  if (result.data.storedInstead != 0)
    std::printf("  stored because the chosen encoding could not hold them: %llu\n",
                static_cast<unsigned long long>(result.data.storedInstead));
  if (result.countedFirst) std::printf("  Huffman trees: from a first pass over every text\n");
  std::printf("  companions:");
  for (const CompanionFile& file : result.companions)
    std::printf(" %s %s", file.name.c_str(), stateName(file.state));
  std::printf(" (existing files are kept)\n");
  std::printf("  homographs: %u entries numbered, sharing %u keys\n", index.homographEntries,
              index.homographRuns);
  printSkipped(index, listSkipped);
}

Json compileSummaryJson(const CompiledDictionary& result, uint32_t id, const std::string& name,
                        double seconds) {
  const CompiledIndex& index = result.index;
  std::map<std::string, uint64_t> counts;
  Json list = Json::array();
  for (const SkippedEntry& s : index.skipped) {
    ++counts[skipReasonName(s.reason)];
    list.push_back(Json{{"headword", s.headword}, {"reason", skipReasonName(s.reason)}});
  }
  Json encodings = Json::object();
  forEachUsedType(result.data, [&](const char* type, uint64_t count) { encodings[type] = count; });
  Json companions = Json::object();
  for (const CompanionFile& file : result.companions) companions[file.name] = stateName(file.state);
  return jsonReply({{"id", formatDictId(id)},
                    {"name", name},
                    {"index", result.indexPath},
                    {"data", result.dataPath},
                    {"furtherData", result.furtherDataFiles},
                    {"entries", result.entries},
                    {"records", index.recordCount},
                    {"dataBytes", result.data.bytes},
                    {"textBytes", result.textBytes},
                    {"sharingEntries", result.sharingEntries},
                    {"encodings", encodings},
                    {"storedInstead", result.data.storedInstead},
                    {"huffmanFirstPass", result.countedFirst},
                    {"companions", companions},
                    {"homographEntries", index.homographEntries},
                    {"homographKeys", index.homographRuns},
                    {"milliseconds", uint64_t(seconds * 1000)},
                    {"skipped", counts},
                    {"skippedEntries", list}});
}

}  // namespace orviadic
