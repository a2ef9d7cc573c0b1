// Why a dictionary could not be opened or read, in one line for a person. The shipped
// library never says why; the tool, which links the dictionary layer itself, asks here.
#pragma once

#include <cstdint>
#include <string>

#include "base/result.h"

namespace orvia::dict {

// Opens id on a temporary handle, closes it again, and gives the cause of the failure
// (kOk when it opens now).
Status probeOpen(uint32_t id);

// "0x00010101: the index /d/00010101.IDX is damaged at offset 812: ..." for a failure
// of dictionary id. A store's refusal is explained by checking the index file through
// the store, which names the first inconsistency and its offset.
std::string describeFailure(uint32_t id, Status status);

// The cause alone, as a phrase ("damaged data at offset 812"), for a failure the caller
// places itself (an entry's content, say).
std::string describeCause(Status status);

}  // namespace orvia::dict
