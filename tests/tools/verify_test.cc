// orviadic verify on a compiled word list in each encoding, whole and then with one
// content record damaged: it must name the record whose content stops decoding. The
// rows are in tests/data/tools/verify_damage.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "support/case_table.h"
#include "support/compiled_dictionary.h"
#include "support/temp_dir.h"

namespace {

// The tool's exit status; its output, standard error included, in *output.
int run(const std::string& arguments, std::string* output) {
  output->clear();
  FILE* pipe = popen((std::string(ORVIADIC_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  char chunk[4096];
  for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output->append(chunk, got);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Verify, PassesOnEveryEncodingAndNamesTheRecordWhoseContentStopsDecoding) {
  orvia::testing::TempDir dir;
  setenv("ORVIADIC_REGISTRY_DIR", dir.file("registry").c_str(), 1);
  setenv("NO_COLOR", "1", 1);
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("tools/verify_damage.txt")) {
    SCOPED_TRACE(c.line);
    std::string output;
    const std::string compile = "compile --from tsv " ORVIADIC_SOURCE_DIR
                                "/data/words.tsv --id 0x00010101 --encoding " +
                                c.fields[0] + " --out " + dir.path();
    ASSERT_EQ(run(compile + " && " ORVIADIC_TOOL " install " + dir.path(), &output), 0) << output;
    EXPECT_EQ(run("verify 0x00010101", &output), 0) << output;
    EXPECT_NE(output.find("ok, 38 records"), std::string::npos) << output;
    const auto records = orvia::testing::readIndexRecords(dir.path(), 0x00010101);
    const auto zebra = std::find_if(records.begin(), records.end(),
                                    [](const auto& record) { return record.key == "zebra"; });
    ASSERT_NE(zebra, records.end());
    const uint32_t offset = zebra->locator, number = uint32_t(zebra - records.begin());
    const std::string damage = *c.bytes(2);
    std::fstream data(dir.file("00010101.DAT"), std::ios::in | std::ios::out | std::ios::binary);
    data.seekp(offset + c.number(1)).write(damage.data(), std::streamsize(damage.size()));
    data.close();
    const bool told = c.fields[3] != "none";
    EXPECT_EQ(run("verify 0x00010101", &output), told ? 1 : 0) << output;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", offset);
    for (const std::string& named :
         {"record " + std::to_string(number) + " (zebra)", std::string(hex),
          c.fields[3] + " at offset " + std::to_string(offset)})
      EXPECT_EQ(output.find(named) != std::string::npos, told) << named << " in " << output;
  }
}

}  // namespace
