// A full check of an index file: every checksum, every record, the log, and the order
// of all records under compare (skipped when compare is null).
#pragma once

#include <string>

#include "db/index_loader.h"
#include "orviadb.h"

namespace orvia::db {

// True when consistent; otherwise *problem names the first inconsistency. A torn tail
// in the log is an interrupted write, not an inconsistency.
bool verifyIndex(const std::string& path, DbCompareFn compare, Problem* problem);

// "offset N: what", with the segment file named when the problem lies there.
std::string describe(const Problem& problem);

}  // namespace orvia::db
