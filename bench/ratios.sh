#!/usr/bin/env bash
# Runs every benchmark binary of the plain build RUNS times (default 3) and prints the
# median of each ratio it reports, one line per bar, for comparing two versions.
# usage: bench/ratios.sh [RUNS] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
build=${2:-$root/build/plain}
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
for bench in dict/content_bench dict/search_bench db/orviadb_bench content/content_codec_bench lang/double_byte_compare_bench update/extract_bench \
    update/exchange_bench; do
  for ((i = 1; i <= runs; i++)); do
    echo "ratios: $bench run $i of $runs" >&2
    "$build/bench/$bench" 2>/dev/null | grep -E ': [0-9.]+x \(bar ' >>"$log/$(basename "$bench").txt"
  done
done
python3 - "$log"/*.txt <<'PY'
import re, statistics, sys
for path in sys.argv[1:]:
    ratios = {}
    for line in open(path):
        m = re.match(r"(.*): ([0-9.]+)x \(bar (.*)\) \w+$", line.strip())
        if m:
            ratios.setdefault((m.group(1), m.group(3)), []).append(float(m.group(2)))
    for (name, bar), values in ratios.items():
        runs = " ".join(f"{v:.2f}" for v in values)
        print(f"{name}: median {statistics.median(values):.2f}x ({runs}; bar {bar})")
PY
