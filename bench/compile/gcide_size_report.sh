#!/bin/bash
# The compiled GCIDE's size against the same texts under gzip -9 and dictzip, the
# encoding mix, and the compiler's time and peak memory.
# Usage: bench/compile/gcide_size_report.sh [BUILD_DIR]   (default build/plain)
set -euo pipefail
build=${1:-build/plain}
tool=$build/tools/orviadic
dump=$build/bench/compile/compile_text_dump
base=/usr/share/dictd/gcide
for f in "$tool" "$dump" "$base.index" /usr/bin/time; do
  [ -e "$f" ] || { echo "missing $f (build the orviadic and compile_text_dump targets," \
    "install dict-gcide and time)" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/time -v "$tool" --json compile --from dictd "$base" --id 0x00010101 --out "$work/dict" \
  >"$work/summary.json" 2>"$work/time.txt"
"$dump" "$base" 0x00010101 >"$work/texts"
gzip -9 -c "$work/texts" >"$work/texts.gz"
cp "$work/texts" "$work/dz" && dictzip "$work/dz"

size() { stat -c %s "$1"; }
python3 - "$work" "$(size "$work/texts")" "$(size "$work/texts.gz")" "$(size "$work/dz.dz")" \
  "$(size "$base.dict.dz")" <<'PY'
import json, re, sys
work, text, gz, dz, source = sys.argv[1], *map(int, sys.argv[2:])
s = json.load(open(work + "/summary.json"))
t = open(work + "/time.txt").read()
wall = re.search(r"Elapsed \(wall clock\) time.*: (\S+)", t).group(1)
rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", t).group(1))
mib = lambda n: "%.1f MiB" % (n / 1048576)
pct = lambda n: "%5.1f%%" % (100 * n / text)
print("GCIDE entries: %d, records: %d" % (s["entries"], s["records"]))
print("entry texts as compiled:  %10d bytes %s" % (text, mib(text)))
print("data files (.DAT, X*.DAT): %9d bytes %s %s" % (s["dataBytes"], mib(s["dataBytes"]), pct(s["dataBytes"])))
print("gzip -9 of the texts:     %10d bytes %s %s" % (gz, mib(gz), pct(gz)))
print("dictzip of the texts:     %10d bytes %s %s" % (dz, mib(dz), pct(dz)))
print("(dictd's own gcide.dict.dz, texts shared between headwords: %s)" % mib(source))
print("entries reading a text written for another: %d" % s["sharingEntries"])
print("records by encoding:", ", ".join("%s %d" % kv for kv in s["encodings"].items()))
print("compile: %s wall (tool's own count %.2f s), peak memory %.1f MiB" % (wall, s["milliseconds"] / 1000, rss / 1024))
PY
