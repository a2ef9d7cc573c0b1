// Why an operation below the exports failed. The exports fold every failure to 0 or a
// null handle; inside, results keep their cause so that the tool and the tests can say
// what went wrong without retracing the library's steps.
#pragma once

#include <cstdint>

namespace orvia {

enum class Cause : uint8_t {
  kOk,
  kInvalidId,      // a dictionary id with a zero among its three low bytes
  kNotConfigured,  // no registry value gives the folder of the dictionary's files
  kFileMissing,    // the file the registry points to is not there
  kNotAnIndex,     // the record store refuses the index file
  kEmpty,          // the index holds no record (or none at the place asked for)
  kStoreFailed,    // the record store refused a call: a seek, a step, a read, a close
  kReadFailed,     // a file could not be opened or read
  kDamaged,        // bytes that contradict their format, at offset
  kTruncated,      // the data ends before what its header promises, at offset
  kNoRoom,         // the caller's buffer cannot hold the result
  kOutOfMemory,    // an allocation failed, or the process heap cannot be had
  kWriteFailed,    // a file could not be written
  kExists,         // the dictionary already has the word
  kNoUsableKey,    // a word that makes no usable search key
  kOwnWord,        // a word of the dictionary's own, which the user's edits never remove
  kStopped,        // the caller's callback asked to stop
};

// A cause and, for kDamaged and kTruncated, the offset in the file or record where the
// reader stopped. Cheap to copy; kOk carries nothing.
class Status {
 public:
  constexpr Status() = default;
  constexpr Status(Cause cause, uint32_t offset = 0) : cause_(cause), offset_(offset) {}

  constexpr bool ok() const { return cause_ == Cause::kOk; }
  constexpr Cause cause() const { return cause_; }
  constexpr uint32_t offset() const { return offset_; }

 private:
  Cause cause_ = Cause::kOk;
  uint32_t offset_ = 0;
};

}  // namespace orvia
