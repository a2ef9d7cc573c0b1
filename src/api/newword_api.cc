#include <cstring>

#include "api/guard.h"
#include "update/newword_file.h"
#include "update/newword_list.h"

using orvia::api::guarded;
using orvia::update::NewWordFileHeader;

namespace {

bool isEmptyPath(const char* path) {
  return !orvia::platform::isReadable(path, 1) || path[0] == '\0';
}

// The header of the valid new-word file at path; false for an empty path too.
bool readHeader(const char* path, NewWordFileHeader* header) {
  return !isEmptyPath(path) && orvia::update::readNewWordFileHeader(path, header).ok();
}

}  // namespace

extern "C" {

int32_t ORVIADIC_API dicGetNewWordID(const char* path, uint32_t* dictId) {
  return guarded(0, [&] {
    if (!orvia::platform::isWritable(dictId, sizeof *dictId)) return 0;
    *dictId = 0;
    NewWordFileHeader header;
    if (!readHeader(path, &header)) return 0;
    *dictId = header.targetDictId;
    return *dictId != 0 ? 1 : 0;
  });
}

int32_t ORVIADIC_API dicGetNewWordVersion(const char* path, uint32_t* version) {
  return guarded(0, [&] {
    if (!orvia::platform::isWritable(version, sizeof *version)) return 0;
    *version = 0xFFFFFFFFu;
    NewWordFileHeader header;
    if (!readHeader(path, &header)) return 0;
    *version = header.listVersion;
    return *version != 0xFFFFFFFFu ? 1 : 0;
  });
}

int32_t ORVIADIC_API dicGetNewWordTime(const char* path, uint32_t* time) {
  return guarded(0, [&] {
    if (!orvia::platform::isWritable(time, orvia::update::kNewWordTimeSize)) return 0;
    std::memset(time, 0, orvia::update::kNewWordTimeSize);
    NewWordFileHeader header;
    if (!readHeader(path, &header)) return 0;
    std::memcpy(time, header.listTime, orvia::update::kNewWordTimeSize);
    return 1;
  });
}

int32_t ORVIADIC_API dicGetCurrentNewWordVersion(uint32_t dictId, uint32_t* version) {
  return guarded(0, [&] {
    if (!orvia::platform::isWritable(version, sizeof *version)) return 0;
    *version = 0;
    return orvia::dict::readNewWordVersion(dictId, version);
  });
}

int32_t ORVIADIC_API dicGetCurrentNewWordTime(uint32_t dictId, uint32_t* time) {
  return guarded(0, [&] {
    if (!orvia::platform::isWritable(time, orvia::update::kNewWordTimeSize)) return 0;
    std::memset(time, 0, orvia::update::kNewWordTimeSize);
    return orvia::dict::readNewWordTime(dictId, reinterpret_cast<uint8_t*>(time));
  });
}

int32_t ORVIADIC_API dicGetNewWordListPath(uint32_t dictId, char* buffer, uint32_t size) {
  return guarded(0, [&] {
    if (size == 0 || !orvia::platform::isWritable(buffer, size)) return 0;
    buffer[0] = '\0';
    return orvia::update::findNewWordList(dictId, buffer, size).ok() ? 1 : 0;
  });
}

}  // extern "C"
