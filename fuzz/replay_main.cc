// Runs a fuzz target's entry point over every file of a corpus folder (or over the files
// named), so the seed corpus is exercised in every build, fuzzer or not.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  std::error_code notAFolder;  // a file named alone: the loop below takes nothing
  for (int i = 1; i < argc; ++i) {
    if (!std::filesystem::is_directory(argv[i])) inputs.push_back(argv[i]);
    for (const auto& entry : std::filesystem::directory_iterator(argv[i], notAFolder))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
