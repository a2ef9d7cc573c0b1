#include "compile/newword_writer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "compile/compile_entries.h"
#include "compile/content/content_compiler.h"
#include "compile/index/index_writer.h"
#include "platform/file.h"
#include "update/newword_format.h"

namespace orvia::compile {
namespace {

namespace fs = std::filesystem;

bool readWhole(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad() && fs::exists(path);
}

// Writes beside path and renames, so a reader never meets half a file.
bool writeWhole(const std::string& path, const std::string& head, const std::string& index,
                const std::string& content) {
  const std::string partial = path + ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << head << index << content;
    if (!out.flush()) return false;
  }
  if (platform::replaceFile(partial.c_str(), path.c_str())) return true;
  std::error_code ignored;
  fs::remove(partial, ignored);
  return false;
}

// The two images, compiled into files beside path that are gone when this returns.
bool compileImages(const SourceOpener& open, const NewWordFileOptions& options,
                   WrittenNewWordFile* out, std::string* indexImage, std::string* contentImage,
                   std::string* problem) {
  const uint32_t target = options.targetDictId;
  IndexCompiler compiler(target);
  DataFileOptions standalone;
  standalone.standalone = true;
  ContentCompiler content(target, options.encoding, standalone);
  if (!compiler.valid() || !content.valid()) {
    *problem = "the dictionary's language has no code page";
    return false;
  }
  const std::string dataPath = options.path + ".dat";
  if (!content.create(dataPath)) {
    *problem = "cannot create " + dataPath + ".part: " + std::strerror(errno);
    return false;
  }
  std::unique_ptr<EntrySource> source = open(problem);
  bool ok = source != nullptr && addAllEntries(*source, compiler, content, nullptr, problem);
  if (!content.finish() && ok) {
    *problem = "cannot complete " + dataPath + ".part";
    ok = false;
  }
  out->entries = compiler.entriesSeen();
  out->index = compiler.finish();
  out->data = content.tally();
  const std::string indexPath = options.path + ".idx.part";
  ok = ok && bulkLoadIndex(indexPath, target, out->index, problem);
  if (ok && !(readWhole(indexPath, indexImage) && readWhole(dataPath + ".part", contentImage))) {
    *problem = "cannot read the images back";
    ok = false;
  }
  std::error_code ignored;
  fs::remove(indexPath, ignored);
  return ok;
}

}  // namespace

bool writeNewWordFile(const SourceOpener& open, const NewWordFileOptions& options,
                      WrittenNewWordFile* out, std::string* problem) {
  if (!update::isNewWordTarget(options.targetDictId)) {
    *problem = "not a new-word target: every byte non-zero, kind neither 0x7F nor 0xFF";
    return false;
  }
  if (options.listVersion > update::kMaxListVersion) {
    *problem = "the version is above 255";
    return false;
  }
  std::string indexImage, contentImage;
  if (!compileImages(open, options, out, &indexImage, &contentImage, problem)) return false;
  if (uint64_t(indexImage.size()) + contentImage.size() + update::kNewWordHeaderSize > UINT32_MAX) {
    *problem = "the images pass 4 GiB";
    return false;
  }
  update::NewWordFileHeader header;
  header.targetDictId = options.targetDictId;
  header.listVersion = options.listVersion;
  std::copy(options.listTime, options.listTime + update::kNewWordTimeSize, header.listTime);
  header.headerSize = update::kNewWordHeaderSize;
  header.indexImageSize = out->indexImageSize = uint32_t(indexImage.size());
  header.contentImageSize = out->contentImageSize = uint32_t(contentImage.size());
  header.imagesSize = header.indexImageSize + header.contentImageSize;
  uint8_t head[update::kNewWordHeaderSize];
  update::encodeNewWordHeader(header, head);
  if (!writeWhole(options.path, std::string(head, head + sizeof head), indexImage, contentImage)) {
    *problem = "cannot write " + options.path;
    return false;
  }
  return true;
}

}  // namespace orvia::compile
