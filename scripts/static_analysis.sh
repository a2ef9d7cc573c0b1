#!/usr/bin/env bash
# Static analysis of the library and the tool (src/ and tools/; tests are left out):
# clang-tidy with the checks of .clang-tidy, and cppcheck. Any finding fails the run.
# Both read the compile commands of a configured (not built) build of the shipped targets
# in build/static-analysis. Suppressions are inline only (NOLINT, cppcheck-suppress), each
# with its reason. clang-tidy takes the tool's files that include the command-line parser or
# JSON as generated unity units (static_analysis.py says why). Clean verdicts are cached per
# preprocessed unit in ORVIADIC_ANALYSIS_CACHE, by default ~/.cache/orviadic/static-analysis;
# remove it for a cold run.
# usage: static_analysis.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test
build="$root/build/static-analysis"
# Configured for clang, the analysers' own compiler, so that the commands carry no option
# only GCC knows.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DORVIADIC_TESTS=OFF -DORVIADIC_BENCH=OFF -DORVIADIC_TOOL_UNITY=OFF >/dev/null
cache=${ORVIADIC_ANALYSIS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orviadic/static-analysis}
python3 "$root/scripts/static_analysis.py" "$build/compile_commands.json" "$root" "$cache"
