// The checksum file beside a compiled dictionary: written as laid out by hand, read back,
// and refused in each damaged form.
#include "compile/content/content_checksums.h"

#include <gtest/gtest.h>

#include "support/golden.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using testing::goldenBytes;
using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

TEST(ContentChecksums, WritesTheHandLaidFileAndRefusesEachDamage) {
  TempDir dir;
  ContentChecksums checksums;
  // Out of order, and 0x2000 twice as entries sharing a record give it: the first stays.
  checksums.add(0x2000, textChecksum("bc"));
  checksums.add(0x1000, textChecksum("a"));
  checksums.add(0x2000, textChecksum("zz"));
  ASSERT_TRUE(checksums.write(dir.file("c")));
  const std::string golden = goldenBytes("compile/checksums.hex");
  EXPECT_EQ(readFileBytes(dir.file("c")), golden);
  const auto read = readContentChecksums(dir.file("c"));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, (std::map<uint32_t, uint32_t>{{0x1000, 0xC1D04330}, {0x2000, 0x242E02AC}}));

  const struct {
    const char* damage;
    std::string bytes;
  } damaged[] = {
      {"a byte short", golden.substr(0, golden.size() - 1)},
      {"a count beyond the pairs", golden.substr(0, 8) + '\3' + golden.substr(9)},
      {"a pair's byte changed, failing the file's own checksum",
       golden.substr(0, 16) + '\x31' + golden.substr(17)},
      {"another magic", "OVDCRC2" + golden.substr(7)},
  };
  for (const auto& d : damaged) {
    writeFileBytes(dir.file("d"), d.bytes);
    EXPECT_FALSE(readContentChecksums(dir.file("d")).has_value()) << d.damage;
  }
  EXPECT_FALSE(readContentChecksums(dir.file("missing")).has_value());
}

}  // namespace
}  // namespace orvia::compile
