// What orviadic compile reports once a dictionary is compiled: a text for people and a
// JSON object for scripts.
#pragma once

#include <cstdint>
#include <string>

#include "compile/dictionary_compiler.h"
#include "json_reply.h"

namespace orviadic {

// id and name are the dictionary's, as the compile chose them.
void printCompileSummary(const orvia::compile::CompiledDictionary& result, uint32_t id,
                         const std::string& name, double seconds, bool listSkipped);
Json compileSummaryJson(const orvia::compile::CompiledDictionary& result, uint32_t id,
                        const std::string& name, double seconds);

}  // namespace orviadic
