// The load generator counts only replies a client could use, however the bytes arrive.
#include <gtest/gtest.h>

#include "response_reader.h"
#include "support/case_table.h"

namespace orvia::bench {
namespace {

using Progress = ResponseReader::Progress;

TEST(DictLoadResponse, RepliesReadWholeOrByteByByte) {
  const char* names[] = {"more", "done", "malformed"};
  testing::forEachCase("bench/dict_responses.txt", [&](const testing::CaseRow& row) {
    for (size_t step : {size_t{1}, size_t{4096}}) {
      SCOPED_TRACE(step);
      // Bytes fed in pieces of at most step bytes, up to the first answer that is not kMore.
      ResponseReader reader;
      const std::string bytes = *row.bytes(1);
      Progress progress = Progress::kMore;
      size_t at = 0;
      while (at < bytes.size() && progress == Progress::kMore) {
        size_t used = 0;
        progress = reader.feed(std::string_view(bytes).substr(at, step), &used);
        at += used;
      }
      EXPECT_EQ(names[static_cast<int>(progress)], row.fields[2]);
      EXPECT_EQ(reader.response().status, row.number(3));
      EXPECT_EQ(reader.response().announced, row.number(4));
      EXPECT_EQ(reader.response().definitions, row.number(5));
      EXPECT_EQ(reader.response().matches, row.number(6));
      EXPECT_EQ(bytes.size() - at, static_cast<size_t>(row.number(7)));
    }
  });
}

}  // namespace
}  // namespace orvia::bench
