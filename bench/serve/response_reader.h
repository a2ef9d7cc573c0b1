// Reads a DICT server's replies (RFC 2229) as they arrive, one request's reply at a time:
// its status lines, the texts some of them announce, up to the final status. A reply that
// breaks the protocol is refused, so that a load run counts only answers a client could use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvia::bench {

struct DictResponse {
  int status = 0;       // the final status: 2yy, 3yy, 4yy or 5yy
  int announced = -1;   // n of "150 n definitions" or "152 n matches"; -1 when neither came
  int definitions = 0;  // texts opened by "151"
  int matches = 0;      // lines of the text after "152"
};

class ResponseReader {
 public:
  enum class Progress { kMore, kDone, kMalformed };

  // Takes the next bytes from the server. kDone once the final status line is in, with
  // *used set to the bytes taken (any rest was sent before it was asked for); kMore when
  // every byte was taken and the reply goes on; kMalformed when the reply breaks the
  // protocol, after which the reader must be reset.
  Progress feed(std::string_view bytes, size_t* used);
  const DictResponse& response() const { return response_; }
  // Starts on the next reply.
  void reset();

 private:
  Progress takeLine(std::string_view line);
  Progress takeStatus(std::string_view line);

  // Servers keep lines within 1,024 bytes; a longer one means the stream lost its way,
  // but some wrap late, so only a line far longer is refused.
  static constexpr size_t kMaxLine = 16 * 1024;

  std::string partial_;  // a line not yet ended
  DictResponse response_;
  int textOf_ = 0;       // the status whose text is being read; 0 between texts
  int announcedBy_ = 0;  // 150 or 152 once one came
};

}  // namespace orvia::bench
