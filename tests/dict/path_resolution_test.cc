#include <gtest/gtest.h>

#include <string>

#include "config_fixture.h"

namespace orvia::dict {
namespace {

using orvia::testing::ConfigFixture;

struct PathCase {
  const char* what;
  std::string values;  // value lines of the key
  bool serverData;
  uint32_t id;
  const char* fileName;
  const char* expected;  // null: resolution fails
};

std::string sz(const std::string& name, const std::string& escaped) {
  return "\"" + name + "\"=\"" + escaped + "\"\r\n";
}

const std::string kServer = "\"Type\"=dword:00000001\r\n";

class PathResolution : public ConfigFixture {};

TEST_F(PathResolution, FallbackOrderAndEndNormalisation) {
  const PathCase cases[] = {
      {"own value", sz("00010203Path", "D:\\\\Dict"), false, 0x00010203, "00010203.IDX",
       "D:\\Dict/00010203.IDX"},
      {"trailing separator and blanks", sz("00010203Path", "D:\\\\Dict/  \t"), false, 0x00010203,
       "00010203.IDX", "D:\\Dict/00010203.IDX"},
      {"only the last separator is replaced", sz("00010203Path", "D:\\\\Dict//"), false, 0x00010203,
       "00010203.IDX", "D:\\Dict//00010203.IDX"},
      {"companion falls back to its base", sz("00010203Path", "D:\\\\Dict"), false, 0x7F010203,
       "7F010203.IDX", "D:\\Dict/7F010203.IDX"},
      {"own value wins over base", sz("00010203Path", "base") + sz("7F010203Path", "own"), false,
       0x7F010203, "7F010203.DAT", "own/7F010203.DAT"},
      {"last resort PATH", sz("PATH", "/last"), false, 0x00010203, "00010203.IDX",
       "/last/00010203.IDX"},
      {"invalid id uses eight zeros as base", sz("00000000Path", "/zero"), false, 0x00000203,
       "00000203.IDX", "/zero/00000203.IDX"},
      {"invalid id ignores its nominal base", sz("00000203Path", "/own") + sz("00000003Path", "/x"),
       false, 0x01000203, "01000203.IDX", nullptr},
      {"nothing set", "", false, 0x00010203, "00010203.IDX", nullptr},
      {"drive root", sz("00010203Path", "D:\\\\"), false, 0x00010203, "a", "D:/a"},
      {"lone separator", sz("00010203Path", "\\\\"), false, 0x00010203, "a", nullptr},
      {"letter and separator", sz("00010203Path", "D/"), false, 0x00010203, "a", nullptr},
      {"blank throughout", sz("00010203Path", "   "), false, 0x00010203, "a", nullptr},
      {"empty", sz("00010203Path", ""), false, 0x00010203, "a", nullptr},
      {"a blank dir does not fall through", sz("00010203Path", " ") + sz("PATH", "/p"), false,
       0x00010203, "a", nullptr},
      {"server data for the dictionary's content",
       kServer + sz("00010203ServerDataPath", "/srv") + sz("00010203Path", "/local"), true,
       0x00010203, "00010203.DAT", "/srv/00010203.DAT"},
      {"server data: .dat in any case",
       kServer + sz("00010203ServerDataPath", "/srv") + sz("00010203Path", "/local"), true,
       0x00010203, "00010203.dAt", "/srv/00010203.dAt"},
      {"server data: never the index",
       kServer + sz("00010203ServerDataPath", "/srv") + sz("00010203Path", "/local"), true,
       0x00010203, "00010203.IDX", "/local/00010203.IDX"},
      {"server data: never a companion",
       kServer + sz("ServerDataPath", "/srv") + sz("00010203Path", "/local"), true, 0x7F010203,
       "7F010203.DAT", "/local/7F010203.DAT"},
      {"server data: kind 0x01 is no companion",
       kServer + sz("00010203ServerDataPath", "/srv") + sz("00010203Path", "/local"), true,
       0x01010203, "01010203.DAT", "/srv/01010203.DAT"},
      {"server data: 13 characters are no content file",
       kServer + sz("ServerDataPath", "/srv") + sz("PATH", "/local"), true, 0x00010203,
       "00010203X.DAT", "/local/00010203X.DAT"},
      {"server data: missing falls to last resort",
       kServer + sz("ServerDataPath", "/srv") + sz("00010203Path", "/local"), true, 0x00010203,
       "00010203.DAT", "/srv/00010203.DAT"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.what);
    writeDictKey(c.values);
    reload();
    ASSERT_EQ(moduleState().serverDataMode != 0, c.serverData);
    char out[kMaxPath];
    int ok = resolveDictFilePath(c.id, out, sizeof out, c.fileName);
    if (c.expected == nullptr) {
      EXPECT_EQ(ok, 0);
    } else {
      ASSERT_EQ(ok, 1);
      EXPECT_STREQ(out, c.expected);
    }
  }
}

TEST_F(PathResolution, LengthLimitLeavesOutEmpty) {
  // A directory of n characters becomes n + 1 with its separator; with a 12-character
  // name and the terminator, n = 246 fills 260 bytes exactly.
  for (size_t n : {246u, 247u, 258u, 259u}) {
    SCOPED_TRACE(n);
    writeDictKey(sz("00010203Path", "/" + std::string(n - 1, 'd')));
    char out[kMaxPath];
    std::fill(out, out + kMaxPath, 'x');
    int ok = resolveDictFilePath(0x00010203, out, sizeof out, "00010203.IDX");
    if (n <= 246) {
      EXPECT_EQ(ok, 1);
      EXPECT_EQ(std::string(out).size(), 259u - (246 - n));
    } else {
      EXPECT_EQ(ok, 0);
      EXPECT_EQ(out[0], '\0');
    }
  }
}

TEST_F(PathResolution, ValueLargerThanBufferCountsAsMissing) {
  writeDictKey(sz("7F010203Path", "/" + std::string(300, 'l')) + sz("00010203Path", "/base"));
  char out[kMaxPath];
  ASSERT_EQ(resolveDictFilePath(0x7F010203, out, sizeof out, "7F010203.IDX"), 1);
  EXPECT_STREQ(out, "/base/7F010203.IDX");
}

TEST_F(PathResolution, SharedDataPathNeedsServerMode) {
  writeDictKey(sz("00010203ServerDataPath", "/srv") + sz("7F010203ServerDataPath", "/own"));
  char out[kMaxPath];
  EXPECT_EQ(resolveSharedDataPath(0x00010203, out, sizeof out, "00010203.DAT"), 0);
  writeDictKey(kServer + sz("00010203ServerDataPath", "/srv") +
               sz("7F010203ServerDataPath", "/own"));
  reload();
  ASSERT_EQ(resolveSharedDataPath(0x7F010203, out, sizeof out, "x.IDX"), 1);
  EXPECT_STREQ(out, "/own/x.IDX");
}

TEST(ContentFileName, TwelveCharactersEndingInDat) {
  EXPECT_EQ(isContentFileName("00010203.DAT"), 1);
  EXPECT_EQ(isContentFileName("ABCDEFGH.dat"), 1);
  EXPECT_EQ(isContentFileName("00010203.IDX"), 0);
  EXPECT_EQ(isContentFileName("0001020.DAT"), 0);
  EXPECT_EQ(isContentFileName("00010203_DAT"), 0);
  EXPECT_EQ(isContentFileName(nullptr), 0);
}

}  // namespace
}  // namespace orvia::dict
