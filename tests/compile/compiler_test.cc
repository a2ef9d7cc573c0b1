// The compiler end to end. Data files: the writer's layouts against files worked out by
// hand, and whole compiles in every coding, with shared texts, past the 24-bit locator and
// past the continuation limit, read back through the content decoders; the checksum
// file; the further files' names. Then each source under
// tests/data/compile/ compiled with its texts stored, and its index records, its data file
// and the entries it left out compared with files worked out by hand: NAME.idx.hex,
// NAME.dat.hex and NAME.skipped (one line per entry left out: the reason's name, a tab,
// the headword or where the bad line is); the sources are listed in compile/sources.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "compile/content/content_checksums.h"
#include "compile/content/content_compiler.h"
#include "compile/content/data_file_writer.h"
#include "compile/content/entry_text.h"
#include "compile/source/dictd_source.h"
#include "compile/source/tsv_source.h"
#include "support/case_table.h"
#include "support/compiled_dictionary.h"
#include "support/golden.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using namespace orvia::testing;

constexpr uint32_t kEnglish = 0x00010101;
constexpr EntryEncoding kStored = EntryEncoding::kStored;
constexpr uint32_t kFirstRecord = 0x10007;  // after the table and three empty tree sizes

const uint8_t* bytesOf(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

// Layouts of compile/writer_layouts.txt. A writer that is not committed leaves the files
// that stood under their names before as they were.
TEST(DataFileWriter, LaysOutHeadsBodiesAndPiecesOnceCommitted) {
  forEachCase("compile/writer_layouts.txt", [&](const CaseRow& row) {
    const DataFileOptions options{uint32_t(row.number(1)), uint32_t(row.number(2)),
                                  uint32_t(row.number(3))};
    const std::string head = *row.bytes(4), body = *row.bytes(5), secondHead = *row.bytes(6);
    const std::string furtherName = *row.bytes(7);
    TempDir dir;
    const std::string main = dir.file("main.DAT"), further = dir.file(furtherName);
    writeFileBytes(main, "earlier main");
    writeFileBytes(further, "earlier further");
    const auto partsLeft = [&] {
      return std::filesystem::exists(main + ".part") || std::filesystem::exists(further + ".part");
    };
    std::vector<std::string> furtherNames;
    for (bool commit : {false, true}) {
      // Nothing committed yet: the earlier files stand.
      EXPECT_EQ(readFileBytes(main) + readFileBytes(further), "earlier mainearlier further");
      EXPECT_FALSE(partsLeft());
      DataFileWriter writer;
      ASSERT_TRUE(writer.create(main, nullptr, options));
      uint32_t offset = 0, size = uint32_t(head.size());
      RecordPlace place;
      ASSERT_TRUE(body.empty()
                      ? writer.addEntry(bytesOf(head), size, kStored, &offset)
                      : writer.addEntryWithBody(bytesOf(head), size, bytesOf(body),
                                                uint32_t(body.size()), kStored, &offset, &place));
      EXPECT_EQ(offset, kFirstRecord);
      ASSERT_TRUE(secondHead.empty() ||
                  writer.addEntryHead(bytesOf(secondHead), uint32_t(secondHead.size()), kStored,
                                      place, &offset));
      EXPECT_FALSE(writer.commit());  // not finished
      ASSERT_TRUE(writer.finish() && (!commit || writer.commit()));
      furtherNames = writer.furtherFileNames();
    }
    EXPECT_FALSE(partsLeft());
    const bool written = !furtherNames.empty();
    EXPECT_EQ(furtherNames, std::vector<std::string>(written, furtherName));
    const std::string name = "compile/writer_" + row.fields[0];
    if (options.dictId == 0 && written) {
      EXPECT_EQ(readFileBytes(main).substr(0, 2 + further.size()), '\x01' + further + '\0');
      EXPECT_EQ(readFileBytes(further).size(), kFirstRecord + 8 + body.size());
    } else {
      EXPECT_EQ(readFileBytes(main), goldenBytes(name + ".dat.hex"));
      EXPECT_EQ(readFileBytes(further),
                written ? goldenBytes(name + "_" + furtherName + ".hex") : "earlier further");
    }
  });
}

TEST(DataFileWriter, ContinuationsStartBelowTheLimitOfTheMainFile) {
  forEachCase("compile/continuation_limits.txt", [&](const CaseRow& c) {
    TempDir dir;
    DataFileWriter writer;
    ASSERT_TRUE(writer.create(dir.file("main.DAT"), nullptr,
                              DataFileOptions{0, 1 << 20, uint32_t(c.number(0))}));
    EXPECT_EQ(writer.reachable({uint32_t(c.number(1)), uint32_t(c.number(2))}), c.number(3) != 0);
  });
}

std::string entryText(const std::string& headword, const std::string& text) {
  text::CodePageConverter converter("WINDOWS-1252");
  std::string out;
  EXPECT_TRUE(makeEntryText(headword, text, converter, &out));
  return out;
}

// Records are stored back to back from the first offset on, so entries of chosen
// sizes put one exactly at 0xFFFFFF, where the locator moves behind the strings.
TEST(CompiledDataFile, LocatorsFromOffset0xFFFFFFOnAreExtended) {
  constexpr uint32_t kFiller = 60000;  // text bytes of each large entry
  // The header and the end marker; the texts start with their headwords, so no line is
  // put before them.
  constexpr uint32_t kOverhead = 8 + 4;
  std::vector<SourceEntry> entries;
  uint32_t end = kFirstRecord;
  auto add = [&](uint32_t textSize) {
    const std::string headword = "w" + std::to_string(10000 + entries.size()).substr(1);
    entries.push_back(entryOf(headword, headword + std::string(textSize - 5, 'x')));
    end += textSize + kOverhead;
  };
  while (end + 2 * (kFiller + kOverhead) < 0xFFFFFF) add(kFiller);
  add(0xFFFFFF - end - kOverhead);  // the last record before the switch
  const size_t atSwitch = entries.size();
  ASSERT_EQ(end, 0xFFFFFFu);
  add(100);
  add(100);

  const auto contents = compileAndRead(entries, kEnglish, kStored).contents;
  ASSERT_EQ(contents.size(), entries.size());
  for (size_t i = 0; i < contents.size(); ++i) {
    const CompiledRecord& record = contents[i].record;
    SCOPED_TRACE(record.key);
    EXPECT_EQ(record.extended, i >= atSwitch);
    EXPECT_EQ(record.contentRef, record.extended ? 0xFFFFFFu : record.locator);  // level 0
    EXPECT_TRUE(i == 0 || record.locator > contents[i - 1].record.locator);
    EXPECT_EQ(contents[i].text, entries[i].text + "\r\n~!");
  }
  EXPECT_EQ(contents[atSwitch].record.locator, 0xFFFFFFu);
}

// Every coding gives records of its type that read back, and stores what it cannot hold.
TEST(CompiledDataFile, EachCodingGivesItsTypeOrStoresWhatItCannotHold) {
  forEachCase("compile/codings.txt", [&](const CaseRow& c) {
    const std::vector<SourceEntry> entries = {
        entryOf("apple", "Apple, n. The fruit of a tree.\n   [1913 Webster]\n"),
        entryOf("banana", "A long yellow fruit. A long yellow fruit. A long yellow fruit.\n"),
        entryOf("cherry", "Cherry \\Cher\"ry\\, n.\n   A small stone fruit.\n"),
        entryOf("odd", *c.bytes(1)),
    };
    const auto compiled = compileAndRead(entries, kEnglish, *encodingNamed(c.fields[0]));
    EXPECT_EQ(compiled.result.data.storedInstead, uint64_t(c.number(4)));
    ASSERT_EQ(compiled.contents.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(compiled.contents[i].type, c.number(i < 3 ? 2 : 3));
      EXPECT_EQ(compiled.contents[i].text, entryText(entries[i].headword, entries[i].text));
    }
  });
}

TEST(CompiledDataFile, SharedTextsAreWrittenOnceAndReadBackWhole) {
  const std::string shared = "actin, a protein of muscle fibres.\nSee also myosin.\n";
  auto textOf = [&](const std::string& headword) {
    return headword == "odd" ? std::string("a text used once\n") : shared;
  };
  forEachCase("compile/shared_texts.txt", [&](const CaseRow& c) {
    std::vector<SourceEntry> entries;
    for (const std::string& headword : c.list(2))
      entries.push_back(entryOf(headword, textOf(headword)));
    const uint32_t limit = uint32_t(c.number(1));
    const auto [result, contents] = compileAndRead(entries, kEnglish, EntryEncoding::kSmallest,
                                                   DataFileOptions{0, 1 << 20, limit});
    EXPECT_EQ(result.sharingEntries, uint64_t(c.number(4)));
    EXPECT_EQ(result.furtherDataFiles, limit == kFirstRecord
                                           ? std::vector<std::string>{"X0101011.DAT"}
                                           : std::vector<std::string>{});
    ASSERT_EQ(contents.size(), 4u);
    for (size_t i = 0; i < contents.size(); ++i) {
      const std::string& key = contents[i].record.key;
      const char start = c.fields[3].at(i);
      SCOPED_TRACE(key);
      EXPECT_EQ(contents[i].text, entryText(key, textOf(key)));
      // Whole: no continuation. Here: the same file, where "actin" lies; further:
      // file-index entry 0.
      const uint32_t continuation = contents[i].continuation;
      EXPECT_EQ(continuation, start == 'w'   ? 0xFFFFFFFFu
                              : start == 'h' ? 0xFF000000u | contents[0].record.locator
                                             : continuation & 0xFFFFFF);
      EXPECT_TRUE(start == 'w' || contents[i].length == 8 + key.size() + 2);  // stored "key\r\n"
    }
  });
}

// The checksum file beside a compiled dictionary: written as laid out by hand, read back,
// and refused in each damaged form (compile/checksums_damage.txt).
TEST(ContentChecksums, WritesTheHandLaidFileAndRefusesEachDamage) {
  TempDir dir;
  ContentChecksums checksums;
  // Out of order, and 0x2000 twice as entries sharing a record give it: the
  // first stays.
  checksums.add(0x2000, textChecksum("bc"));
  checksums.add(0x1000, textChecksum("a"));
  checksums.add(0x2000, textChecksum("zz"));
  ASSERT_TRUE(checksums.write(dir.file("c")));
  EXPECT_EQ(readFileBytes(dir.file("c")), goldenBytes("compile/checksums.hex"));
  const auto read = readContentChecksums(dir.file("c"));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, (std::map<uint32_t, uint32_t>{{0x1000, 0xC1D04330}, {0x2000, 0x242E02AC}}));
  forEachCase("compile/checksums_damage.txt", [&](const CaseRow& c) {
    writeFileBytes(dir.file("d"), *c.bytes(1));
    EXPECT_FALSE(readContentChecksums(dir.file("d")).has_value());
  });
  EXPECT_FALSE(readContentChecksums(dir.file("missing")).has_value());
}

// Companions hold user entries, and languages 0 and 10 have no code page.
TEST(CompiledDataFile, IdsWithoutContentOrCodePageAreNotCompiled) {
  TempDir dir;
  const std::vector<SourceEntry> entries = {entryOf("apple", "")};
  for (uint32_t id : {0x7F010101u, 0xFF010101u, 0x00010100u, 0x0001010Au}) {
    const DictionaryCompileOptions options{id, dir.path(), kStored, {}};
    CompiledDictionary result;
    std::string problem;
    EXPECT_FALSE(compileDictionary(openerOf(&entries), options, nullptr, &result, &problem))
        << std::hex << id;
  }
}

// Further data files: every name used once, a clear refusal past the last one, and
// recompiles that each install one set of files.
TEST(FurtherFiles, EachCompileInstallsOneSetOfUniquelyNamedFiles) {
  TempDir dir;
  // Pieces of 8 bytes, and no continuation past a file's first record: each piece after
  // an entry's first goes into a further file of its own. "long" CR LF and CR LF "~!"
  // around a text of 8n - 2 bytes make n + 1 pieces. No further file: one small record.
  const auto textOf = [](uint32_t further) {
    return std::string(further == 0 ? 1 : 8 * further - 2, 'x');
  };
  const auto compile = [&](uint32_t further, std::string* problem) {
    const std::vector<SourceEntry> entries = {entryOf("long", textOf(further))};
    DictionaryCompileOptions options{kEnglish, dir.path(), kStored, {}};
    if (further != 0) options.dataFile = DataFileOptions{kEnglish, 8, 0x10008};
    CompiledDictionary result;
    const bool ok = compileDictionary(openerOf(&entries), options, nullptr, &result, problem);
    return ok ? result.furtherDataFiles : std::vector<std::string>{"<failed>"};
  };
  const auto installed = [&](bool furtherOnly) {
    std::set<std::string> files;
    for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = file.path().filename().string();
      if (furtherOnly && name[0] == 'X') files.insert(name);
      if (!furtherOnly) files.insert(name + readFileBytes(file.path().string()));
    }
    return files;
  };
  std::string problem;
  const std::vector<std::string> all = compile(36, &problem);
  ASSERT_EQ(std::set<std::string>(all.begin(), all.end()).size(), 36u) << problem;
  EXPECT_EQ(all.back(), "X010101X.DAT");
  const std::set<std::string> before = installed(false);
  EXPECT_EQ(compile(37, &problem), std::vector<std::string>{"<failed>"});
  EXPECT_NE(problem.find("more than 36 further data files"), std::string::npos) << problem;
  EXPECT_EQ(installed(false), before);
  for (uint32_t further : {36u, 2u, 0u}) {
    SCOPED_TRACE(further);
    const std::vector<std::string> written = compile(further, &problem);
    EXPECT_EQ(written.size(), further);
    EXPECT_EQ(installed(true), std::set<std::string>(written.begin(), written.end()));
    const auto read = readRecordContents(dir.path(), kEnglish);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].text, "long\r\n" + textOf(further) + "\r\n~!");
  }
}

// A source of the kind a row names: tsv, dictd read in the order of its index, or dictzip
// read in the order of its body.
SourceOpener openerFor(const std::string& kind, const std::string& path) {
  if (kind == "tsv") return sourceOpener<TsvSource>(path);
  return sourceOpener<DictdSource>(
      path, kind == "dictd" ? DictdSource::Order::kIndex : DictdSource::Order::kBody);
}

TEST(CompiledSource, GivesTheHandWorkedRecordsDataFileAndSkips) {
  forEachCase("compile/sources.txt", [&](const CaseRow& c) {
    const std::string name = "compile/" + c.fields[0], kind = c.fields[1];
    TempDir dir;
    std::string path = dataPath(name) + (kind == "tsv" ? ".tsv" : "");
    if (kind == "dictzip") {
      path = dir.file(c.fields[0]);
      writeFileBytes(path + ".index", readFileBytes(dataPath(name + ".index")));
      writeFileBytes(path + ".dict.dz", goldenBytes(name + ".dict.dz.hex"));
    }
    const CompiledDictionary result =
        compileFrom(openerFor(kind, path), kEnglish, dir.path(), kStored);
    std::string records, skipped;
    for (const auto& record : readIndexRecords(dir.path(), kEnglish)) records += record.bytes;
    EXPECT_EQ(records, goldenBytes(name + ".idx.hex"));
    EXPECT_EQ(readFileBytes(result.dataPath), goldenBytes(name + ".dat.hex"));
    for (const SkippedEntry& s : result.index.skipped)
      skipped += std::string(skipReasonName(s.reason)) + "\t" + s.headword + "\n";
    EXPECT_EQ(skipped, readFileBytes(dataPath(name + ".skipped")));
    EXPECT_EQ(result.entries, result.index.recordCount + result.index.skipped.size());
    EXPECT_EQ(result.index.homographRuns, c.number(2));
    EXPECT_EQ(result.index.homographEntries, c.number(3));
  });
}

}  // namespace
}  // namespace orvia::compile
