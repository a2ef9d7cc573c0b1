// What orviadic compile reports once a dictionary is compiled: a text for people and a
// JSON object for scripts.
#pragma once

#include <string>

#include "cli.h"
#include "compile/dictionary_compiler.h"

namespace orviadic {

void printCompileSummary(const orvia::compile::CompiledDictionary& result, double seconds,
                         bool listSkipped);
Json compileSummaryJson(const orvia::compile::CompiledDictionary& result, double seconds);

}  // namespace orviadic
