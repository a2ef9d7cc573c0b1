// The content codecs on in-memory record bodies against zlib's inflate of the same texts,
// compressed record by record, in output bytes per second. Texts: the entries of GCIDE's
// dictd file when installed, else a generated English-like text cut into entries.
// Bars: LZW >= 0.7x inflate, Huffman >= 0.5x inflate, unmasking >= 0.5x memcpy.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include <vector>
#include "support/ratio_reporter.h"

#include "compile/content/content_record_encoder.h"
#include "compile/content/huffman_encoder.h"
#include "content/huffman_decoder.h"
#include "content/lzw_decoder.h"
#include "content/unmask.h"

namespace {

using namespace orvia;

constexpr char kDictFile[] = "/usr/share/dictd/gcide.dict.dz";
constexpr char kIndexFile[] = "/usr/share/dictd/gcide.index";
constexpr size_t kMaxEntries = 40000;

uint64_t base64Number(const std::string& s) {
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  uint64_t v = 0;
  for (char c : s) v = v * 64 + kDigits.find(c);
  return v;
}

std::string gcideText() {
  gzFile in = gzopen(kDictFile, "rb");
  if (in == nullptr) return "";
  std::string all;
  char buffer[1 << 16];
  int n;
  while ((n = gzread(in, buffer, sizeof buffer)) > 0) all.append(buffer, size_t(n));
  gzclose(in);
  return all;
}

// Entries as content texts: CR LF lines, the "~!" end marker on its own line.
std::vector<std::string> loadEntries() {
  std::vector<std::string> raw;
  std::string all = gcideText();
  std::ifstream index(kIndexFile);
  std::string line;
  while (!all.empty() && raw.size() < kMaxEntries && std::getline(index, line)) {
    std::istringstream fields(line);
    std::string word, offset, length;
    std::getline(fields, word, '\t');
    std::getline(fields, offset, '\t');
    std::getline(fields, length, '\t');
    uint64_t at = base64Number(offset), count = base64Number(length);
    if (word.rfind("00-", 0) == 0 || at + count > all.size()) continue;
    raw.push_back(all.substr(at, count));
  }
  if (raw.empty()) {
    std::mt19937 rng(1);
    static const char* kWords[] = {"the",   "of", "a",  "word", "meaning", "used", "in",
                                   "sense", "as", "to", "old",  "form",    "see",  "noun"};
    for (int e = 0; e < 20000; ++e) {
      std::string t;
      for (int w = 20 + rng() % 200; w > 0; --w)
        t += std::string(kWords[rng() % 14]) + (rng() % 12 ? " " : ".\n");
      raw.push_back(t);
    }
  }
  std::vector<std::string> texts;
  for (const auto& r : raw) {
    std::string t;
    for (char c : r) t += c == '\n' ? std::string("\r\n") : std::string(1, c == '~' ? '-' : c);
    texts.push_back(t + "\r\n~!");
  }
  return texts;
}

struct Corpus {
  std::vector<std::string> texts;
  std::vector<std::vector<uint8_t>> lzw1, lzw64, huffman, masked, deflated;
  content::HuffmanDecoder decoder;
  size_t totalBytes = 0;
  size_t longest = 0;

  Corpus() {
    texts = loadEntries();
    compile::HuffmanStatistics stats;
    for (const auto& t : texts)
      stats.add(reinterpret_cast<const uint8_t*>(t.data()), uint32_t(t.size()));
    compile::HuffmanEncoder encoder(stats);
    content::HuffmanTrees trees;
    for (uint32_t i = 0; i < 3; ++i) {
      trees.tree[i] = encoder.treeBytes(i).data();
      trees.size[i] = uint32_t(encoder.treeBytes(i).size());
    }
    decoder.load(trees);
    std::vector<std::string> kept;
    for (const auto& t : texts) {
      const auto* bytes = reinterpret_cast<const uint8_t*>(t.data());
      const uint32_t size = uint32_t(t.size());
      std::vector<uint8_t> r1, r64, rh, rm;
      compile::RecordEncoding e;
      e.huffman = &encoder;
      e.type = content::kLzwContent;
      bool ok = compile::encodeContentRecord(e, bytes, size, &r1);
      e.type = content::kLzwSizedContent;
      ok = ok && compile::encodeContentRecord(e, bytes, size, &r64);
      e.type = content::kHuffmanContent;
      ok = ok && compile::encodeContentRecord(e, bytes, size, &rh);
      e.type = content::kMaskedContent;
      ok = ok && compile::encodeContentRecord(e, bytes, size, &rm);
      if (!ok) continue;
      // Bodies only, as the codec functions take them.
      lzw1.emplace_back(r1.begin() + 8, r1.end());
      lzw64.emplace_back(r64.begin() + 12, r64.end());
      huffman.emplace_back(rh.begin() + 8, rh.end());
      masked.emplace_back(rm.begin() + 8, rm.end());
      uLongf bound = compressBound(size);
      std::vector<uint8_t> z(bound);
      compress2(z.data(), &bound, bytes, size, Z_DEFAULT_COMPRESSION);
      z.resize(bound);
      deflated.push_back(std::move(z));
      kept.push_back(t);
      totalBytes += t.size();
      if (t.size() > longest) longest = t.size();
    }
    texts = std::move(kept);
  }
};

const Corpus& corpus() {
  static Corpus c;
  return c;
}

void finish(benchmark::State& state, const Corpus& c) {
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(c.totalBytes));
  state.counters["records"] = double(c.texts.size());
}

void BM_Inflate(benchmark::State& state) {
  const Corpus& c = corpus();
  std::vector<uint8_t> out(c.longest + 1);
  z_stream z{};
  inflateInit(&z);
  for (auto _ : state) {
    for (const auto& d : c.deflated) {
      inflateReset(&z);
      z.next_in = const_cast<Bytef*>(d.data());
      z.avail_in = uInt(d.size());
      z.next_out = out.data();
      z.avail_out = uInt(out.size());
      inflate(&z, Z_FINISH);
      benchmark::DoNotOptimize(out.data());
    }
  }
  inflateEnd(&z);
  finish(state, c);
}

void BM_LzwType1(benchmark::State& state) {
  const Corpus& c = corpus();
  std::vector<uint8_t> out(c.longest + 1);
  for (auto _ : state) {
    for (const auto& b : c.lzw1) {
      benchmark::DoNotOptimize(
          content::lzwType1Decode(b.data(), uint32_t(b.size()), out.data(), uint32_t(out.size())));
    }
  }
  finish(state, c);
}

void BM_LzwType64(benchmark::State& state) {
  const Corpus& c = corpus();
  std::vector<uint8_t> out(c.longest + 1);
  for (auto _ : state) {
    for (const auto& b : c.lzw64) {
      benchmark::DoNotOptimize(
          content::lzwType64Decode(b.data(), uint32_t(b.size()), out.data(), uint32_t(out.size())));
    }
  }
  finish(state, c);
}

void BM_Huffman(benchmark::State& state) {
  const Corpus& c = corpus();
  std::vector<uint8_t> out(c.longest + 1);
  for (auto _ : state) {
    for (const auto& b : c.huffman) {
      benchmark::DoNotOptimize(
          c.decoder.decode(b.data(), uint32_t(b.size()), out.data(), uint32_t(out.size())));
    }
  }
  finish(state, c);
}

void BM_Memcpy(benchmark::State& state) {
  const Corpus& c = corpus();
  std::vector<uint8_t> out(c.longest + 1);
  for (auto _ : state) {
    for (const auto& t : c.texts) {
      std::memcpy(out.data(), t.data(), t.size());
      out[t.size()] = 0;
      benchmark::DoNotOptimize(out.data());
    }
  }
  finish(state, c);
}

void BM_Unmask(benchmark::State& state) {
  const Corpus& c = corpus();
  std::vector<uint8_t> out(c.longest + 1);
  for (auto _ : state) {
    for (const auto& b : c.masked) {
      content::unmaskType2(b.data(), out.data(), uint32_t(b.size() - 4));
      benchmark::DoNotOptimize(out.data());
    }
  }
  finish(state, c);
}

BENCHMARK(BM_Inflate);
BENCHMARK(BM_LzwType1);
BENCHMARK(BM_LzwType64);
BENCHMARK(BM_Huffman);
BENCHMARK(BM_Memcpy);
BENCHMARK(BM_Unmask);

}  // namespace

int main(int argc, char** argv) {
  std::printf("%zu records, %zu bytes of text\n", corpus().texts.size(), corpus().totalBytes);
  orvia::bench::RatioReporter reporter;
  reporter.speedAtLeast("BM_LzwType1", "BM_Inflate", 0.7);
  reporter.speedAtLeast("BM_LzwType64", "BM_Inflate", 0.7);
  reporter.speedAtLeast("BM_Huffman", "BM_Inflate", 0.5);
  reporter.speedAtLeast("BM_Unmask", "BM_Memcpy", 0.5);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
