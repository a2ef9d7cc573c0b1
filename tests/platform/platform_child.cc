// The other process of the two-process tests of the platform contract and the store:
//   hold-mutex NAME DIR            takes the named mutex, creates DIR/acquired, waits for
//                                  DIR/proceed, creates DIR/releasing and lets go
//   abandon-mutex NAME             takes the named mutex and exits holding it
//   set-values ROOT KEY PREFIX N   sets the dword values PREFIX0..PREFIXn-1 to 0..n-1
//   store-calls INDEX CALL...      on the index: +KEY=REF inserts, -N deletes, c compacts
//   model-writer INDEX ACKS ROUND  takes the store model's steps of ROUND from the index's
//                                  records until killed, adding "+" to ACKS after each one
//                                  and "x" when one fails
#include <cstdlib>
#include <string>

#include "db/store_model.h"
#include "platform/file.h"
#include "platform/platform.h"
#include "support/child_process.h"

namespace {

using namespace orvia::platform;
using namespace orvia::testing;

int holdMutex(const char* name, const std::string& signals) {
  MutexHandle mutex = openOrCreateMutex(name);
  if (mutex == nullptr) return 2;
  waitMutex(mutex);
  if (signals.empty()) std::_Exit(0);  // holding it, and past the leak check
  writeFileBytes(signals + "/acquired", "");
  waitUntil([&] { return fileExists((signals + "/proceed").c_str()); });
  writeFileBytes(signals + "/releasing", "");
  releaseMutex(mutex);
  closeMutex(mutex);
  return 0;
}

int setValues(const char* root, const char* path, const std::string& prefix, int count) {
  for (int i = 0; i < count; ++i) {
    RegKey key = regOpenKey(RegRoot(std::strtoul(root, nullptr, 10)), path, RegAccess::kWrite);
    const uint32_t value = uint32_t(i);
    const bool ok = regSetValue(key, (prefix + std::to_string(i)).c_str(), kRegDword, &value, 4);
    regCloseKey(key);
    if (!ok) return 3;
  }
  return 0;
}

bool storeCall(DBHANDLE h, const std::string& call) {
  if (call == "c") return dbCompact(h) == 1;
  if (call[0] == '-') return dbDelete(h, uint32_t(std::stoul(call.substr(1)))) == 1;
  const size_t equals = call.find('=');
  return insertArea(h, area(call.substr(1, equals - 1)),
                    uint32_t(std::stoul(call.substr(equals + 1))));
}

int storeCalls(const char* path, const std::vector<std::string>& calls) {
  DBHANDLE h = dbOpen(path, foldCompare);
  if (h == nullptr) return 2;
  for (const std::string& call : calls) {
    if (!storeCall(h, call)) return 3;
  }
  return dbClose(h) == 1 ? 0 : 4;
}

// Every other round compacts often, so that kills land inside compactions too.
int modelWriter(const std::string& path, const char* acks, uint32_t round) {
  orvia::db::OpenOptions options;
  if (round % 2 == 1) options.compactMinLogBytes = 1024;
  orvia::db::StoreModel model(foldCompare);
  std::FILE* out = std::fopen(acks, "wb");
  model.load(path);
  model.open(path, options);
  for (std::mt19937 rng(round + 1); !::testing::Test::HasFailure(); std::fflush(out)) {
    model.step(rng);
    if (!::testing::Test::HasFailure()) std::fputc('+', out);
  }
  std::fputc('x', out);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "hold-mutex" && argc == 4) return holdMutex(argv[2], argv[3]);
  if (command == "abandon-mutex" && argc == 3) return holdMutex(argv[2], "");
  if (command == "set-values" && argc == 6)
    return setValues(argv[2], argv[3], argv[4], std::atoi(argv[5]));
  if (command == "store-calls" && argc > 3)
    return storeCalls(argv[2], std::vector<std::string>(argv + 3, argv + argc));
  if (command == "model-writer" && argc == 5)
    return modelWriter(argv[2], argv[3], uint32_t(std::atoi(argv[4])));
  return 2;
}
