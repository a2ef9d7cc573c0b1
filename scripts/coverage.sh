#!/usr/bin/env bash
# Line and branch coverage of src/, per folder: builds the tests with gcov counters into
# build/coverage, runs them through CTest, and prints one row per folder (gcovr's JSON,
# summed here). Writes the rows to build/coverage/coverage.txt as well.
# usage: coverage.sh [CTEST_ARGS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test gcovr
bash "$root/scripts/build.sh" coverage >/dev/null
out="$root/build/coverage"
find "$out" -name '*.gcda' -delete
ctest --test-dir "$out" -j "$(nproc)" --timeout 900 "$@" >"$out/ctest.log" || {
  tail -n 20 "$out/ctest.log"
  echo "coverage.sh: some tests failed; the coverage below is of a failing run" >&2
}
# The counters are searched for in the coverage build alone: the repository holds other
# builds, and Wine's prefixes link to the whole file system.
gcovr --root "$root" --filter "$root/src/" --object-directory "$out" \
  --gcov-ignore-parse-errors --exclude-unreachable-branches --exclude-throw-branches \
  --json "$out/coverage.json" -j "$(nproc)" "$out" >/dev/null
python3 - "$out/coverage.json" <<'PY' | tee "$out/coverage.txt"
import json, sys
from collections import defaultdict
data = json.load(open(sys.argv[1]))
rows = defaultdict(lambda: [0, 0, 0, 0])  # lines covered, lines, branches taken, branches
for f in data["files"]:
    parts = f["file"].split("/")
    folder = "/".join(parts[:2]) if parts[0] == "src" else parts[0]
    row = rows[folder]
    for line in f["lines"]:
        if line.get("gcovr/noncode"):
            continue
        row[1] += 1
        row[0] += line["count"] > 0
        for branch in line.get("branches", []):
            row[3] += 1
            row[2] += branch["count"] > 0
def pct(a, b):
    return f"{100.0 * a / b:5.1f}%" if b else "    -"
total = [sum(r[i] for r in rows.values()) for i in range(4)]
print(f"{'folder':16} {'lines':>7} {'covered':>8} {'branches':>9} {'taken':>7}")
for folder in sorted(rows) + ["total"]:
    r = total if folder == "total" else rows[folder]
    print(f"{folder:16} {r[1]:7d} {pct(r[0], r[1]):>8} {r[3]:9d} {pct(r[2], r[3]):>7}")
PY
