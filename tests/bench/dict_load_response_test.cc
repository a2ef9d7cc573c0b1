// The load generator counts only replies a client could use, however the bytes arrive.
#include <gtest/gtest.h>

#include "response_reader.h"
#include "support/case_table.h"

namespace orvia::bench {
namespace {

using Progress = ResponseReader::Progress;

// Feeds bytes in pieces of at most step bytes; stops at the first answer that is not kMore.
Progress readInPieces(ResponseReader& reader, const std::string& bytes, size_t step, size_t* left) {
  for (size_t at = 0; at < bytes.size();) {
    std::string_view piece = std::string_view(bytes).substr(at, step);
    size_t used = 0;
    Progress progress = reader.feed(piece, &used);
    at += used;
    *left = bytes.size() - at;
    if (progress != Progress::kMore) return progress;
  }
  *left = 0;
  return Progress::kMore;
}

TEST(DictLoadResponse, RepliesReadWholeOrByteByByte) {
  const char* names[] = {"more", "done", "malformed"};
  testing::forEachCase("bench/dict_responses.txt", [&](const testing::CaseRow& row) {
    for (size_t step : {size_t{1}, size_t{4096}}) {
      SCOPED_TRACE(step);
      ResponseReader reader;
      size_t left = 0;
      Progress progress = readInPieces(reader, *row.bytes(1), step, &left);
      EXPECT_EQ(names[static_cast<int>(progress)], row.fields[2]);
      EXPECT_EQ(reader.response().status, row.number(3));
      EXPECT_EQ(reader.response().announced, row.number(4));
      EXPECT_EQ(reader.response().definitions, row.number(5));
      EXPECT_EQ(reader.response().matches, row.number(6));
      EXPECT_EQ(left, static_cast<size_t>(row.number(7)));
    }
  });
}

}  // namespace
}  // namespace orvia::bench
