#include <map>
#include <mutex>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

// Window values and their sinks; a program registers few, so a locked map serves.
struct SinkTable {
  std::mutex lock;
  std::map<uint32_t, MessageSink> sinks;
};

SinkTable& sinkTable() {
  static SinkTable* table = new SinkTable;  // never destroyed: sends may come at exit
  return *table;
}

}  // namespace

intptr_t sendMessage(uint32_t window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  MessageSink sink = nullptr;
  {
    SinkTable& table = sinkTable();
    std::lock_guard<std::mutex> held(table.lock);
    auto found = table.sinks.find(window);
    if (found != table.sinks.end()) sink = found->second;
  }
  // Called outside the lock, so that a sink may register or send in turn.
  return sink != nullptr ? sink(window, message, wparam, lparam) : 0;
}

bool registerMessageSink(uint32_t window, MessageSink sink) {
  SinkTable& table = sinkTable();
  std::lock_guard<std::mutex> held(table.lock);
  if (sink == nullptr)
    table.sinks.erase(window);
  else
    table.sinks[window] = sink;
  return true;
}

}  // namespace orvia::platform
