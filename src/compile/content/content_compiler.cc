#include "compile/content/content_compiler.h"

#include "db/crc32c.h"

#include "compile/content/entry_text.h"
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

const uint8_t* bytesOf(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

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
  if (const char* codePage = text::codePageName(lang::languageOf(dictId)))
    converter_.emplace(codePage);
}

bool ContentCompiler::needsStatistics() const {
  if (options_.standalone) return false;
  return encoding_ == EntryEncoding::kSmallest || encoding_ == EntryEncoding::kHuffman ||
         encoding_ == EntryEncoding::kComposite;
}

bool ContentCompiler::makeText(const SourceEntry& entry) {
  return valid() && makeEntryText(entry.headword, entry.text, *converter_, &text_) &&
         uint64_t(text_.head.size()) + text_.body.size() <= UINT32_MAX;
}

void ContentCompiler::countText(const SourceEntry& entry) {
  if (!makeText(entry)) return;
  // Shared texts are coded once, and heads of their own are never Huffman-coded.
  if (sharing() && ++bodyUses_[std::hash<std::string>{}(text_.body)] > 1) return;
  statistics_.add(bytesOf(text_.head), uint32_t(text_.head.size()));
  statistics_.add(bytesOf(text_.body), uint32_t(text_.body.size()));
}

bool ContentCompiler::create(const std::string& path) {
  if (!valid()) return false;
  if (needsStatistics()) huffman_ = std::make_unique<HuffmanEncoder>(statistics_);
  return writer_.create(path, huffman_.get(), options_);
}

bool ContentCompiler::prepare(const SourceEntry& entry, uint32_t* offset) {
  if (!makeText(entry)) return false;
  *offset = writer_.nextOffset();
  plan_ = Plan::kWhole;
  written_ = nullptr;
  if (!sharing()) return true;
  const auto uses = bodyUses_.find(std::hash<std::string>{}(text_.body));
  if (uses == bodyUses_.end() || uses->second < 2) return true;
  written_ = &writtenTexts_.try_emplace(text_.body).first->second;
  if (!text_.head.empty()) {
    plan_ = written_->continuation ? Plan::kHeadOnto : Plan::kHeadAndBody;
  } else if (written_->entryOffset) {
    plan_ = Plan::kReuse;
    *offset = *written_->entryOffset;
  }
  return true;
}

bool ContentCompiler::write(uint32_t* offset) {
  if (!writeRecords(offset)) return false;
  checksums_.add(*offset, db::crc32c(bytesOf(text_.body), text_.body.size(),
                                     db::crc32c(bytesOf(text_.head), text_.head.size())));
  return true;
}

bool ContentCompiler::writeRecords(uint32_t* offset) {
  const uint32_t headSize = uint32_t(text_.head.size());
  const uint32_t bodySize = uint32_t(text_.body.size());
  textBytes_ += headSize + bodySize;
  switch (plan_) {
    case Plan::kReuse:
      ++sharingEntries_;
      *offset = *written_->entryOffset;
      return true;
    case Plan::kHeadOnto:
      ++sharingEntries_;
      return writer_.addEntryHead(bytesOf(text_.head), headSize, encoding_, *written_->continuation,
                                  offset);
    case Plan::kHeadAndBody: {
      RecordPlace body;
      if (!writer_.addEntryWithBody(bytesOf(text_.head), headSize, bytesOf(text_.body), bodySize,
                                    encoding_, offset, &body))
        return false;
      written_->continuation = body;
      if (body.file == 0) written_->entryOffset = body.offset;
      return true;
    }
    case Plan::kWhole:
      break;
  }
  if (written_ == nullptr) {
    whole_ = text_.head + text_.body;
    return writer_.addEntry(bytesOf(whole_), uint32_t(whole_.size()), encoding_, offset);
  }
  if (!writer_.addEntry(bytesOf(text_.body), bodySize, encoding_, offset)) return false;
  written_->entryOffset = *offset;
  if (writer_.reachable({0, *offset})) written_->continuation = RecordPlace{0, *offset};
  return true;
}

bool ContentCompiler::finish() {
  return writer_.finish();
}

}  // namespace orvia::compile
