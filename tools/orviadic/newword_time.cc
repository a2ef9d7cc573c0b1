#include "newword_time.h"

#include <chrono>
#include <ctime>

namespace orviadic {
namespace {

NewWordTime fromTm(const std::tm& tm, unsigned millisecond) {
  NewWordTime t;
  const int parts[8] = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_wday, tm.tm_mday,
                        tm.tm_hour,        tm.tm_min,     tm.tm_sec,  int(millisecond)};
  for (int i = 0; i < 8; ++i) t.parts[i] = uint16_t(parts[i]);
  return t;
}

}  // namespace

std::optional<NewWordTime> parseNewWordTime(const std::string& text) {
  // YYYY-MM-DDTHH:MM:SS with an optional .mmm; each field of one digit up to its width.
  static constexpr struct {
    char before;
    size_t width;
  } kFields[7] = {{0, 4}, {'-', 2}, {'-', 2}, {'T', 2}, {':', 2}, {':', 2}, {'.', 3}};
  unsigned value[7] = {};
  size_t at = 0;
  for (size_t f = 0; f < 7; ++f) {
    if (f == 6 && at == text.size()) break;  // no milliseconds
    if (kFields[f].before != 0 && (at >= text.size() || text[at++] != kFields[f].before))
      return std::nullopt;
    const size_t start = at;
    while (at < text.size() && at - start < kFields[f].width && text[at] >= '0' && text[at] <= '9')
      value[f] = value[f] * 10 + unsigned(text[at++] - '0');
    if (at == start) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;
  std::tm tm{};
  tm.tm_year = int(value[0]) - 1900;
  tm.tm_mon = int(value[1]) - 1;
  tm.tm_mday = int(value[2]);
  tm.tm_hour = int(value[3]);
  tm.tm_min = int(value[4]);
  tm.tm_sec = int(value[5]);
  // timegm carries a day that does not exist into the next month.
  std::tm back = tm;
  const std::time_t seconds = timegm(&back);
  if (seconds == std::time_t(-1) || back.tm_year != tm.tm_year || back.tm_mon != tm.tm_mon ||
      back.tm_mday != tm.tm_mday || back.tm_hour != tm.tm_hour || back.tm_min != tm.tm_min ||
      back.tm_sec != tm.tm_sec)
    return std::nullopt;
  return fromTm(back, value[6]);
}

NewWordTime currentNewWordTime() {
  using namespace std::chrono;
  const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  const std::time_t seconds = std::time_t(ms / 1000);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  return fromTm(tm, unsigned(ms % 1000));
}

NewWordTime timeFromBytes(const uint8_t (&bytes)[16]) {
  NewWordTime t;
  for (int i = 0; i < 8; ++i) t.parts[i] = uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return t;
}

void timeToBytes(const NewWordTime& time, uint8_t (&bytes)[16]) {
  for (int i = 0; i < 8; ++i) {
    bytes[2 * i] = uint8_t(time.parts[i]);
    bytes[2 * i + 1] = uint8_t(time.parts[i] >> 8);
  }
}

std::string timeText(const NewWordTime& time) {
  const uint16_t* p = time.parts;
  char text[96];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u (weekday %u)", p[0], p[1],
                p[3], p[4], p[5], p[6], p[7], p[2]);
  return text;
}

std::vector<uint16_t> timeParts(const NewWordTime& time) {
  return std::vector<uint16_t>(std::begin(time.parts), std::end(time.parts));
}

}  // namespace orviadic
