// The 16 time bytes of a new-word file as the tool writes and shows them: eight
// little-endian u16, year, month, weekday (0 Sunday), day, hour, minute, second and
// millisecond. The library only copies the bytes; other writers may mean them otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orviadic {

struct NewWordTime {
  uint16_t parts[8] = {};  // year, month, weekday, day, hour, minute, second, millisecond
};

// "YYYY-MM-DDTHH:MM:SS" with an optional ".mmm", as UTC; the weekday is worked out.
// Empty for anything else or a date that does not exist.
std::optional<NewWordTime> parseNewWordTime(const std::string& text);
NewWordTime currentNewWordTime();

NewWordTime timeFromBytes(const uint8_t (&bytes)[16]);
void timeToBytes(const NewWordTime& time, uint8_t (&bytes)[16]);

// "2026-12-07 12:30:00.500" (weekday and all); the eight numbers as a JSON array.
std::string timeText(const NewWordTime& time);
std::vector<uint16_t> timeParts(const NewWordTime& time);

}  // namespace orviadic
