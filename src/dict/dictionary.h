// Open dictionaries: the handle over an index database, and its opening and closing.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/handles.h"

namespace orvia::dict {

// The full path of id's index file, from the registry as it is now; 0 when no registry
// value gives a usable folder. REQUIRES: out holds kMaxPath bytes.
int resolveIndexPath(uint32_t id, char* out);

// Opens id's index into target with its language's collation. target->dictId is set
// before id is checked; target->db is left alone when id is invalid. Fails with
// kInvalidId, kNotConfigured (no registry value gives a usable folder), kFileMissing or
// kNotAnIndex (the store refused the file).
Status openDictionary(HDICT* target, uint32_t id);
// kOk when closed or already closed; kStoreFailed when the store refused (db keeps its
// value).
Status closeDictionary(HDICT* dict);

// A new process-heap handle open on id; *out is set only on success.
// REQUIRES: isValidDictId(id).
Status createDictionary(uint32_t id, HDICT** out);
// Closes and frees; on failure the handle stays open and allocated.
Status freeDictionary(HDICT* dict);

}  // namespace orvia::dict
