#include "serve/worker_dictionaries.h"

#include "conventions.h"

namespace orviadic::serve {

const OpenDictionary* WorkerDictionaries::get(size_t index, std::string* problem) {
  if (!open_[index]) {
    try {
      open_[index] = std::make_unique<OpenDictionary>(catalogue_.databases()[index].dictId);
    } catch (const CommandFailure& failure) {
      // Tried again at the next request: the files may be back by then.
      *problem = failure.reason;
      return nullptr;
    }
  }
  return open_[index].get();
}

}  // namespace orviadic::serve
