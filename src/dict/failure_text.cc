#include "dict/failure_text.h"

#include "dict/config.h"
#include "dict/dict_id.h"
#include "dict/dictionary.h"
#include "lang/lang_ops.h"

namespace orvia::dict {
namespace {

std::string indexPath(uint32_t id) {
  char path[kMaxPath];
  return resolveIndexPath(id, path) != 0 ? path : "";
}

std::string hex(uint32_t value) {
  char digits[9];
  formatDictIdHex(value, digits);
  return digits;
}

// The store's own account of an index it refuses to open.
std::string refusal(uint32_t id, const std::string& path) {
  char report[256];
  if (dbVerify(path.c_str(), lang::languageOps(lang::languageOf(id)).compareKeys, report,
               sizeof report) != 0)
    return "the record store cannot open the index " + path;
  return "the index " + path + " is damaged at " + report;
}

}  // namespace

Status probeOpen(uint32_t id) {
  HDICT temporary{0, nullptr};
  Status status = openDictionary(&temporary, id);
  closeDictionary(&temporary);
  return status;
}

std::string describeFailure(uint32_t id, Status status) {
  const std::string prefix = "0x" + hex(id) + ": ";
  switch (status.cause()) {
    case Cause::kInvalidId:
      return "0x" + hex(id) +
             " is not a valid dictionary id (its three low bytes must be non-zero)";
    case Cause::kNotConfigured:
      return prefix + "no usable registry value " + hex(id) + "Path, its base's Path or PATH";
    case Cause::kFileMissing:
      return prefix + "no index file " + indexPath(id);
    case Cause::kNotAnIndex:
      return prefix + refusal(id, indexPath(id));
    case Cause::kEmpty:
      return prefix + "the dictionary has no records";
    case Cause::kStoreFailed:
      return prefix + "the record store failed to read the index " + indexPath(id);
    default:
      return prefix + describeCause(status);
  }
}

std::string describeCause(Status status) {
  const std::string at = " at offset " + std::to_string(status.offset());
  switch (status.cause()) {
    case Cause::kOk:
      return "no failure";
    case Cause::kInvalidId:
      return "a dictionary id that does not apply";
    case Cause::kNotConfigured:
      return "no registry value for the folder of its files";
    case Cause::kFileMissing:
      return "a missing file";
    case Cause::kNotAnIndex:
      return "an index the record store refuses";
    case Cause::kEmpty:
      return "no record for it";
    case Cause::kStoreFailed:
      return "a read the record store refused";
    case Cause::kReadFailed:
      return "a file that cannot be opened or read";
    case Cause::kDamaged:
      return "damaged data" + at;
    case Cause::kTruncated:
      return "data that ends early" + at;
    case Cause::kNoRoom:
      return "more text than the buffer holds";
    case Cause::kOutOfMemory:
      return "out of memory";
    case Cause::kWriteFailed:
      return "a file that cannot be written";
    case Cause::kExists:
      return "a word the dictionary already has";
    case Cause::kNoUsableKey:
      return "a word that makes no usable search key";
    case Cause::kOwnWord:
      return "one of the dictionary's own words, not one the user added";
    case Cause::kStopped:
      return "stopped by the caller";
  }
  return "an unknown failure";
}

}  // namespace orvia::dict
