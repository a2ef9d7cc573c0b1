#include "update/newword_extract.h"

#include "dict/config.h"
#include "dict/dict_id.h"
#include "update/copy_file_range.h"
#include "update/newword_file.h"

namespace orvia::update {
namespace {

// Writes [offset, offset + length) of file to the companion's file with extension.
Status writeImage(content::FileHandle file, uint32_t companion, const char* extension,
                  uint32_t offset, uint32_t length) {
  char name[dict::kFileNameBufferSize];
  char path[dict::kMaxPath];
  dict::buildDictFileName(companion, name, extension);
  if (dict::resolveDictFilePath(companion, path, sizeof path, name) == 0) {
    return Status(Cause::kNotConfigured);
  }
  content::FileHandle image = content::createFileReadWrite(path);
  if (image == content::kInvalidFile) return Status(Cause::kReadFailed);
  const uint32_t copied = copyFileRange(image, file, offset, length);
  content::closeFile(image);
  return copied != 0 ? Status() : Status(Cause::kTruncated, offset);
}

}  // namespace

Status extractNewWordFile(content::FileHandle file) {
  NewWordFileHeader header;
  if (readNewWordHeader(file, &header) == 0) return Status(Cause::kReadFailed);
  const uint32_t companion = dict::newWordDictId(header.targetDictId);
  Status index = writeImage(file, companion, ".IDX", header.headerSize, header.indexImageSize);
  if (!index.ok()) return index;
  return writeImage(file, companion, ".DAT", header.headerSize + header.indexImageSize,
                    header.contentImageSize);
}

}  // namespace orvia::update
