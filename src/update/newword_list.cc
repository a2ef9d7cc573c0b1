#include "update/newword_list.h"

#include "dict/config.h"
#include "dict/dict_id.h"
#include "platform/file.h"
#include "update/newword_format.h"

namespace orvia::update {

Status findNewWordList(uint32_t id, char* buffer, uint32_t size) {
  if (!isFullDictId(id)) return Status(Cause::kInvalidId);
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(id, name, ".NEW");
  if (dict::resolveDictFilePath(id, buffer, size, name) == 0) return Status(Cause::kNotConfigured);
  if (platform::fileExists(buffer)) return Status();
  buffer[0] = '\0';
  return Status(Cause::kFileMissing);
}

}  // namespace orvia::update
