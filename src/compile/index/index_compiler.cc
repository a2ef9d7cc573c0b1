#include "compile/index/index_compiler.h"

#include <algorithm>

#include "compile/key/index_record_builder.h"
#include "compile/key/merge_sort.h"
#include "compile/key/order_check.h"
#include "dict/dict_id.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"

namespace orvia::compile {

IndexCompiler::IndexCompiler(uint32_t dictId)
    : dictId_(dictId),
      hasVcode_(lang::languageOf(dictId) == 1),
      keys_(lang::languageOf(dictId)),
      compareKeys_(lang::getCompareKeysFn(lang::languageOf(dictId))) {}

bool IndexCompiler::add(const SourceEntry& entry) {
  ++entriesSeen_;
  EntryKey key;
  if (std::optional<SkipReason> reason = keys_.make(entry, &key)) {
    skippedEarly_.push_back({entry.headword, *reason});
    return false;
  }
  Pending p;
  p.searchKey = std::move(key.searchKey);
  p.shown = std::move(key.shown);
  p.displayWord = std::move(key.displayWord);
  if (entry.headword != p.shown) p.sourceHeadword = entry.headword;
  p.level = entry.level;
  p.vcode = entry.vcode;
  p.ordinal = entry.ordinal;
  // A locator that needs more than 24 bits goes behind the strings.
  p.contentRef = entry.contentRef;
  p.extendedRef = entry.extendedRef;
  if (!p.extendedRef && p.contentRef >= dict::kExtendedLocator) p.extendedRef = p.contentRef;
  pending_.push_back(std::move(p));
  return true;
}

void IndexCompiler::addBadSourceRecord(const std::string& where) {
  ++entriesSeen_;
  skippedEarly_.push_back({where, SkipReason::kBadSourceRecord});
}

void IndexCompiler::skip(Pending& entry, SkipReason reason, CompiledIndex* out) {
  entry.dropped = true;
  out->skipped.push_back(
      {entry.sourceHeadword.empty() ? entry.shown : entry.sourceHeadword, reason});
}

IndexRecordFields IndexCompiler::fieldsOf(const Pending& p) const {
  IndexRecordFields fields;
  fields.contentDictId = dictId_;
  fields.contentRef = p.extendedRef ? 0 : p.contentRef;
  fields.level = p.level;
  fields.extendedRef = p.extendedRef;
  if (hasVcode_) fields.vcode = p.vcode.value_or(dict::kDefaultVcode);
  fields.searchKey = p.searchKey;
  if (p.shown != p.searchKey) fields.headword = p.shown;
  fields.displayWord = p.displayWord;
  return fields;
}

void IndexCompiler::numberHomographs(CompiledIndex* out) {
  std::vector<uint32_t> byKey(pending_.size());
  for (uint32_t i = 0; i < byKey.size(); ++i) byKey[i] = i;
  // Byte order is a strict weak order, so the standard sort is safe here; stable keeps
  // the order of adding among equal ordinals.
  std::stable_sort(byKey.begin(), byKey.end(), [this](uint32_t a, uint32_t b) {
    const Pending &x = pending_[a], &y = pending_[b];
    return x.searchKey != y.searchKey ? x.searchKey < y.searchKey : x.ordinal < y.ordinal;
  });
  for (size_t first = 0; first < byKey.size();) {
    size_t end = first + 1;
    while (end < byKey.size() && pending_[byKey[end]].searchKey == pending_[byKey[first]].searchKey)
      ++end;
    if (end - first > 1) {
      ++out->homographRuns;
      for (size_t i = first; i < end; ++i) {
        Pending& p = pending_[byKey[i]];
        p.searchKey += '@' + std::to_string(i - first + 1);
        if (p.searchKey.size() >= kUsableKeyLimit)
          skip(p, SkipReason::kKeyTooLong, out);
        else
          ++out->homographEntries;
      }
    }
    first = end;
  }
}

std::vector<uint32_t> IndexCompiler::sortedAndChecked(CompiledIndex* out) {
  std::vector<uint32_t> order;
  order.reserve(pending_.size());
  for (uint32_t i = 0; i < pending_.size(); ++i)
    if (!pending_[i].dropped) order.push_back(i);
  auto compare = [this](uint32_t a, uint32_t b) {
    return compareKeys_(pending_[a].searchKey.c_str(), pending_[b].searchKey.c_str());
  };
  mergeSort(order, compare);

  auto drop = [&](uint32_t i) { skip(pending_[i], SkipReason::kOutOfOrder, out); };
  return keepOrderedAndFindable(order, compare, drop);
}

void IndexCompiler::buildRecords(const std::vector<uint32_t>& order, CompiledIndex* out) {
  size_t total = 0;
  for (uint32_t i : order) total += indexRecordSize(fieldsOf(pending_[i]));
  out->records.resize(total);
  size_t at = 0;
  for (uint32_t i : order) {
    IndexRecordFields fields = fieldsOf(pending_[i]);
    fields.recordNumber = out->recordCount++;
    at += buildIndexRecord(fields, out->records.data() + at, total - at);
  }
}

CompiledIndex IndexCompiler::finish() {
  CompiledIndex out;
  out.contentName.contentDictId = dictId_;
  dict::buildDictFileName(dictId_, out.contentName.name, ".DAT");
  out.skipped = std::move(skippedEarly_);
  numberHomographs(&out);
  for (Pending& p : pending_)
    if (!p.dropped && indexRecordSize(fieldsOf(p)) == 0) skip(p, SkipReason::kRecordTooLong, &out);
  buildRecords(sortedAndChecked(&out), &out);
  pending_.clear();
  pending_.shrink_to_fit();
  skippedEarly_.clear();
  entriesSeen_ = 0;
  return out;
}

}  // namespace orvia::compile
