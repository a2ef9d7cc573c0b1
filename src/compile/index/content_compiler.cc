#include "compile/index/content_compiler.h"

#include "compile/index/entry_text.h"
#include "content/content_format.h"
#include "lang/lang_ops.h"

namespace orvia::compile {
namespace {

struct EncodingName {
  const char* name;
  EntryEncoding encoding;
};
constexpr EncodingName kEncodingNames[] = {
    {"auto", EntryEncoding::kSmallest}, {"stored", EntryEncoding::kStored},
    {"lzw", EntryEncoding::kLzw},       {"lzw64", EntryEncoding::kLzwSized},
    {"masked", EntryEncoding::kMasked}, {"huffman", EntryEncoding::kHuffman},
};

}  // namespace

std::optional<EntryEncoding> encodingNamed(const std::string& name) {
  for (const EncodingName& e : kEncodingNames)
    if (name == e.name) return e.encoding;
  return std::nullopt;
}

const char* contentTypeName(uint8_t type) {
  switch (type) {
    case content::kStoredContent:
      return "stored";
    case content::kLzwContent:
      return "lzw";
    case content::kMaskedContent:
      return "masked";
    case content::kHuffmanContent:
      return "huffman";
    case content::kLzwSizedContent:
      return "lzw64";
    case content::kCompositeContent:
      return "composite";
    default:
      return nullptr;
  }
}

ContentCompiler::ContentCompiler(uint32_t dictId, EntryEncoding encoding, DataFileOptions options)
    : encoding_(encoding), options_(options) {
  options_.dictId = dictId;
  if (const char* codePage = codePageName(lang::languageOf(dictId))) converter_.emplace(codePage);
}

bool ContentCompiler::needsStatistics() const {
  return encoding_ == EntryEncoding::kSmallest || encoding_ == EntryEncoding::kHuffman ||
         encoding_ == EntryEncoding::kComposite;
}

const std::string& ContentCompiler::textOf(const SourceEntry& entry) {
  if (!valid() || !makeEntryText(entry.headword, entry.text, *converter_, &text_)) text_.clear();
  return text_;
}

void ContentCompiler::countText(const SourceEntry& entry) {
  const std::string& text = textOf(entry);
  statistics_.add(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()));
}

bool ContentCompiler::create(const std::string& path) {
  if (!valid()) return false;
  if (needsStatistics()) huffman_ = std::make_unique<HuffmanEncoder>(statistics_);
  return writer_.create(path, huffman_.get(), options_);
}

bool ContentCompiler::add(const SourceEntry& entry, uint32_t* offset) {
  const std::string& text = textOf(entry);
  if (text.empty() || text.size() > UINT32_MAX) return false;
  textBytes_ += text.size();
  return writer_.addEntry(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()),
                          encoding_, offset);
}

bool ContentCompiler::finish() {
  return writer_.finish();
}

}  // namespace orvia::compile
