#!/usr/bin/env bash
# Static analysis of the library and the tool (src/ and tools/; tests are left out):
# clang-tidy with the checks of .clang-tidy, then cppcheck. Any finding fails the run.
# Both read the compile commands of the plain build, which is configured when missing.
# Suppressions are inline only (NOLINT, cppcheck-suppress), each with its reason.
# usage: static_analysis.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test
build="$root/build/plain"
[ -f "$build/compile_commands.json" ] ||
  cmake -S "$root" -B "$build" -G Ninja -DORVIADIC_WERROR=ON >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Only the product's translation units, in a compile database of their own for cppcheck.
python3 - "$build/compile_commands.json" "$root" "$work" <<'PY'
import json, sys
commands, root, work = json.load(open(sys.argv[1])), sys.argv[2], sys.argv[3]
ours = [c for c in commands if c["file"].startswith((root + "/src/", root + "/tools/"))]
json.dump(ours, open(work + "/compile_commands.json", "w"))
# Each file once (some are built into two libraries), the tool's first: they include the
# command-line parser and take ten times longer, so they are started while the rest
# fill the gaps.
files = sorted({c["file"] for c in ours}, key=lambda f: (not f.startswith(root + "/tools/"), f))
open(work + "/files", "w").write("".join(f + "\n" for f in files))
PY
started=$SECONDS
xargs -a "$work/files" -n 1 -P "$(nproc)" clang-tidy-14 -p "$build" --quiet 2>/dev/null |
  tee "$work/tidy.txt"
if grep -q "error:\|warning:" "$work/tidy.txt"; then
  echo "static_analysis: clang-tidy has findings" >&2
  exit 1
fi
echo "clang-tidy: $(wc -l <"$work/files") files clean in $((SECONDS - started)) s"
started=$SECONDS
cppcheck --project="$work/compile_commands.json" --enable=warning,performance,portability \
  --std=c++17 --inline-suppr --suppress=missingIncludeSystem --quiet --error-exitcode=1 \
  -j "$(nproc)"
echo "cppcheck: clean in $((SECONDS - started)) s"
