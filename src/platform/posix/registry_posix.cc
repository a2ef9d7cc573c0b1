// The registry on POSIX: one text hive per root key in a folder of its own. Reads see
// every change any process made before the key was opened (a hive is parsed again
// whenever its file changed); writes replace the file atomically under a lock file
// beside it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "platform/file.h"
#include "platform/platform.h"
#include "platform/posix/registry_hives.h"
#include "platform/posix/registry_text.h"

namespace orvia::platform {

struct PlatformRegKey {
  RegRoot root;
  std::string path;  // the key's full path in its hive
  RegAccess access;
  std::shared_ptr<const regtext::Hive> hive;  // as it was when the key was opened
};
namespace {

const char* rootName(RegRoot root) {
  switch (root) {
    case 0x80000000u:
      return "HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser:
      return "HKEY_CURRENT_USER";
    case kHkeyLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case 0x80000003u:
      return "HKEY_USERS";
    case 0x80000005u:
      return "HKEY_CURRENT_CONFIG";
    default:
      return nullptr;
  }
}

std::string registryFolder() {
  if (const char* dir = std::getenv("ORVIADIC_REGISTRY_DIR"); dir != nullptr && *dir != '\0')
    return dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
    return std::string(xdg) + "/orviadic/registry";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + "/.config/orviadic/registry";
}

std::string hivePath(RegRoot root) {
  return registryFolder() + "/" + rootName(root) + ".reg";
}

bool readWholeFile(const std::string& path, std::string* out) {
  auto file = openFile(path.c_str(), FileMode::kRead);
  uint64_t size = 0;
  if (!file || !file->size(&size) || size > (64u << 20)) return false;
  out->assign(size_t(size), '\0');
  size_t got = 0;
  return file->readAt(0, out->data(), out->size(), &got) && got == out->size();
}

// Size, modification time and identity of a hive file, for cheap change detection.
struct HiveStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t mtimeNanos = 0;
  bool operator==(const HiveStamp& o) const {
    return device == o.device && inode == o.inode && size == o.size && mtimeNanos == o.mtimeNanos;
  }
};

bool stampOf(const std::string& path, HiveStamp* out) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  *out = {st.st_dev, st.st_ino, st.st_size,
          int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
  return true;
}

// Parsed hives, kept while their file is unchanged. Built on first use: the library's
// load step reads the registry before other static objects are constructed.
struct CachedHive {
  HiveStamp stamp;
  std::shared_ptr<const regtext::Hive> hive;
};
struct HiveCache {
  std::mutex mutex;
  std::map<std::string, CachedHive> hives;
};
HiveCache& hiveCache() {
  static HiveCache cache;
  return cache;
}

std::shared_ptr<const regtext::Hive> loadHive(RegRoot root) {
  if (rootName(root) == nullptr) return nullptr;
  std::string path = hivePath(root);
  HiveStamp stamp;
  if (!stampOf(path, &stamp)) return nullptr;
  HiveCache& cache = hiveCache();
  {
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto it = cache.hives.find(path);
    if (it != cache.hives.end() && it->second.stamp == stamp) return it->second.hive;
  }
  std::string text;
  if (!readWholeFile(path, &text)) return nullptr;
  auto parsed = regtext::Hive::parse(text);
  if (!parsed) return nullptr;
  auto hive = std::make_shared<const regtext::Hive>(std::move(*parsed));
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.hives[path] = CachedHive{stamp, hive};
  return hive;
}

}  // namespace

std::string fullKeyPath(RegRoot root, const std::string& path) {
  return path.empty() ? std::string(rootName(root)) : std::string(rootName(root)) + "\\" + path;
}

bool rewriteHive(RegRoot root, bool createMissing,
                 const std::function<bool(regtext::Hive&)>& change) {
  if (rootName(root) == nullptr) return false;
  std::string path = hivePath(root);
  if (createMissing) {
    std::error_code ignored;
    std::filesystem::create_directories(registryFolder(), ignored);
  }
  auto lockFile = openFile((path + ".lock").c_str(), FileMode::kCreateReadWrite);
  if (!lockFile || !lockFile->lockExclusive()) return false;
  std::string text;
  std::optional<regtext::Hive> hive;
  if (readWholeFile(path, &text)) {
    hive = regtext::Hive::parse(text);
  } else if (createMissing && !fileExists(path.c_str())) {
    hive = regtext::Hive::empty();
  }
  if (!hive || !change(*hive)) return false;
  std::string temp = path + ".tmp." + std::to_string(getpid());
  auto out = openFile(temp.c_str(), FileMode::kCreateTruncate);
  std::string updated = hive->text();
  bool ok = out && out->writeAt(0, updated.data(), updated.size()) && out->sync();
  out.reset();
  ok = ok && replaceFile(temp.c_str(), path.c_str());
  if (!ok) removeFile(temp.c_str());
  return ok;
}

RegKey regOpenKey(RegRoot root, const char* path, RegAccess access) {
  if (path == nullptr) return nullptr;
  auto hive = loadHive(root);
  if (!hive) return nullptr;
  std::string keyPath = fullKeyPath(root, path);
  if (!hive->keyExists(keyPath)) return nullptr;
  return new (std::nothrow) PlatformRegKey{root, std::move(keyPath), access, std::move(hive)};
}

void regCloseKey(RegKey key) {
  delete key;
}

bool regQueryValue(RegKey key, const char* name, uint32_t* type, void* data, uint32_t* size) {
  if (key == nullptr || key->access != RegAccess::kRead || size == nullptr) return false;
  auto value = key->hive->value(key->path, name != nullptr ? name : "");
  if (!value) return false;
  uint32_t stored = uint32_t(value->data.size());
  if (type != nullptr) *type = value->type;
  if (data != nullptr) {
    if (stored > *size) {
      *size = stored;
      return false;
    }
    std::copy(value->data.begin(), value->data.end(), static_cast<char*>(data));
  }
  *size = stored;
  return true;
}

bool regEnumValue(RegKey key, uint32_t index, char* name, uint32_t nameSize, uint32_t* type,
                  void* data, uint32_t* size) {
  if (key == nullptr || name == nullptr || size == nullptr) return false;
  auto values = key->hive->values(key->path);
  if (index >= values.size()) return false;
  const auto& [valueName, value] = values[index];
  uint32_t stored = uint32_t(value.data.size());
  if (valueName.size() >= nameSize || (data != nullptr && stored > *size)) return false;
  std::copy(valueName.begin(), valueName.end(), name);
  name[valueName.size()] = '\0';
  if (type != nullptr) *type = value.type;
  if (data != nullptr) std::copy(value.data.begin(), value.data.end(), static_cast<char*>(data));
  *size = stored;
  return true;
}

bool regSetValue(RegKey key, const char* name, uint32_t type, const void* data, uint32_t size) {
  if (key == nullptr || key->access != RegAccess::kWrite || (data == nullptr && size != 0))
    return false;
  regtext::Value value{type, std::string(static_cast<const char*>(data), size)};
  return rewriteHive(key->root, false, [&](regtext::Hive& hive) {
    return hive.setValue(key->path, name != nullptr ? name : "", value);
  });
}

}  // namespace orvia::platform
