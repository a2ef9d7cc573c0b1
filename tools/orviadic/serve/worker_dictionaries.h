// One worker's handles on the databases. Calls on the handles of one HDICT must not
// overlap, so each worker thread opens its own, on first use, and keeps it until it ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "open_dictionary.h"
#include "serve/catalogue.h"

namespace orviadic::serve {

class WorkerDictionaries {
 public:
  explicit WorkerDictionaries(const Catalogue& catalogue)
      : catalogue_(catalogue), open_(catalogue.databases().size()) {}

  // The open dictionary of the database at index; null, with the reason in *problem,
  // when the library cannot open it now.
  const OpenDictionary* get(size_t index, std::string* problem);

 private:
  const Catalogue& catalogue_;
  std::vector<std::unique_ptr<OpenDictionary>> open_;
};

}  // namespace orviadic::serve
